// What the two view commands share on their command line.
#pragma once

#include <string>
#include <vector>

namespace darcalim::view {

// Whether the arguments ask for the help text (-h or --help anywhere).
inline bool wants_help(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "-h" || a == "--help") return true;
  }
  return false;
}

}  // namespace darcalim::view
