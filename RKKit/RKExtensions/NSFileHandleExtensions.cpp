// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSFileHandleExtensions.h"

#include "RKKit/RKExtensions/NSStringExtensions.h"

#include <QIODevice>

namespace FileHandleExtensions {

void writeString(QIODevice* handle, const QString& text)
{
    if (!handle || !handle->isWritable())
        return;
    handle->write(StringExtensions::data(text));
}

} // namespace FileHandleExtensions
