#pragma once
// The program's version as the windows show it.

#include <QString>

namespace qv {

inline QString VersionText() {
  return QStringLiteral("Version %1.%2.%3")
      .arg(QUORVANE_VERSION_MAJOR)
      .arg(QUORVANE_VERSION_MINOR)
      .arg(QUORVANE_VERSION_PATCH);
}

}  // namespace qv
