#pragma once

#include <QUrl>

namespace tarnix {

// The page that tells whether a newer version exists: "/CheckVer.asp" on the host, with the
// program's version as "ver".
QUrl updatePageUrl(const QString& host, const QString& version);

}  // namespace tarnix
