#include "common/layout.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "common/input_file.h"

namespace darcalim {
namespace {

using V = FieldValues;
using I = std::int64_t;

struct WriteCase {
  const char* layout;
  V values;
  const char* expected;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.layout; }

class LayoutWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(LayoutWrite, WritesTheRecord) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(Layout(c.layout).write(c.values), c.expected) << c.layout;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LayoutWrite,
    ::testing::Values(
        // nX blanks only when something follows on the line.
        WriteCase{"(I3,5X)", {I{7}}, "  7\n"},
        WriteCase{"(2X,'AR(',I1,')',A,4(2X,F8.3))", {I{2}, std::string(" "), 0.5, 0.0},
                  "  AR(2)      0.500     0.000\n"},
        // A slash ends the line: a leading slash gives an empty first line,
        // a trailing one an empty last line.
        WriteCase{"(/,2X,A23)", {std::string("SERIE SEM TRANSFORMACAO")}, "\n  SERIE SEM TRANSFORMACAO\n"},
        WriteCase{"(2X,'NUMERO DE SEMANAS ANUAIS DO HISTORICO : ',I2,/)", {I{52}},
                  "  NUMERO DE SEMANAS ANUAIS DO HISTORICO : 52\n\n"},
        WriteCase{"/ 7X 'MES ' I2 /", {I{3}}, "\n       MES  3\n\n"},
        WriteCase{"(/,/,'***** OCORRENCIA DE VAZOES NEGATIVAS *****')", {},
                  "\n\n***** OCORRENCIA DE VAZOES NEGATIVAS *****\n"},
        // Values run out: the line ends after the literal text before the
        // first field without a value; values left over revert to the last
        // outermost group.
        WriteCase{"(' GERAL ',/,3(F7.3,','))", {1.0, 2.0, 3.0, 4.0, 5.0},
                  " GERAL \n  1.000,  2.000,  3.000,\n  4.000,  5.000,\n"},
        WriteCase{"(I3,/,I3)", {I{1}}, "  1\n\n"},
        WriteCase{"(I3)", {I{1}, I{2}}, "  1\n  2\n"},
        WriteCase{"(2X,'SEMANA',2(I3,'!'),'FIM')", {I{1}, I{2}, I{3}}, "  SEMANA  1!  2!FIM\n  3!\n"},
        // Aw cuts a longer text and right-aligns a shorter one; A writes it whole.
        WriteCase{"(2X,A8,6X,2(2X,A14))",
                  {std::string("SEMANA"), std::string("AR(1)         "), std::string("TPARMA(1;1)-RO")},
                  "    SEMANA        AR(1)           TPARMA(1;1)-RO\n"},
        WriteCase{"(A4,A)", {std::string("ABCDEFG"), std::string("\f")}, "ABCD\f\n"},
        WriteCase{"(1X,15A4)", {std::string("ABCD"), std::string("EF  ")}, " ABCDEF  \n"},
        WriteCase{"(I8,1X,A70)", {I{1}, std::string(80, ' ')},
                  "       1                                                                       \n"},
        WriteCase{"('IT''S',I2)", {I{5}}, "IT'S 5\n"},
        WriteCase{"(I3.2,I2,I4,I3.0)", {I{5}, I{123}, I{-5}, I{0}}, " 05**  -5   \n"},
        // Single bytes pass through literals untouched.
        WriteCase{"(8X,'\xE6',7X,'\xE5')", {}, "        \xE6       \xE5\n"}));

struct RealCase {
  double value;
  int width;
  int decimals;
  const char* expected;
};

void PrintTo(const RealCase& c, std::ostream* os) {
  *os << c.value << " F" << c.width << "." << c.decimals;
}

class RealField : public ::testing::TestWithParam<RealCase> {};

TEST_P(RealField, RoundsTheExactBinaryValue) {
  const RealCase& c = GetParam();
  EXPECT_EQ(format_real(c.value, c.width, c.decimals), c.expected)
      << c.value << " F" << c.width << "." << c.decimals;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RealField,
    ::testing::Values(RealCase{0.125, 5, 2, " 0.12"},       // tie to even
                      RealCase{0.375, 5, 2, " 0.38"},       // tie to even
                      RealCase{1234.25, 6, 1, "1234.2"},    // tie to even
                      RealCase{0.15, 4, 1, " 0.1"},         // 0.15 is below the tie in binary
                      RealCase{2.675, 5, 2, " 2.67"},       // likewise
                      RealCase{-0.04, 4, 1, "-0.0"},        // sign kept when rounding to zero
                      RealCase{-0.0, 4, 1, "-0.0"},
                      RealCase{0.25, 3, 2, ".25"},          // no room for the leading 0
                      RealCase{-0.25, 4, 2, "-.25"},
                      RealCase{0.25, 4, 2, "0.25"},
                      RealCase{67.0, 7, 0, "    67."},      // F w.0 keeps the point
                      RealCase{1000000.0, 6, 1, "******"},  // does not fit
                      RealCase{99999.96, 7, 1, "*******"},  // rounding carries past the width
                      RealCase{99999.96, 8, 1, "100000.0"},
                      RealCase{-99.96, 5, 1, "*****"},
                      RealCase{1.9603949, 9, 5, "  1.96039"},
                      RealCase{std::numeric_limits<double>::quiet_NaN(), 9, 5, "      NaN"},
                      RealCase{std::numeric_limits<double>::infinity(), 10, 3, "  Infinity"},
                      RealCase{-std::numeric_limits<double>::infinity(), 5, 1, " -Inf"},
                      RealCase{std::numeric_limits<double>::infinity(), 2, 1, "**"}));

TEST(RealFieldLocale, DoesNotDependOnTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  bool comma_locale = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "pt_BR.UTF-8", "de_DE", "fr_FR"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr && *std::localeconv()->decimal_point == ',') {
      comma_locale = true;
      break;
    }
  }
  if (!comma_locale) {
    std::setlocale(LC_NUMERIC, saved.c_str());
    GTEST_SKIP() << "no locale with a decimal comma is installed (Debian: locales, e.g. de_DE.UTF-8)";
  }
  const std::string written = format_real(1.5, 5, 2);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(written, " 1.50");
}

