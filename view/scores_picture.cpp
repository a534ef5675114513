#include "view/scores_picture.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>

#include "view/axis_scale.h"
#include "view/markup.h"

namespace darcalim::view {

namespace {

constexpr std::array<const char*, 15> kMetricOrder = {"ME",       "PBIAS", "MAE",   "RMSE",  "NSE",
                                                      "KGEprime", "r",     "beta",  "gamma", "SS",
                                                      "coverage", "below", "above", "width", "interval_score"};
constexpr const char* kCoverage = "coverage";
// Panels three to a row, each with room for its title, legend and axes.
constexpr int kColumns = 3;
constexpr double kPanelWidth = 320.0;
constexpr double kPanelHeight = 230.0;
constexpr double kTitleHeight = 50.0;
constexpr double kPlotLeft = 58.0;
constexpr double kPlotRight = 16.0;
constexpr double kPlotTop = 52.0;
constexpr double kPlotBottom = 40.0;
constexpr int kValueIntervals = 4;
constexpr std::array<const char*, 6> kColours = {"#1f4e79", "#c0392b", "#1e8449", "#7d3c98", "#b9770e", "#566573"};

struct Series {
  std::string label;
  std::array<std::optional<double>, kScoreLeads> values;
};

struct Panel {
  std::string metric;
  std::vector<Series> series;
  std::optional<double> nominal;  // the coverage panel's nominal level
};

std::vector<std::string> metrics_in_order(const ScoresFile& s) {
  std::vector<std::string> found;
  for (const auto& r : s.rows) {
    if (r.lead && std::find(found.begin(), found.end(), r.metric) == found.end()) found.push_back(r.metric);
  }
  std::vector<std::string> ordered;
  for (const char* m : kMetricOrder) {
    if (std::find(found.begin(), found.end(), m) != found.end()) ordered.emplace_back(m);
  }
  for (const auto& m : found) {
    if (std::find(ordered.begin(), ordered.end(), m) == ordered.end()) ordered.push_back(m);
  }
  return ordered;
}

Panel panel_of(const ScoresFile& s, const std::string& metric, bool several_locations) {
  Panel p;
  p.metric = metric;
  std::map<std::string, std::size_t> index;
  double largest = 0.0;
  std::optional<double> level;
  for (const auto& r : s.rows) {
    if (r.metric != metric || !r.lead) continue;
    std::string label = r.reference == "none" ? "" : r.reference;
    if (several_locations) label = r.location_id + (label.empty() ? "" : " " + label);
    const auto [it, added] = index.emplace(label, p.series.size());
    if (added) p.series.push_back(Series{label, {}});
    p.series[it->second].values[static_cast<std::size_t>(*r.lead - 1)] = r.value;
    if (r.value) largest = std::max(largest, *r.value);
    if (r.level) level = r.level;
  }
  if (metric == kCoverage && level) p.nominal = largest <= 1.0 ? *level / 100.0 : *level;
  return p;
}

std::string line(double x1, double y1, double x2, double y2, const std::string& style) {
  return "<line x1=\"" + fixed(x1, 1) + "\" y1=\"" + fixed(y1, 1) + "\" x2=\"" + fixed(x2, 1) + "\" y2=\"" +
         fixed(y2, 1) + "\" " + style + "/>\n";
}

std::string text(double x, double y, const std::string& anchor, const std::string& content,
                 const std::string& extra = "") {
  return "<text x=\"" + fixed(x, 1) + "\" y=\"" + fixed(y, 1) + "\" text-anchor=\"" + anchor + "\"" + extra + ">" +
         content + "</text>\n";
}

AxisScale value_scale(const Panel& p) {
  std::optional<double> low;
  std::optional<double> high;
  const auto take = [&](double v) {
    low = std::min(low.value_or(v), v);
    high = std::max(high.value_or(v), v);
  };
  for (const auto& s : p.series) {
    for (const auto& v : s.values) {
      if (v) take(*v);
    }
  }
  if (p.nominal) take(*p.nominal);
  return axis_scale(low.value_or(0.0), high.value_or(1.0), kValueIntervals);
}

std::string series_lines(const Series& s, const std::string& colour, double x0, double x1, const AxisScale& y,
                         double y0, double y1) {
  std::string out;
  std::string points;
  int count = 0;
  const auto flush = [&] {
    if (count >= 2) {
      out += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"2\"/>\n";
    }
    points.clear();
    count = 0;
  };
  for (int k = 0; k < kScoreLeads; ++k) {
    const auto& v = s.values[static_cast<std::size_t>(k)];
    if (!v) {
      flush();
      continue;
    }
    const double x = x0 + k * (x1 - x0) / (kScoreLeads - 1);
    const double yy = y.place(*v, y0, y1);
    if (count++ > 0) points += ' ';
    points += fixed(x, 1) + "," + fixed(yy, 1);
    out += "<circle cx=\"" + fixed(x, 1) + "\" cy=\"" + fixed(yy, 1) + "\" r=\"2.8\" fill=\"" + colour + "\"/>\n";
  }
  flush();
  return out;
}

std::string panel_svg(const Panel& p, double left, double top) {
  const double x0 = left + kPlotLeft;
  const double x1 = left + kPanelWidth - kPlotRight;
  const double y0 = top + kPanelHeight - kPlotBottom;  // bottom of the plot
  const double y1 = top + kPlotTop;
  const AxisScale y = value_scale(p);
  std::string out = "<g class=\"panel\" data-metric=\"" + markup_text(p.metric) + "\">\n";
  out += text(left + 8, top + 18, "start", markup_text(p.metric), " font-size=\"14\" font-weight=\"bold\"");
  double legend_x = left + 8;
  for (std::size_t i = 0; i < p.series.size() && p.series.size() > 1; ++i) {
    const std::string colour = kColours[i % kColours.size()];
    out += line(legend_x, top + 33, legend_x + 16, top + 33, "stroke=\"" + colour + "\" stroke-width=\"2\"");
    out += text(legend_x + 20, top + 37, "start", markup_text(p.series[i].label), " font-size=\"11\"");
    legend_x += 30 + 7.0 * static_cast<double>(p.series[i].label.size());
  }
  for (const double t : y.ticks()) {
    const double yy = y.place(t, y0, y1);
    out += line(x0, yy, x1, yy, t == 0.0 ? "stroke=\"#999\"" : "stroke=\"#e6e6e6\"");
    out += text(x0 - 6, yy + 4, "end", fixed(t, y.decimals), " font-size=\"11\"");
  }
  for (int k = 1; k <= kScoreLeads; ++k) {
    const double x = x0 + (k - 1) * (x1 - x0) / (kScoreLeads - 1);
    out += line(x, y0, x, y0 + 4, "stroke=\"#555\"");
    out += text(x, y0 + 16, "middle", std::to_string(k), " font-size=\"11\"");
  }
  out += line(x0, y0, x1, y0, "stroke=\"#555\"") + line(x0, y0, x0, y1, "stroke=\"#555\"");
  out += text((x0 + x1) / 2, y0 + 32, "middle", "lead (weeks)", " font-size=\"11\" fill=\"#555\"");
  if (p.nominal) {
    const double yy = y.place(*p.nominal, y0, y1);
    out += line(x0, yy, x1, yy, "stroke=\"#777\" stroke-dasharray=\"5 4\"");
    out +=
        text(x1 - 2, yy - 4, "end", "nominal " + fixed(*p.nominal, y.decimals + 1), " font-size=\"10\" fill=\"#555\"");
  }
  for (std::size_t i = 0; i < p.series.size(); ++i) {
    out += series_lines(p.series[i], kColours[i % kColours.size()], x0, x1, y, y0, y1);
  }
  return out + "</g>\n";
}

bool several_locations(const ScoresFile& s) {
  std::set<std::string> ids;
  for (const auto& r : s.rows) ids.insert(r.location_id);
  return ids.size() > 1;
}

}  // namespace

std::string scores_svg(const ScoresFile& scores) {
  const auto metrics = metrics_in_order(scores);
  const int rows = std::max(1, (static_cast<int>(metrics.size()) + kColumns - 1) / kColumns);
  const double width = kColumns * kPanelWidth;
  const double height = kTitleHeight + rows * kPanelHeight;
  std::string out =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + fixed(width, 0) + " " + fixed(height, 0) +
      "\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\" role=\"img\" class=\"scores-picture\">\n"
      "<title>" +
      markup_text("Scores of " + scores.name) +
      "</title>\n"
      "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
  out += text(12, 30, "start", markup_text("Scores against lead time: " + scores.name),
              " font-size=\"18\" font-weight=\"bold\" fill=\"#222\"");
  if (metrics.empty()) out += text(12, 80, "start", "no scores for leads 1 to 6 in the file", " font-size=\"14\"");
  const bool several = several_locations(scores);
  for (std::size_t i = 0; i < metrics.size(); ++i) {
    const double left = static_cast<double>(i % kColumns) * kPanelWidth;
    const double top = kTitleHeight + static_cast<double>(i / kColumns) * kPanelHeight;
    out += panel_svg(panel_of(scores, metrics[i], several), left, top);
  }
  return out + "</svg>\n";
}

}  // namespace darcalim::view
