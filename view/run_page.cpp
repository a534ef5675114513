#include "view/run_page.h"

#include <array>

#include "view/forecast_picture.h"
#include "view/markup.h"

namespace darcalim::view {

namespace {

constexpr std::array<const char*, 6> kTransformations = {"none",
                                                         "logarithm and plain",
                                                         "Box-Cox and plain",
                                                         "logarithm",
                                                         "Box-Cox",
                                                         "combined (Box-Cox and plain, then logarithm)"};
constexpr std::array<const char*, 3> kVariabilityOptions = {"none", "also clamping the simulated forecasts",
                                                            "the final forecast only"};

const char* const kStyle = R"(
body{font-family:"DejaVu Sans",Arial,Helvetica,sans-serif;color:#222;margin:0;background:#f6f7f9}
main{max-width:1120px;margin:0 auto;padding:16px 24px 40px}
h1{font-size:1.5em;margin:.6em 0 .2em}
h2{font-size:1.15em;margin:1.6em 0 .5em;border-bottom:1px solid #ccd;padding-bottom:.2em}
h3{font-size:1em;margin:.2em 0 .4em}
p.lead-in{margin:.2em 0 1em;color:#444}
figure{margin:0;background:#fff;border:1px solid #dde}
figure svg{display:block;width:100%;height:auto}
table{border-collapse:collapse;background:#fff}
th,td{border:1px solid #d5d8dc;padding:4px 10px;text-align:left}
th{background:#eef1f5}
td.number{text-align:right;font-variant-numeric:tabular-nums}
table.sortable th{cursor:pointer}
th[aria-sort=ascending]::after{content:" \25B2"}
th[aria-sort=descending]::after{content:" \25BC"}
tr.kept td{background:#fdebd0;font-weight:bold}
.rankings{display:grid;grid-template-columns:repeat(auto-fill,minmax(330px,1fr));gap:16px}
.rankings table{width:100%}
.rankings .note{font-size:.9em;color:#555;margin:.3em 0 0}
ul.files{columns:3;padding-left:1.2em}
footer{font-size:.85em;color:#666;margin-top:2em}
)";

const char* const kScript = R"(
(function () {
  function key(row, i) {
    var t = row.cells[i].textContent.trim();
    var n = Number(t);
    return t !== '' && !isNaN(n) ? n : t;
  }
  document.querySelectorAll('table.sortable').forEach(function (table) {
    var heads = table.querySelectorAll('thead th');
    heads.forEach(function (th, i) {
      th.title = 'Sort by this column';
      th.addEventListener('click', function () {
        var body = table.tBodies[0];
        var rows = Array.prototype.slice.call(body.rows);
        var up = th.getAttribute('aria-sort') !== 'ascending';
        rows.sort(function (a, b) {
          var x = key(a, i), y = key(b, i);
          var c = typeof x === 'number' && typeof y === 'number' ? x - y : String(x).localeCompare(String(y));
          return up ? c : -c;
        });
        heads.forEach(function (h) { h.removeAttribute('aria-sort'); });
        th.setAttribute('aria-sort', up ? 'ascending' : 'descending');
        rows.forEach(function (r) { body.appendChild(r); });
      });
    });
  });
  document.documentElement.setAttribute('data-script', 'ok');
})();
)";

std::string week_text(int year, int week) {
  return std::to_string(year) + "/" + (week < 10 ? "0" : "") + std::to_string(week);
}

std::string cell(const std::string& content, const std::string& attributes = "") {
  return "<td" + (attributes.empty() ? "" : " " + attributes) + ">" + content + "</td>";
}

std::string number_cell(const WrittenNumber& n, const std::string& id) {
  return cell(markup_text(n.text), "class=\"number\" id=\"" + id + "\"");
}

std::string leads_table(const RunFolder& run) {
  std::string out =
      "<table class=\"sortable\" id=\"leads\">\n<thead><tr><th>Lead (weeks)</th><th>Target year/week</th>"
      "<th>Forecast (m\u00b3/s)</th><th>Lower limit</th><th>Upper limit</th><th>Model "
      "kept</th></tr></thead>\n<tbody>\n";
  for (const auto& l : run.leads) {
    const std::string k = std::to_string(l.lead);
    out += "<tr data-lead=\"" + k + "\">" + cell(k, "class=\"number\"") +
           cell(week_text(l.target_year, l.target_week), "id=\"target-" + k + "\"") +
           number_cell(l.forecast, "forecast-" + k) + number_cell(l.lower, "lower-" + k) +
           number_cell(l.upper, "upper-" + k) + cell(markup_text(l.model), "id=\"model-" + k + "\"") + "</tr>\n";
  }
  return out + "</tbody>\n</table>\n";
}

std::string ranking_table(const LeadView& l) {
  const std::string k = std::to_string(l.lead);
  std::string out = "<section>\n<h3>Week " + week_text(l.target_year, l.target_week) + " (lead " + k + ")</h3>\n";
  out += "<table class=\"sortable\" data-week=\"" + std::to_string(l.target_week) + "\" data-lead=\"" + k +
         "\">\n<thead><tr><th>Rank</th><th>Model</th><th>REMQ</th></tr></thead>\n<tbody>\n";
  bool kept_listed = false;
  for (std::size_t r = 0; r < l.ranking.models.size() && r < kRankedModels; ++r) {
    const auto& m = l.ranking.models[r];
    const bool kept = m.name == l.model;
    kept_listed = kept_listed || kept;
    const std::string rank = std::to_string(r + 1);
    out += "<tr data-rank=\"" + rank + "\"" + (kept ? " class=\"kept\"" : "") + ">" + cell(rank, "class=\"number\"") +
           cell(markup_text(m.name)) + cell(markup_text(m.error_text), "class=\"number\"") + "</tr>\n";
  }
  out += "</tbody>\n</table>\n";
  out += "<p class=\"note\">Kept: " + markup_text(l.model) +
         (kept_listed ? " (highlighted)" : " (not among the first " + std::to_string(kRankedModels) + ")") +
         ". Best before analysis: " + markup_text(l.ranking.best) +
         "; after: " + markup_text(l.ranking.best_after_analysis) + ".</p>\n";
  return out + "</section>\n";
}

std::string setting_row(const std::string& key, const std::string& label, const std::string& value) {
  return "<tr data-setting=\"" + key + "\"><th scope=\"row\">" + label + "</th>" + cell(value) + "</tr>\n";
}

std::string settings_table(const RunFolder& run) {
  const CaseSettings& c = run.settings;
  const auto option_text = [](int option, const auto& labels) {
    const auto i = static_cast<std::size_t>(option);
    return std::to_string(option) + (i < labels.size() ? std::string(": ") + labels[i] : std::string());
  };
  std::string out = "<table id=\"settings\">\n<tbody>\n";
  out += setting_row("station", "Station", markup_text(std::to_string(run.station_code) + " " + run.station_name));
  out += setting_row("issue", "First forecast week",
                     "week " + std::to_string(run.record.week) + " of " + std::to_string(run.record.year) + " (month " +
                         std::to_string(run.record.month) + ")");
  out += setting_row("case-file", "Case data file", markup_text(c.case_file_name));
  out += setting_row("history", "History",
                     markup_text(c.history_name) + ", years " + std::to_string(run.first_year) + " to " +
                         std::to_string(run.last_year) + ", FAC " + fixed(run.FAC, 1));
  out +=
      setting_row("transformation", "Transformation option", option_text(run.transformation_option, kTransformations));
  out += setting_row("start-month", "First month of the hydrological year", std::to_string(c.start_month));
  out += setting_row("confidence", "Confidence level", std::to_string(c.confidence_level) + " %");
  out += setting_row("trend", "Recent flows",
                     c.trend_source == 0
                         ? "0: from " + markup_text(c.vazpasts_name) + " (station " + std::to_string(c.station_number) +
                               "), last estimation year " + std::to_string(c.ANOFEST)
                         : std::to_string(c.trend_source) + ": from the history");
  out += setting_row("variability", "Variability option",
                     option_text(c.variability_option, kVariabilityOptions) +
                         (c.variability_option != 0 ? ", percentiles " + markup_text(c.percentile_name) + ", models " +
                                                          markup_text(run.model_file_name)
                                                    : ""));
  out += setting_row("weeks", "Weeks a year", std::to_string(c.NSEM));
  out += setting_row("forecast-file", "Appended forecast file",
                     markup_text(c.forecast_file_name) + " (this run's record from line " +
                         std::to_string(run.record.first_line) + ")");
  out += setting_row("ranking-file", "Error-ranking report", markup_text(c.ranking_report_name));
  out += setting_row("report", "Run report", markup_text(c.report_name));
  return out + "</tbody>\n</table>\n";
}

std::string file_list(const RunFolder& run, const std::filesystem::path& page_folder) {
  std::string out = "<ul class=\"files\">\n";
  for (const auto& name : run.files) {
    out += "<li><a data-file=\"" + markup_text(name) + "\" href=\"" +
           markup_text(relative_url(run.folder / name, page_folder)) + "\">" + markup_text(name) + "</a></li>\n";
  }
  return out + "</ul>\n";
}

bool unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string relative_url(const std::filesystem::path& file, const std::filesystem::path& from) {
  namespace fs = std::filesystem;
  const fs::path target = fs::weakly_canonical(fs::absolute(file));
  const fs::path base = fs::weakly_canonical(fs::absolute(from.empty() ? fs::path(".") : from));
  fs::path relative = target.lexically_relative(base);
  if (relative.empty()) relative = target;
  static const char* const kHex = "0123456789ABCDEF";
  std::string url;
  for (const char ch : relative.generic_string()) {
    const auto c = static_cast<unsigned char>(ch);
    if (unreserved(c)) {
      url += ch;
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 0xF];
    }
  }
  return url;
}

std::string run_page_html(const RunFolder& run, const std::filesystem::path& page_path) {
  const std::string station = markup_text(std::to_string(run.station_code) + " " + run.station_name);
  std::string out =
      std::string(kPageStart) + "<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>Forecast " +
      station + ", week " + std::to_string(run.record.week) + " of " + std::to_string(run.record.year) +
      "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n<main>\n";
  out += "<h1 id=\"station\">" + station + "</h1>\n<p class=\"lead-in\">Weekly flow forecast from week " +
         std::to_string(run.record.week) + " of " + std::to_string(run.record.year) + " for six weeks, with " +
         std::to_string(run.settings.confidence_level) + " % confidence limits. Run folder: <code>" +
         markup_text(std::filesystem::absolute(run.folder).lexically_normal().string()) + "</code></p>\n";
  out += "<figure id=\"forecast-picture\">\n" + forecast_svg(run) + "</figure>\n";
  out += "<h2>Forecast</h2>\n" + leads_table(run);
  out += "<h2>Ranking of the models by week (first " + std::to_string(kRankedModels) +
         ", root mean square error REMQ)</h2>\n<div class=\"rankings\">\n";
  for (const auto& l : run.leads) out += ranking_table(l);
  out += "</div>\n<h2>Settings of the run</h2>\n" + settings_table(run);
  out += "<h2>Files of the run folder</h2>\n" + file_list(run, page_path.parent_path());
  out +=
      "<footer>Made by darcalim-view from the files of the run folder; the numbers are those the files "
      "hold.</footer>\n</main>\n<script>" +
      std::string(kScript) + "</script>\n</body>\n</html>\n";
  return out;
}

}  // namespace darcalim::view
