#include "ui/update_page.h"

#include <QUrlQuery>

namespace tarnix {

QUrl updatePageUrl(const QString& host, const QString& version)
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(host);
    url.setPath(QStringLiteral("/CheckVer.asp"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("ver"), version);
    url.setQuery(query);
    return url;
}

}  // namespace tarnix
