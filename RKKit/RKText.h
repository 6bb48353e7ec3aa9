#pragma once

// The shared text attribute sets: a font of the desktop's interface typeface at a pixel size
// and a foreground colour. Each is built at first request and kept for the process.

#include <QColor>
#include <QFont>

struct RKTextAttributes {
    QFont font;
    QColor foregroundColor;
};

class RKText {
public:
    static const RKTextAttributes& textAttributes10();
    static const RKTextAttributes& textAttributes11();
    static const RKTextAttributes& textAttributes12();
    static const RKTextAttributes& textAttributes13();
    static const RKTextAttributes& textAttributesBold12();
    static const RKTextAttributes& textAttributesGray10();
    static const RKTextAttributes& textAttributesGray11();
    static const RKTextAttributes& textAttributesGray12();
    static const RKTextAttributes& verySmallTextAttributes();
    static const RKTextAttributes& verySmallGrayTextAttributes();
    static const RKTextAttributes& verySmallBoldGrayTextAttributes();
    static const RKTextAttributes& smallTextAttributes();
    static const RKTextAttributes& smallBoldTextAttributes();
    static const RKTextAttributes& normalTextAttributes();
    static const RKTextAttributes& normalGrayTextAttributes();
};
