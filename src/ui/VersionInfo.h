#pragma once

#include <QString>

namespace wiremap {

// The program's major and minor version, "%d.%d" (for example "0.57"), as compiled in
// from the build's project version.
QString VersionText();

}  // namespace wiremap
