// Text for SVG and HTML: escaping and numbers written the same on every
// machine.
#pragma once

#include <string>
#include <string_view>

namespace darcalim::view {

// `text` as character data or an attribute value of XML and HTML: &, <, >,
// " and ' as references; the bytes of the system's single-byte files (an
// unknown code page: taken as Latin-1) as UTF-8; control bytes, which XML
// cannot carry, as "?". Never throws on any input.
std::string markup_text(std::string_view text);

// `value` with `decimals` decimals and a point, whatever the locale.
std::string fixed(double value, int decimals);

}  // namespace darcalim::view
