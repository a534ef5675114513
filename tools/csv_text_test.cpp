#include "tools/csv_text.h"

#include <gtest/gtest.h>

#include <sstream>

namespace darcalim {
namespace {

TEST(CsvText, SplitsQuotedFieldsAndDropsTheCarriageReturn) {
  EXPECT_EQ(csv_fields("a,\"b,c\",\"say \"\"hi\"\"\",,e\r"),
            (std::vector<std::string>{"a", "b,c", "say \"hi\"", "", "e"}));
  EXPECT_EQ(csv_fields(""), (std::vector<std::string>{""}));
  EXPECT_EQ(csv_fields("\"open, to the end"), (std::vector<std::string>{"open, to the end"}));
}

TEST(CsvText, WrittenFieldsReadBackAsTheyWere) {
  const std::vector<std::string> fields{"14", "A, B & \"C\"", "", "line\nend", "PAR(1)-G4"};
  std::ostringstream out;
  write_csv_row(out, fields);
  EXPECT_EQ(out.str(), "14,\"A, B & \"\"C\"\"\",,\"line\nend\",PAR(1)-G4\n");
  const std::string line = out.str();
  EXPECT_EQ(csv_fields(line.substr(0, line.size() - 1)), fields);
}

}  // namespace
}  // namespace darcalim
