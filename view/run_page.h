// The HTML page of a finished run folder: one self-contained file.
//
// The page holds the forecast picture inline (the SVG of forecast_picture),
// the table of the six leads (target year/week, forecast, lower and upper
// limits as the appended forecast record writes them, the model kept), the
// first kRankedModels models of each target week's ranking with their errors
// (REMQ, as written), the run's settings, and a link to each file of the
// folder. It loads nothing from elsewhere and reads without a script; its
// one script only sorts tables by a click on a column head, and marks the
// page with data-script="ok" on <html> when it ran.
//
// Stable hooks: the lead rows are <tr data-lead="k">, their cells carry ids
// "target-k", "forecast-k", "lower-k", "upper-k", "model-k"; the ranking
// tables are <table data-week="t" data-lead="k">, their rows <tr
// data-rank="r">; each setting row is <tr data-setting="name">; the file
// links are <a data-file="NAME">.
//
// The file links are relative to the folder of the page (`page_path`), so
// that the page and the run folder may move together.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "view/run_folder.h"

namespace darcalim::view {

// Models of each week's ranking that the page lists: the best ten are where
// the choice of the kept model is made.
inline constexpr std::size_t kRankedModels = 10;

// The first bytes of every page.
inline constexpr std::string_view kPageStart = "<!DOCTYPE html>\n<html lang=\"en\">\n";

std::string run_page_html(const RunFolder& run, const std::filesystem::path& page_path);

// The relative URL of `file` seen from the folder `from`, percent-encoded.
std::string relative_url(const std::filesystem::path& file, const std::filesystem::path& from);

}  // namespace darcalim::view
