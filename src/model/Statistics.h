#pragma once

#include <string>
#include <vector>

namespace wiremap {

class TProject;

// The statistics lines of the main window, in order, without line ends:
// "PROJECT STATISTICS [<name>]", "Retrieved connections: N", "Pages (with pins): N", ...
std::vector<std::string> StatisticsLines(const TProject& AProject);

}  // namespace wiremap
