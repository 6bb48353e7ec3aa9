// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The banner frame the app shows under its artist field: a 468 × 60 strip on black.
//   GET /e/cm?...&search=NAME&mode=music   the artist's picks (cover and album) when the picks
//                                          list has any, else "Similar to NAME:" and its three
//                                          best similar artists as corvale: links
//   GET /e/cm?... (any other mode)         a short welcome
// The page holds no script; its only links are corvale: links, which the app opens as lookups.

#include "Service/PicksFeed.h"
#include "Service/SimilarArtistProvider.h"

#include <QByteArray>
#include <QString>

namespace BannerPage {

// Pages for the three cases; names are escaped for HTML and links encoded for addresses.
QByteArray welcome();
QByteArray picks(const QString& artist, const QList<PicksFeed::Pick>& picks);
QByteArray similar(const QString& artist, const SimilarArtistList& similar);
// The picks of the artist (names compared without regard to case).
QList<PicksFeed::Pick> picksOf(const QString& artist);
// The response: the page as HTML that may load nothing but pictures of this service.
HttpServerResponse response(const QByteArray& page);

} // namespace BannerPage
