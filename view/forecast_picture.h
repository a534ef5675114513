// The forecast picture of a run folder, as one SVG element.
//
// It shows the observed flows of the kObservedWeeks weeks before the forecast
// week (a solid line; the recent flows that a run with trend source 0 took
// from its recent-flow file marked with dots), a vertical line at the
// forecast week, the six forecasts as a dashed line that starts from the last
// observation, the limits as a shaded band, axes with ticks (flow in m3/s,
// weeks as year/week), the station, the issue week and the confidence level.
// A number written as asterisks, and a week before the history, leave a gap.
// The element has a viewBox and no external resource; every text is escaped.
#pragma once

#include <string>
#include <string_view>

#include "view/run_folder.h"

namespace darcalim::view {

// The <svg> element, for a file of its own or inline in a page.
std::string forecast_svg(const RunFolder& run);

// The first line of every SVG file the tools write: the XML declaration.
inline constexpr std::string_view kSvgDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// A whole SVG file: the XML declaration and the element.
std::string svg_document(const std::string& svg_element);

}  // namespace darcalim::view
