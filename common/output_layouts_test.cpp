#include "common/output_layouts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/input_file.h"

namespace darcalim {
namespace {

LeadResults leads_with(double forecast_1, double upper_6) {
  LeadResults lead;
  for (int k = 1; k <= kLeads; ++k) {
    lead.PREV(k) = 10.0 * k + 0.25;
    lead.LINF0(k) = k;
    lead.LSUP(k) = 100.0 * k;
    lead.ESCOLHA(k) = k % 2 == 0 ? "PAR(1)-G2-MQO   ARMA" : "SAZONAL";
    lead.CODESC(k) = k;
  }
  lead.PREV(1) = forecast_1;
  lead.LSUP(6) = upper_6;
  return lead;
}

TEST(ForecastRecordLayout, ReadsBackWhatItWrote) {
  // 1e7 is too wide for F9.1: asterisks, kept as text without a value.
  const std::string text =
      forecast_record_layout().write(forecast_record_values(14, 2010, 6, 26, leads_with(1e7, 84.05)));
  EXPECT_EQ(text.substr(0, 33), "      14  2010    6   26*********");
  TextLines lines(text);
  ForecastRecordFields r;
  ASSERT_TRUE(read_forecast_record(lines, r).ok());
  EXPECT_EQ(trimmed(r.station_code), "14");
  EXPECT_EQ(trimmed(r.week), "26");
  EXPECT_EQ(r.forecast[0].text, "*********");
  EXPECT_EQ(r.forecast[0].value, std::nullopt);
  EXPECT_TRUE(r.forecast[0].readable());
  EXPECT_EQ(r.forecast[1].text, "20.2");  // 20.25 rounds to even
  EXPECT_EQ(r.forecast[1].value, 20.2);
  EXPECT_EQ(r.lower[2].value, 3.0);
  EXPECT_EQ(r.upper[5].text, "84.0");  // 84.05 lies just below the half
}

TEST(ForecastRecordLayout, LimitLinesOutOfOrderStopTheReading) {
  const std::string text = forecast_record_layout().write(forecast_record_values(14, 2010, 6, 26, leads_with(1, 2)));
  const auto second = text.find('\n') + 1;
  const auto third = text.find('\n', second) + 1;
  TextLines lines(text.substr(0, second) + text.substr(third) + text.substr(second, third - second));
  ForecastRecordFields r;
  const ReadOutcome outcome = read_forecast_record(lines, r);
  EXPECT_EQ(outcome.status, ReadOutcome::Status::kBadField);
  EXPECT_EQ(outcome.line_number, 2);
}

TEST(ModelLineLayout, NamesTheFirst14CharactersOfEachLeadsModel) {
  TextLines lines(model_line_layout().write(model_line_values(14, 2010, 6, 26, leads_with(1, 2))));
  std::array<std::string, kLeads> models;
  ASSERT_TRUE(read_model_line(lines, models).ok());
  EXPECT_EQ(models[0], "SAZONAL");
  EXPECT_EQ(models[1], "PAR(1)-G2-MQO");
}

TEST(RankingLayouts, TellTheLinesOfAWeekSectionApart) {
  FieldValues week{std::int64_t{7}};
  for (int m = 1; m <= 50; ++m) week.emplace_back(m == 3 ? 1234.5 : m / 8.0);
  std::vector<std::string> written;
  TextLines section(ranking_layouts::week().write(week) +
                    ranking_layouts::names(93).write({std::string("AR(1)"), std::string("PARMA(1;1)-G4")}));
  while (const auto line = section.next_line()) written.push_back(*line);
  ASSERT_EQ(written.size(), 5U);  // a blank line, SEMANA, 47 errors, 3 errors, names
  EXPECT_EQ(line_fields(ranking_layouts::week_title_line(), written[1]), std::vector<std::string>{"7"});
  const auto first = line_fields(ranking_layouts::first_errors_line(), written[2]);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->size(), 47U);
  EXPECT_EQ((*first)[2], "*******");
  EXPECT_EQ(line_fields(ranking_layouts::errors_line(), written[3]),
            (std::vector<std::string>{"6.000", "6.125", "6.250"}));
  EXPECT_EQ(line_fields(ranking_layouts::errors_line(), written[4]), std::nullopt);
  EXPECT_EQ(line_fields(ranking_layouts::names(kMaxModels), written[4]),
            (std::vector<std::string>{"AR(1)", "PARMA(1;1)-G4"}));
  EXPECT_EQ(line_fields(ranking_layouts::week_title_line(), written[2]), std::nullopt);
  EXPECT_EQ(line_fields(ranking_layouts::best(), " MELHOR MODELO APOS ANALISE, AR(1)"), std::nullopt);
  EXPECT_EQ(line_fields(ranking_layouts::chosen(), " MELHOR MODELO APOS ANALISE, AR(1)"),
            std::vector<std::string>{"AR(1)"});
}

}  // namespace
}  // namespace darcalim
