// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A row label: a confined string that keeps a copy of itself in another colour (white, for
// selected and highlighted rows), made at the first request and reused.

#include "RKKit/RKConfinedString.h"

#include <memory>

class RKTableString : public RKConfinedString {
public:
    RKTableString(const QString& string, const RKTextAttributes& attributes);
    explicit RKTableString(RKAttributedString string);

    const QColor& alternateColor() const { return m_alternateColor; }
    // A different colour drops the copy, so the next alternateString() is made in it.
    void setAlternateColor(const QColor& color);
    RKTableString& alternateString();

    // The shared label of a text, from a process-wide cache of at most 300 texts (emptied when
    // it grows beyond that): a text seen before gives the same label, whatever attributes are
    // passed now; a new one is made with these attributes. No text gives none.
    static std::shared_ptr<RKTableString> cachedTableString(const QString* text, const RKTextAttributes& attributes);

private:
    QColor m_alternateColor;
    std::unique_ptr<RKTableString> m_alternateString;
};
