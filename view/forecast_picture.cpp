#include "view/forecast_picture.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "view/axis_scale.h"
#include "view/markup.h"

namespace darcalim::view {

namespace {

// The drawing's frame, in viewBox units.
constexpr double kWidth = 960.0;
constexpr double kHeight = 540.0;
constexpr double kLeft = 84.0;
constexpr double kRight = 200.0;  // room for the legend
constexpr double kTop = 78.0;
constexpr double kBottom = 64.0;
// Labels on every fourth week keep the year/week texts apart.
constexpr int kWeekLabelEvery = 4;
constexpr int kFlowIntervals = 6;

const char* const kObservedColour = "#1f4e79";
const char* const kForecastColour = "#c0392b";
const char* const kBandColour = "#f1948a";

// A point of the time axis: observed weeks are -kObservedWeeks..-1, the
// forecast week 0, lead k the week k-1.
struct Frame {
  AxisScale flow;
  double x_of(int index) const {
    // Half a week of room at either end keeps the first and last points off the axes.
    const double span = kObservedWeeks + kLeads;
    return kLeft + (index + kObservedWeeks + 0.5) / span * (kWidth - kLeft - kRight);
  }
  double y_of(double value) const { return flow.place(value, kHeight - kBottom, kTop); }
};

std::string point(double x, double y) {
  return fixed(x, 1) + "," + fixed(y, 1);
}

Frame frame_of(const RunFolder& run) {
  double high = 0.0;
  for (const auto& o : run.observed) {
    if (o.flow) high = std::max(high, *o.flow);
  }
  for (const auto& l : run.leads) {
    for (const auto* v : {&l.forecast, &l.lower, &l.upper}) {
      if (v->value) high = std::max(high, *v->value);
    }
  }
  return Frame{axis_scale(0.0, high, kFlowIntervals)};
}

// Polylines through runs of points with values: a missing value breaks the line.
std::string broken_lines(const std::vector<std::optional<std::pair<double, double>>>& points,
                         const std::string& style) {
  std::string out;
  std::string current;
  int count = 0;
  const auto flush = [&] {
    if (count >= 2) out += "<polyline points=\"" + current + "\" " + style + "/>\n";
    current.clear();
    count = 0;
  };
  for (const auto& p : points) {
    if (!p) {
      flush();
      continue;
    }
    if (count++ > 0) current += ' ';
    current += point(p->first, p->second);
  }
  flush();
  return out;
}

std::string week_label(int year, int week) {
  return std::to_string(year) + "/" + (week < 10 ? "0" : "") + std::to_string(week);
}

// The year/week of time index i.
std::pair<int, int> week_at(const RunFolder& run, int index) {
  if (index < 0) {
    const auto& o = run.observed[static_cast<std::size_t>(kObservedWeeks + index)];
    return {o.year, o.week};
  }
  const auto& l = run.leads[static_cast<std::size_t>(std::min(index, kLeads - 1))];
  return {l.target_year, l.target_week};
}

std::string axes(const RunFolder& run, const Frame& f) {
  std::string out = "<g class=\"axes\" font-size=\"12\" fill=\"#333\">\n";
  const double x0 = kLeft;
  const double x1 = kWidth - kRight;
  const double y0 = kHeight - kBottom;
  for (const double t : f.flow.ticks()) {
    const double y = f.y_of(t);
    out += "<line x1=\"" + fixed(x0, 1) + "\" y1=\"" + fixed(y, 1) + "\" x2=\"" + fixed(x1, 1) + "\" y2=\"" +
           fixed(y, 1) + "\" stroke=\"#e3e3e3\"/>\n";
    out += "<text x=\"" + fixed(x0 - 8, 1) + "\" y=\"" + fixed(y + 4, 1) + "\" text-anchor=\"end\">" +
           fixed(t, f.flow.decimals) + "</text>\n";
  }
  for (int i = -kObservedWeeks; i < kLeads; ++i) {
    const double x = f.x_of(i);
    const bool labelled = i % kWeekLabelEvery == 0;
    out += "<line x1=\"" + fixed(x, 1) + "\" y1=\"" + fixed(y0, 1) + "\" x2=\"" + fixed(x, 1) + "\" y2=\"" +
           fixed(y0 + (labelled ? 7 : 4), 1) + "\" stroke=\"#555\"/>\n";
    if (labelled) {
      const auto [year, week] = week_at(run, i);
      out += "<text x=\"" + fixed(x, 1) + "\" y=\"" + fixed(y0 + 22, 1) + "\" text-anchor=\"middle\">" +
             week_label(year, week) + "</text>\n";
    }
  }
  out += "<line x1=\"" + fixed(x0, 1) + "\" y1=\"" + fixed(y0, 1) + "\" x2=\"" + fixed(x1, 1) + "\" y2=\"" +
         fixed(y0, 1) + "\" stroke=\"#555\"/>\n";
  out += "<line x1=\"" + fixed(x0, 1) + "\" y1=\"" + fixed(kTop, 1) + "\" x2=\"" + fixed(x0, 1) + "\" y2=\"" +
         fixed(y0, 1) + "\" stroke=\"#555\"/>\n";
  out += "<text x=\"" + fixed((x0 + x1) / 2, 1) + "\" y=\"" + fixed(kHeight - 16, 1) +
         "\" text-anchor=\"middle\">operating week (year/week)</text>\n";
  out += "<text transform=\"translate(24," + fixed((kTop + y0) / 2, 1) +
         ") rotate(-90)\" text-anchor=\"middle\">flow (m\u00b3/s)</text>\n";
  return out + "</g>\n";
}

std::string limit_band(const RunFolder& run, const Frame& f) {
  std::vector<std::string> upper;
  std::vector<std::string> lower;
  for (int k = 0; k < kLeads; ++k) {
    const auto& l = run.leads[static_cast<std::size_t>(k)];
    if (!l.lower.value || !l.upper.value) continue;
    upper.push_back(point(f.x_of(k), f.y_of(*l.upper.value)));
    lower.push_back(point(f.x_of(k), f.y_of(*l.lower.value)));
  }
  if (upper.size() < 2) return "";
  std::string points;
  for (const auto& p : upper) points += p + " ";
  for (auto p = lower.rbegin(); p != lower.rend(); ++p) points += *p + " ";
  points.pop_back();
  return "<polygon class=\"limits\" points=\"" + points + "\" fill=\"" + kBandColour +
         "\" fill-opacity=\"0.35\" stroke=\"" + kBandColour + "\" stroke-width=\"1\"/>\n";
}

std::string observed_line(const RunFolder& run, const Frame& f) {
  std::vector<std::optional<std::pair<double, double>>> points;
  std::string dots;
  for (int i = 0; i < kObservedWeeks; ++i) {
    const auto& o = run.observed[static_cast<std::size_t>(i)];
    if (!o.flow) {
      points.emplace_back();
      continue;
    }
    const double x = f.x_of(i - kObservedWeeks);
    const double y = f.y_of(*o.flow);
    points.emplace_back(std::pair{x, y});
    if (o.recent) {
      dots += "<circle cx=\"" + fixed(x, 1) + "\" cy=\"" + fixed(y, 1) + "\" r=\"4\" fill=\"#fff\" stroke=\"" +
              kObservedColour + "\" stroke-width=\"2\"/>\n";
    }
  }
  return "<g class=\"observed\">\n" +
         broken_lines(points, std::string("fill=\"none\" stroke=\"") + kObservedColour + "\" stroke-width=\"2.2\"") +
         dots + "</g>\n";
}

std::string forecast_line(const RunFolder& run, const Frame& f) {
  std::vector<std::optional<std::pair<double, double>>> points;
  const auto& last = run.observed.back();
  if (last.flow) points.emplace_back(std::pair{f.x_of(-1), f.y_of(*last.flow)});
  std::string dots;
  for (int k = 0; k < kLeads; ++k) {
    const auto& v = run.leads[static_cast<std::size_t>(k)].forecast.value;
    if (!v) {
      points.emplace_back();
      continue;
    }
    points.emplace_back(std::pair{f.x_of(k), f.y_of(*v)});
    dots += "<circle cx=\"" + fixed(f.x_of(k), 1) + "\" cy=\"" + fixed(f.y_of(*v), 1) + "\" r=\"3\" fill=\"" +
            kForecastColour + "\"/>\n";
  }
  return "<g class=\"forecast\">\n" +
         broken_lines(points, std::string("fill=\"none\" stroke=\"") + kForecastColour +
                                  "\" stroke-width=\"2.2\" stroke-dasharray=\"7 5\"") +
         dots + "</g>\n";
}

std::string forecast_week_line(const RunFolder& run, const Frame& f) {
  const double x = f.x_of(0);
  return "<line class=\"forecast-week\" x1=\"" + fixed(x, 1) + "\" y1=\"" + fixed(kTop - 6, 1) + "\" x2=\"" +
         fixed(x, 1) + "\" y2=\"" + fixed(kHeight - kBottom, 1) +
         "\" stroke=\"#777\" stroke-width=\"1.2\" stroke-dasharray=\"3 3\"/>\n<text x=\"" + fixed(x, 1) + "\" y=\"" +
         fixed(kTop - 10, 1) + "\" font-size=\"12\" fill=\"#555\" text-anchor=\"middle\">forecast week " +
         week_label(run.record.year, run.record.week) + "</text>\n";
}

std::string legend(const RunFolder& run) {
  const double x = kWidth - kRight + 18;
  double y = kTop + 10;
  std::string out = "<g class=\"legend\" font-size=\"12\" fill=\"#333\">\n";
  const auto entry = [&](const std::string& mark, const std::string& label, const std::string& second = "") {
    out +=
        mark + "<text x=\"" + fixed(x + 34, 1) + "\" y=\"" + fixed(y + 4, 1) + "\">" + markup_text(label) + "</text>\n";
    if (!second.empty()) {
      y += 15;
      out += "<text x=\"" + fixed(x + 34, 1) + "\" y=\"" + fixed(y + 4, 1) + "\" font-size=\"11\" fill=\"#555\">" +
             markup_text(second) + "</text>\n";
    }
    y += 24;
  };
  const std::string line_start = "<line x1=\"" + fixed(x, 1) + "\" x2=\"" + fixed(x + 26, 1) + "\" ";
  entry(line_start + "y1=\"" + fixed(y, 1) + "\" y2=\"" + fixed(y, 1) + "\" stroke=\"" + kObservedColour +
            "\" stroke-width=\"2.2\"/>\n",
        "observed");
  if (run.settings.trend_source == 0) {
    entry("<circle cx=\"" + fixed(x + 13, 1) + "\" cy=\"" + fixed(y, 1) + "\" r=\"4\" fill=\"#fff\" stroke=\"" +
              kObservedColour + "\" stroke-width=\"2\"/>\n",
          "recent flows", "from " + run.settings.vazpasts_name);
  }
  entry(line_start + "y1=\"" + fixed(y, 1) + "\" y2=\"" + fixed(y, 1) + "\" stroke=\"" + kForecastColour +
            "\" stroke-width=\"2.2\" stroke-dasharray=\"7 5\"/>\n",
        "forecast");
  entry("<rect x=\"" + fixed(x, 1) + "\" y=\"" + fixed(y - 7, 1) + "\" width=\"26\" height=\"14\" fill=\"" +
            kBandColour + "\" fill-opacity=\"0.35\" stroke=\"" + kBandColour + "\"/>\n",
        std::to_string(run.settings.confidence_level) + " % limits");
  return out + "</g>\n";
}

std::string titles(const RunFolder& run) {
  return "<text x=\"" + fixed(kLeft, 1) + "\" y=\"30\" font-size=\"19\" font-weight=\"bold\" fill=\"#222\">" +
         markup_text(std::to_string(run.station_code) + " " + run.station_name) + "</text>\n<text x=\"" +
         fixed(kLeft, 1) + "\" y=\"54\" font-size=\"14\" fill=\"#444\">Weekly flow forecast issued for week " +
         std::to_string(run.record.week) + " of " + std::to_string(run.record.year) + ", " +
         std::to_string(run.settings.confidence_level) + " % confidence limits</text>\n";
}

}  // namespace

std::string forecast_svg(const RunFolder& run) {
  const Frame f = frame_of(run);
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + fixed(kWidth, 0) + " " + fixed(kHeight, 0) +
         "\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\" role=\"img\" class=\"forecast-picture\">\n"
         "<title>" +
         markup_text("Forecast of station " + std::to_string(run.station_code) + " " + run.station_name) +
         "</title>\n<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n" + titles(run) + axes(run, f) +
         limit_band(run, f) + forecast_week_line(run, f) + observed_line(run, f) + forecast_line(run, f) + legend(run) +
         "</svg>\n";
}

std::string svg_document(const std::string& svg_element) {
  return std::string(kSvgDeclaration) + svg_element;
}

}  // namespace darcalim::view
