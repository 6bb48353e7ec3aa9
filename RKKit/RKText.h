// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text styles. A text attribute set is a font (the desktop's general interface typeface at a
// pixel size) and a foreground colour; the shared sets are built at first request and kept for
// the process. An attributed string is a text in one such style.

#include <QColor>
#include <QFont>
#include <QString>

struct RKTextAttributes {
    QFont font;
    QColor foregroundColor;

    bool operator==(const RKTextAttributes&) const = default;
};

struct RKAttributedString {
    QString string;
    RKTextAttributes attributes;
};

class RKText {
public:
    // Regular weight; black, or the 0.5 gray where the name says so.
    static const RKTextAttributes& textAttributes10();
    static const RKTextAttributes& textAttributes11();
    static const RKTextAttributes& textAttributes12();
    static const RKTextAttributes& textAttributes13();
    static const RKTextAttributes& textAttributesGray10();
    static const RKTextAttributes& textAttributesGray11();
    static const RKTextAttributes& textAttributesGray12();
    static const RKTextAttributes& textAttributesBold12();
    static const RKTextAttributes& verySmallTextAttributes();        // 10
    static const RKTextAttributes& verySmallGrayTextAttributes();    // 10, gray
    static const RKTextAttributes& verySmallBoldGrayTextAttributes(); // 10, bold, gray
    static const RKTextAttributes& smallTextAttributes();            // 11
    static const RKTextAttributes& smallBoldTextAttributes();        // 11, bold
    static const RKTextAttributes& normalTextAttributes();           // 12
    static const RKTextAttributes& normalGrayTextAttributes();       // 11 (not 12), gray
};
