// SPDX-License-Identifier: GPL-3.0-or-later
// The tagged answer of the similar-artist service, as the lookup entry reads it.
#include "Application/Correlation.h"
#include "Application/CorrelationLookupNode.h"

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const Correlation& record : CorrelationLookupNode::parseCorrelations(text)) {
        // Every record names someone and carries numbers a ranking can add up and store.
        if (record.name.isEmpty() || !std::isfinite(record.rating) || !std::isfinite(record.popularity))
            __builtin_trap();
    }
    return 0;
}
