// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSObjectExtensions.h"

#include <bit>
#include <cstdint>

namespace ObjectExtensions {

quint32 hash(const void* object)
{
    const auto address = static_cast<quint32>(reinterpret_cast<std::uintptr_t>(object));
    return std::rotr(address, 4);
}

bool isOS102OrHigher()
{
    return true;
}

bool isOS103OrHigher()
{
    return true;
}

} // namespace ObjectExtensions
