// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKText.h"

#include "RKKit/RKColor.h"

#include <QFontDatabase>

namespace {

RKTextAttributes makeAttributes(int pixelSize, bool bold, bool gray)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return {font, gray ? RKColor::grayColor() : RKColor::blackColor()};
}

} // namespace

#define RK_TEXT_ATTRIBUTES(name, size, bold, gray)                                   \
    const RKTextAttributes& RKText::name()                                           \
    {                                                                                \
        static const RKTextAttributes attributes = makeAttributes(size, bold, gray); \
        return attributes;                                                           \
    }

RK_TEXT_ATTRIBUTES(textAttributes10, 10, false, false)
RK_TEXT_ATTRIBUTES(textAttributes11, 11, false, false)
RK_TEXT_ATTRIBUTES(textAttributes12, 12, false, false)
RK_TEXT_ATTRIBUTES(textAttributes13, 13, false, false)
RK_TEXT_ATTRIBUTES(textAttributesGray10, 10, false, true)
RK_TEXT_ATTRIBUTES(textAttributesGray11, 11, false, true)
RK_TEXT_ATTRIBUTES(textAttributesGray12, 12, false, true)
RK_TEXT_ATTRIBUTES(textAttributesBold12, 12, true, false)
RK_TEXT_ATTRIBUTES(verySmallTextAttributes, 10, false, false)
RK_TEXT_ATTRIBUTES(verySmallGrayTextAttributes, 10, false, true)
RK_TEXT_ATTRIBUTES(verySmallBoldGrayTextAttributes, 10, true, true)
RK_TEXT_ATTRIBUTES(smallTextAttributes, 11, false, false)
RK_TEXT_ATTRIBUTES(smallBoldTextAttributes, 11, true, false)
RK_TEXT_ATTRIBUTES(normalTextAttributes, 12, false, false)
RK_TEXT_ATTRIBUTES(normalGrayTextAttributes, 11, false, true)

#undef RK_TEXT_ATTRIBUTES