TEST(FreeForm, StartsWithABlankAndSeparatesByOne) {
  EXPECT_EQ(free_form({std::string("  ")}), "   \n");
  EXPECT_EQ(free_form({std::string("A"), I{12}}), " A 12\n");
  EXPECT_EQ(free_form({}), "\n");
}

TEST(LayoutNotation, MalformedLayoutsAreRejected) {
  // The last: values left over would go on from a group without a field, forever.
  for (const char* bad : {"(I3", "(I3))", "('open", "(F7)", "(Q3)", "(I0)", "(I2,2('-'))"}) {
    EXPECT_THROW(Layout{bad}, std::invalid_argument) << bad;
  }
}

TEST(LayoutWriteKinds, AValueOfTheWrongKindIsAProgramFault) {
  EXPECT_THROW(Layout("(I3)").write({1.5}), std::logic_error);
  EXPECT_THROW(Layout("('X')").write({I{1}}), std::logic_error);
}

// ------------------------------------------------------------------ reading

TEST(LayoutRead, HistoryRowsSpanLinesByReversion) {
  std::string text;
  for (int line = 0; line < 6; ++line) {
    int n = line < 5 ? 9 : 8;
    for (int k = 0; k < n; ++k) text += "    " + std::to_string(100 + line * 9 + k) + ".";
    text += "\n";
  }
  text += "      1.\n";
  TextLines lines(text);
  FieldValues row;
  ReadOutcome outcome = Layout("9(1X,F7.0)").read(lines, 53, row);
  ASSERT_TRUE(outcome.ok());
  ASSERT_EQ(row.size(), 53u);
  EXPECT_EQ(std::get<double>(row[0]), 100.0);
  EXPECT_EQ(std::get<double>(row[52]), 152.0);
  EXPECT_EQ(outcome.line_number, 6);
  // The next read starts on a new line.
  FieldValues next;
  outcome = Layout("9(1X,F7.0)").read(lines, 53, next);
  // A short line reads as padded with blanks: its missing fields are zero.
  EXPECT_EQ(outcome.status, ReadOutcome::Status::kEndOfFile);
  EXPECT_EQ(outcome.values_read, 9);
  EXPECT_EQ(std::get<double>(next[0]), 1.0);
  EXPECT_EQ(std::get<double>(next[1]), 0.0);
}

struct ReadCase {
  const char* layout;
  const char* line;
  V expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.layout << " '" << c.line << "'"; }

class LayoutReadField : public ::testing::TestWithParam<ReadCase> {};

