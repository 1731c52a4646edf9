#include "desktop/web_sites.h"

// The build passes both addresses in; a bare compile keeps to reserved example hosts.
#ifndef TAVRIL_OFFICIAL_URL
#define TAVRIL_OFFICIAL_URL "https://tavril.example/en/"
#endif
#ifndef TAVRIL_JISHO_URL
#define TAVRIL_JISHO_URL "https://tavriljisho.example/"
#endif

QUrl officialWebSiteUrl()
{
    return QUrl(QStringLiteral(TAVRIL_OFFICIAL_URL), QUrl::StrictMode);
}

QUrl tavrilJishoWebSiteUrl()
{
    return QUrl(QStringLiteral(TAVRIL_JISHO_URL), QUrl::StrictMode);
}
