// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/Correlation.h"

#include "Platform/TextNumbers.h"

HistoricalCorrelation::HistoricalCorrelation(const QString& n, float r)
{
    name = n;
    rating = r;
}

HistoricalCorrelation HistoricalCorrelation::initWithDictionary(const QVariantMap& dictionary)
{
    HistoricalCorrelation record;
    record.name = dictionary.value(QStringLiteral("Name")).toString();
    const QVariant rating = dictionary.value(QStringLiteral("Rating"));
    if (rating.typeId() == QMetaType::QString)
        record.rating = floatValue(rating.toString().toStdString());
    else if (rating.canConvert<double>())
        record.rating = rating.toFloat();
    return record;
}

QVariantMap HistoricalCorrelation::dictionary() const
{
    return {{QStringLiteral("Name"), name}, {QStringLiteral("Rating"), double(rating)}};
}

QString HistoricalCorrelation::description() const
{
    return QStringLiteral("%1, %2").arg(name).arg(double(rating), 0, 'f', 6);
}
