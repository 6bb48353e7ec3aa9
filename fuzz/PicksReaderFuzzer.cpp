// SPDX-License-Identifier: GPL-3.0-or-later
// The curated picks list, XML or binary property list, as the picks entry reads it.
#include "Application/BrondelNode.h"

#include <cstdint>

namespace {

bool holdsNul(const std::optional<QString>& text)
{
    return text && text->contains(QChar(0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto picks = BrondelNode::picksFromPropertyList(bytes)) {
        for (const BrondelNode::Pick& pick : *picks) {
            // A NUL would cut the text short wherever it is shown or used as an address.
            if (holdsNul(pick.artist) || holdsNul(pick.album) || holdsNul(pick.description) || holdsNul(pick.image))
                __builtin_trap();
        }
    }
    return 0;
}
