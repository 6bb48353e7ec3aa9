// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/SimilarArtistProvider.h"

ProviderAnswer ProviderAnswer::found(SimilarArtistList artists, double popularity)
{
    ProviderAnswer answer;
    answer.outcome = Outcome::Found;
    answer.artists = std::move(artists);
    answer.popularity = popularity;
    return answer;
}

ProviderAnswer ProviderAnswer::notFound()
{
    ProviderAnswer answer;
    answer.outcome = Outcome::NotFound;
    return answer;
}

ProviderAnswer ProviderAnswer::failed(const QString& detail)
{
    ProviderAnswer answer;
    answer.outcome = Outcome::Failed;
    answer.detail = detail;
    return answer;
}

QString foldArtistName(const QString& name) { return name.simplified().toCaseFolded(); }
