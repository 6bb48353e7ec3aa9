// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the application icon (an SVG) into a square PNG of the given size, for the icon theme.
//
//   render-icon SOURCE.svg SIZE OUTPUT.png

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int size = args.size() == 4 ? args[2].toInt(&ok) : 0;
    if (!ok || size <= 0) {
        QTextStream(stderr) << "usage: render-icon SOURCE.svg SIZE OUTPUT.png\n";
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        QTextStream(stderr) << "render-icon: cannot read " << args[1] << "\n";
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    svg.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return image.save(args[3]) ? 0 : 1;
}
