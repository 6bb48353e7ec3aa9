#include "RKKit/RKText.h"

#include <QFontDatabase>

namespace {

RKTextAttributes makeAttributes(int pixelSize, bool bold, bool gray)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return {font, gray ? QColor::fromRgbF(0.5f, 0.5f, 0.5f, 1.0f) : QColor::fromRgbF(0, 0, 0, 1)};
}

} // namespace

#define RK_TEXT_ATTRIBUTES(name, size, bold, gray)                      \
    const RKTextAttributes& RKText::name()                              \
    {                                                                   \
        static const RKTextAttributes attributes = makeAttributes(size, bold, gray); \
        return attributes;                                              \
    }

RK_TEXT_ATTRIBUTES(textAttributes10, 10, false, false)
RK_TEXT_ATTRIBUTES(textAttributes11, 11, false, false)
RK_TEXT_ATTRIBUTES(textAttributes12, 12, false, false)
RK_TEXT_ATTRIBUTES(textAttributes13, 13, false, false)
RK_TEXT_ATTRIBUTES(textAttributesBold12, 12, true, false)
RK_TEXT_ATTRIBUTES(textAttributesGray10, 10, false, true)
RK_TEXT_ATTRIBUTES(textAttributesGray11, 11, false, true)
RK_TEXT_ATTRIBUTES(textAttributesGray12, 12, false, true)
RK_TEXT_ATTRIBUTES(verySmallTextAttributes, 10, false, false)
RK_TEXT_ATTRIBUTES(verySmallGrayTextAttributes, 10, false, true)
RK_TEXT_ATTRIBUTES(verySmallBoldGrayTextAttributes, 10, true, true)
RK_TEXT_ATTRIBUTES(smallTextAttributes, 11, false, false)
RK_TEXT_ATTRIBUTES(smallBoldTextAttributes, 11, true, false)
RK_TEXT_ATTRIBUTES(normalTextAttributes, 12, false, false)
RK_TEXT_ATTRIBUTES(normalGrayTextAttributes, 11, false, true) // 11, not 12, by design of the kit

#undef RK_TEXT_ATTRIBUTES
