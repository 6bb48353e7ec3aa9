// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QIODevice;

namespace FileHandleExtensions {

// Writes the text as ASCII, every character outside ASCII as '?'. Does nothing without
// an open device.
void writeString(QIODevice* handle, const QString& text);

} // namespace FileHandleExtensions
