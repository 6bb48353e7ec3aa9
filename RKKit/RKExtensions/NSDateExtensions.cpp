// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSDateExtensions.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cmath>
#include <limits>

namespace DateExtensions {

namespace {

// Counts other than one go through Qt's plural forms ("%n"), so each language can say them its
// own way; one hour and one minute keep texts of their own.
QString hoursText(qint64 hours)
{
    return hours == 1 ? QCoreApplication::translate("NSDateExtensions", "1 hour")
                      : QCoreApplication::translate("NSDateExtensions", "%n hours", nullptr, int(hours));
}

QString minutesText(qint64 minutes)
{
    return minutes == 1 ? QCoreApplication::translate("NSDateExtensions", "1 minute")
                        : QCoreApplication::translate("NSDateExtensions", "%n minutes", nullptr, int(minutes));
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
    const qint64 s = wholeSeconds(seconds);
    if (s == 0)
        return QString();
    const qint64 minutes = s >= 60 ? (s / 60) % 60 : 0;
    const qint64 hours = (s / 3600) % 24;
    if (s >= 3600 && hours > 0)
        return hoursText(hours);
    if (minutes == 0)
        return QString();
    return minutesText(minutes);
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
