// The two web pages the help menu opens, fixed when the program is configured.
#pragma once

#include <QUrl>

// The official web site's English page.
QUrl officialWebSiteUrl();
// The TavrilJisho dictionary web site (Japanese).
QUrl tavrilJishoWebSiteUrl();
