#include "tools/blank_trim.h"

#include <gtest/gtest.h>

namespace darcalim {
namespace {

TEST(BlankTrim, DropsSpacesTabsAndCarriageReturnsAtTheEndsOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {" \t\r ", ""},
      {"abc", "abc"},
      {"  1.5E+02  ", "1.5E+02"},
      {"\tcases/b c \r", "cases/b c"},
      {"a\r\tb", "a\r\tb"},
      {"\fpage\n", "\fpage\n"},  // form feeds and line feeds are text here
  };
  for (const auto& [text, trimmed] : cases) EXPECT_EQ(without_blanks(text), trimmed) << text;
}

}  // namespace
}  // namespace darcalim
