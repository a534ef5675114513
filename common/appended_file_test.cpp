#include "common/appended_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "common/run_stop.h"
#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

const std::string kHeader = "  CODIGO   ANO  MES  SEM    PREV1    PREV2    PREV3    PREV4    PREV5    PREV6\n";
const std::string kLine1 = "      14  2009    6   26    101.0    102.0    103.0    104.0    105.0    106.0\n";
const std::string kLine2 = "LIM. INFERIOR               51.0     52.0     53.0     54.0     55.0     56.0\n";
const std::string kLine3 = "LIM. SUPERIOR              151.0    152.0    153.0    154.0    155.0    156.0\n";
const std::string kRecords = kHeader + kLine1 + kLine2 + kLine3;

struct Tail {
  const char* name;
  std::string text;                   // the whole file
  std::optional<std::size_t> length;  // without the torn record; nothing: left as it is
};

void PrintTo(const Tail& t, std::ostream* os) { *os << t.name; }

class ForecastFileTail : public ::testing::TestWithParam<Tail> {};

// The file read whole, and again as the last bytes of a longer file (its
// first bytes not seen), give the same length.
TEST_P(ForecastFileTail, CutsOnlyARecordCutShort) {
  const Tail& t = GetParam();
  EXPECT_EQ(length_without_torn_record(t.text, 0, forecast_file_records()), t.length);
  const std::string earlier = kRecords + kLine1 + kLine2 + kLine3;
  if (t.text.starts_with(kRecords)) {
    const std::string tail = earlier.substr(10) + t.text.substr(kHeader.size());
    const std::uintmax_t start = 1000 + 10;
    const auto length = length_without_torn_record(tail, start, forecast_file_records());
    if (t.length && *t.length > kHeader.size()) {
      EXPECT_EQ(length, start + (earlier.size() - 10) + (*t.length - kHeader.size()));
    } else if (!t.length) {
      EXPECT_EQ(length, std::nullopt);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tails, ForecastFileTail,
    ::testing::Values(
        Tail{"WholeRecords", kRecords, std::nullopt},
        Tail{"HeaderOnly", kHeader, std::nullopt},
        Tail{"Empty", "", std::nullopt},
        Tail{"FirstLineCutShort", kRecords + kLine1.substr(0, 12), kRecords.size()},
        Tail{"FirstLineWhole", kRecords + kLine1, kRecords.size()},
        Tail{"LowerLineCutInItsLabel", kRecords + kLine1 + "LIM. INF", kRecords.size()},
        Tail{"TwoLinesWhole", kRecords + kLine1 + kLine2, kRecords.size()},
        Tail{"UpperLineCutShort", kRecords + kLine1 + kLine2 + kLine3.substr(0, 40), kRecords.size()},
        Tail{"OnlyTheLastLineEndMissing", kRecords + kLine1 + kLine2 + kLine3.substr(0, kLine3.size() - 1),
             kRecords.size()},
        Tail{"FirstRecordOfANewFile", kHeader + kLine1.substr(0, 30), kHeader.size()},
        Tail{"HeaderCutShort", kHeader.substr(0, 13), 0},
        Tail{"BlankLineAfterTheRecords", kRecords + "\n", std::nullopt},
        Tail{"NoteAfterTheRecords", kRecords + "checked by hand\n", std::nullopt},
        Tail{"NoteWithoutLineEnd", kRecords + "checked", std::nullopt},
        Tail{"LineThatIsNoRecordsSecond", kRecords + kLine1 + "a note\n", std::nullopt},
        Tail{"OtherTextWithoutLineEnd", "some other file", std::nullopt}),
    [](const ::testing::TestParamInfo<Tail>& row) { return std::string(row.param.name); });

// Model-file lines are records of one line.
TEST(ModelFileTail, CutsALastLineCutShort) {
  const std::string header = model_file_records().header_layout.write({});
  const std::string line = "      14  2009    6   26     TAR(1)        (  1)  \n";
  EXPECT_EQ(length_without_torn_record(header + line, 0, model_file_records()), std::nullopt);
  EXPECT_EQ(length_without_torn_record(header + line + line.substr(0, 20), 0, model_file_records()),
            header.size() + line.size());
  EXPECT_EQ(length_without_torn_record(header.substr(0, 20), 0, model_file_records()), 0u);
  EXPECT_EQ(length_without_torn_record(header + line + "notes", 0, model_file_records()), std::nullopt);
}

TEST(CutBackTornRecord, CutsTheFileAndTellsHowMuch) {
  ScratchFolder folder;
  const auto path = folder.path() / "PREVS.DAT";
  EXPECT_EQ(cut_back_torn_record(path, forecast_file_records()), 0u);
  EXPECT_FALSE(std::filesystem::exists(path)) << "nothing is created";
  std::ofstream(path, std::ios::binary) << kRecords << kLine1 << "LIM";
  EXPECT_EQ(cut_back_torn_record(path, forecast_file_records()), kLine1.size() + 3);
  EXPECT_EQ(file_text(path), kRecords);
  EXPECT_EQ(cut_back_torn_record(path, forecast_file_records()), 0u);
}

}  // namespace
}  // namespace darcalim
