// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Service/SimilarArtistProvider.h"

#include <QByteArray>
#include <QString>

// The one writer of the tagged answer the app reads: an XML document
//   <?xml version="1.0" encoding="UTF-8"?>
//   <similarartists>
//   <r><a>NAME</a><c>RATING</c><p>POPULARITY</p></r>   one line per record
//   </similarartists>
// whose first record is the artist asked for (rating 100), then the similar artists in the
// order given. Names are escaped as XML requires; numbers have at most one decimal. Names the
// format cannot carry are left out.
QByteArray taggedAnswer(const QString& artist, double popularity, const SimilarArtistList& similar);
