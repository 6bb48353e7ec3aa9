#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

// The application's pictures, compiled in as SVG resources (":/images/<name>.svg").
// Main thread only.
namespace RKImages {

// The picture of that name, rendered once at device pixel ratio 2 and kept for the process;
// its logical size (deviceIndependentSize()) is the SVG's width and height. An unknown name
// gives a null image and one log line (the first time it is asked for).
QImage imageNamed(const QString& name);

// A new picture of the given logical size at device pixel ratio 2, with the source drawn
// scaled to fill it, smoothly, at the given opacity. A null source gives a transparent picture.
QImage imageScaledInto(const QImage& source, QSizeF size, qreal opacity = 1.0);

} // namespace RKImages
