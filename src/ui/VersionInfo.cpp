#include "ui/VersionInfo.h"

#include "ui/Version.h"

namespace wiremap {

QString VersionText() {
  return QString::asprintf("%d.%d", WIREMAP_VERSION_MAJOR, WIREMAP_VERSION_MINOR);
}

}  // namespace wiremap
