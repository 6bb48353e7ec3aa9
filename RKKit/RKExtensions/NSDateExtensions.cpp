// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSDateExtensions.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cmath>
#include <limits>

namespace DateExtensions {

namespace {

struct IntervalTexts {
    QString hours = QCoreApplication::translate("NSDateExtensions", "%i hours");
    QString minutes = QCoreApplication::translate("NSDateExtensions", "%i minutes");
    QString oneHour = QCoreApplication::translate("NSDateExtensions", "1 hour");
    QString oneMinute = QCoreApplication::translate("NSDateExtensions", "1 minute");
};

const IntervalTexts& intervalTexts()
{
    static const IntervalTexts texts;
    return texts;
}

QString filled(const QString& format, qint64 value)
{
    QString text = format;
    return text.replace(QLatin1String("%i"), QString::number(value));
}

// Whole seconds, truncated toward zero and made non-negative; huge values saturate.
qint64 wholeSeconds(double seconds)
{
    if (std::isnan(seconds))
        return 0;
    const double magnitude = std::trunc(std::fabs(seconds));
    constexpr double limit = double(std::numeric_limits<qint64>::max());
    return magnitude >= limit ? std::numeric_limits<qint64>::max() : qint64(magnitude);
}

} // namespace

QString stringFromTimeInterval(double seconds)
{
    const IntervalTexts& texts = intervalTexts();
    const qint64 s = wholeSeconds(seconds);
    if (s == 0)
        return QString();
    const qint64 minutes = s >= 60 ? (s / 60) % 60 : 0;
    const qint64 hours = (s / 3600) % 24;
    if (s >= 3600 && hours > 0)
        return hours == 1 ? texts.oneHour : filled(texts.hours, hours);
    if (minutes == 0)
        return QString();
    return minutes == 1 ? texts.oneMinute : filled(texts.minutes, minutes);
}

bool earlierThan(const QDateTime& receiver, const QDateTime& date)
{
    return receiver < date;
}

bool laterThan(const QDateTime& receiver, const QDateTime& date)
{
    return !earlierThan(receiver, date);
}

} // namespace DateExtensions
