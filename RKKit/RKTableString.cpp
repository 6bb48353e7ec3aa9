// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKTableString.h"

#include "RKKit/RKColor.h"
#include "RKKit/RKExtensions/NSAttributedStringExtensions.h"

#include <QHash>

RKTableString::RKTableString(const QString& string, const RKTextAttributes& attributes)
    : RKTableString(RKAttributedString{string, attributes})
{
}

RKTableString::RKTableString(RKAttributedString string)
    : RKConfinedString(std::move(string))
    , m_alternateColor(RKColor::whiteColor())
{
}

void RKTableString::setAlternateColor(const QColor& color)
{
    if (color == m_alternateColor)
        return;
    m_alternateString.reset();
    m_alternateColor = color;
}

RKTableString& RKTableString::alternateString()
{
    if (!m_alternateString)
        m_alternateString = std::make_unique<RKTableString>(AttributedStringExtensions::attributedStringWithColor(attributedString(), m_alternateColor));
    return *m_alternateString;
}

std::shared_ptr<RKTableString> RKTableString::cachedTableString(const QString* text, const RKTextAttributes& attributes)
{
    static QHash<QString, std::shared_ptr<RKTableString>> cache;
    if (!text)
        return nullptr;
    if (cache.size() > 300)
        cache.clear();
    auto& label = cache[*text];
    if (!label)
        label = std::make_shared<RKTableString>(*text, attributes);
    return label;
}
