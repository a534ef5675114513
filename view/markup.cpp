#include "view/markup.h"

#include <array>
#include <charconv>

namespace darcalim::view {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kFirstHighByte = 0x80;
constexpr unsigned char kLatin1SecondHalf = 0xC0;  // Latin-1 bytes from here take the lead byte 0xC3

void append_latin1(std::string& out, unsigned char byte) {
  out += static_cast<char>(byte < kLatin1SecondHalf ? 0xC2 : 0xC3);
  out += static_cast<char>(0x80 | (byte & 0x3F));
}

}  // namespace

std::string markup_text(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        if (byte >= kFirstHighByte) {
          if (byte < 0xA0) {
            out += '?';  // C1 control codes of Latin-1
          } else {
            append_latin1(out, byte);
          }
        } else if ((byte < kFirstPrintable && c != '\t') || byte == kDelete) {
          out += '?';
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string fixed(double value, int decimals) {
  std::array<char, 64> buffer{};
  const auto [end, ec] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "0";
  std::string text(buffer.data(), end);
  if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);  // no "-0.0"
  return text;
}

}  // namespace darcalim::view
