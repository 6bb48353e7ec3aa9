// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QDateTime;

namespace DateExtensions {

// The interval as one whole unit: "1 hour" / "%i hours" when it holds at least an hour
// of the day (whole days are dropped), else "1 minute" / "%i minutes", else the empty
// text. The sign is ignored and seconds are dropped. Texts come from the translation
// context "NSDateExtensions", looked up at the first call.
QString stringFromTimeInterval(double seconds);

// True when the receiver lies strictly before the date. Equal dates answer false, so
// laterThan, its negation, answers true for them.
bool earlierThan(const QDateTime& receiver, const QDateTime& date);
bool laterThan(const QDateTime& receiver, const QDateTime& date);

} // namespace DateExtensions