TEST_P(LayoutReadField, ReadsByColumns) {
  const ReadCase& c = GetParam();
  TextLines lines(c.line);
  FieldValues got;
  ReadOutcome outcome = Layout(c.layout).read_record(lines, got);
  ASSERT_TRUE(outcome.ok()) << c.layout << " on '" << c.line << "'";
  EXPECT_EQ(got, c.expected) << c.layout << " on '" << c.line << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LayoutReadField,
    ::testing::Values(
        ReadCase{"(A12)", "CASO1.REL", {std::string("CASO1.REL   ")}},  // short line padded
        ReadCase{"(I3)", "   ", {I{0}}},                                    // blank field is zero
        ReadCase{"(I3)", " 95", {I{95}}},
        ReadCase{"(I6)", " 1 2 3", {I{123}}},                          // blanks ignored
        ReadCase{"(I1)", "2 ignored", {I{2}}},
        ReadCase{"(F5.2)", "  123", {1.23}},                            // implied decimals
        ReadCase{"(F7.0)", "  1234.", {1234.0}},
        ReadCase{"(F7.0)", "   1234", {1234.0}},
        ReadCase{"(F9.0)", "    604.8", {604.8}},
        ReadCase{"(F8.0)", " -1.5E02", {-150.0}},
        ReadCase{"(2I5,F9.0)", " 1951 2010    604.8", {I{1951}, I{2010}, 604.8}},
        ReadCase{"(1X,I8,2A4)", "       14MAIN AT", {I{14}, std::string("MAIN"), std::string(" AT ")}},
        ReadCase{"(I5,13X,4(F10.2))", "   13 COCHEM           88.60    107.94    102.16     78.44",
                 {I{13}, 88.6, 107.94, 102.16, 78.44}},
        ReadCase{"(I2,'\t',F4.1,'\t',F4.1)", " 1\t10.0\t90.0", {I{1}, 10.0, 90.0}}));

TEST(LayoutRead, AnUnreadableFieldIsReportedWithItsLine) {
  TextLines lines("  1.  2.\n  x.\n");
  FieldValues got;
  ReadOutcome outcome = Layout("(2F4.0)").read(lines, 4, got);
  EXPECT_EQ(outcome.status, ReadOutcome::Status::kBadField);
  EXPECT_EQ(outcome.values_read, 2);
  EXPECT_EQ(outcome.line_number, 2);
  EXPECT_EQ(outcome.field_text, "  x.");
}

TEST(LayoutRead, CrLfLinesReadAsLf) {
  TextLines lines("CASO1.DAT\r\n 95\r\n");
  FieldValues got;
  ASSERT_TRUE(Layout("(A12)").read_record(lines, got).ok());
  ASSERT_TRUE(Layout("(I3)").read_record(lines, got).ok());
  EXPECT_EQ(got, (V{std::string("CASO1.DAT   "), I{95}}));
}

TEST(LayoutRead, EndOfFileBeforeAnyValue) {
  TextLines lines("");
  FieldValues got;
  EXPECT_EQ(Layout("(I3)").read_record(lines, got).status, ReadOutcome::Status::kEndOfFile);
}

TEST(LayoutReadFields, KeepsTheColumnsAndChecksTheLiterals) {
  struct Case {
    const char* what;
    const char* text;
    ReadOutcome::Status status;
    std::vector<std::string> fields;
    int line;  // where the reading stopped
  };
  const Layout layout("I3 'AB' F5.1 / 'CD' 2(A2 ',')");
  const Case cases[] = {
      {"as written, asterisks and all", " 12AB*****\nCDxy,zw,\n", ReadOutcome::Status::kOk,
       {" 12", "*****", "xy", "zw"}, 2},
      {"a short line reads as padded with blanks", " 12AB  1.5\nCDxy,\n", ReadOutcome::Status::kOk,
       {" 12", "  1.5", "xy", "  "}, 2},
      {"a literal out of place", " 12AB  1.5\nDCxy,zw,\n", ReadOutcome::Status::kBadField, {" 12", "  1.5"}, 2},
      {"a literal cut short", " 12A\n", ReadOutcome::Status::kBadField, {" 12"}, 1},
      {"the lines end within the record", " 12AB  1.5\n", ReadOutcome::Status::kEndOfFile, {" 12", "  1.5"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextLines lines(c.text);
    std::vector<std::string> got;
    const ReadOutcome outcome = layout.read_fields(lines, got);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(got, c.fields);
    EXPECT_EQ(outcome.line_number, c.line);
  }
}

}  // namespace
}  // namespace darcalim
