// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/Profile.h"
#include "Platform/LoggingCategories.h"

#include <QElapsedTimer>
#include <QtGlobal>

namespace {

struct Slot {
    float total = 0.0f;
    qint32 count = 0;
};

struct ProfileState {
    QElapsedTimer started;
    QString label;
    Slot slots[Profile::slotCount];
};

ProfileState& state()
{
    static ProfileState profile;
    return profile;
}

} // namespace

void Profile::start()
{
    state().started.start();
    state().label.clear();
}

void Profile::startWithString(const QString& label)
{
    start();
    state().label = label;
}

void Profile::endWithIndex(int index)
{
    if (index < 0 || index >= slotCount)
        return;
    ProfileState& profile = state();
    // Never started: nothing has elapsed.
    const float elapsed = profile.started.isValid() ? float(profile.started.nsecsElapsed() / 1e9) : 0.0f;
    Slot& slot = profile.slots[index];
    slot.count += 1;
    slot.total += elapsed;
    const float average = slot.total / float(slot.count);
    // The line's format is fixed: "[P]: label, seconds (average seconds av)".
    qCInfo(lcApplication).noquote() << QString::asprintf("[P]: %s, %f (%f av)", qUtf8Printable(profile.label), double(elapsed), double(average));
}

void Profile::end()
{
    endWithIndex(0);
}
