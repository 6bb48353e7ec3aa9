// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Operations available on every object.
namespace ObjectExtensions {

// Identity hash: the object's address, cut to 32 bits and rotated right by 4 bits.
quint32 hash(const void* object);

// Both answer true on this platform: every supported toolkit version has what they test for.
bool isOS102OrHigher();
bool isOS103OrHigher();

} // namespace ObjectExtensions
