// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A timing log: start a measurement, end it into one of eight slots, and a line
// "[P]: label, elapsed (average av)" with the slot's running average goes to the log.
// Process-wide, main thread only; slots are never reset.
class Profile
{
public:
    static constexpr int slotCount = 8;

    // Records the current time as the start and resets the label to the empty text.
    static void start();
    // start, then sets the label.
    static void startWithString(const QString& label);
    // Measures the seconds since the start into slot index (0 to 7) and logs them; an
    // index outside that range is ignored.
    static void endWithIndex(int index);
    static void end();

    Profile() = delete;
};
