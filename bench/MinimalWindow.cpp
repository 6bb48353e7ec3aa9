// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for start-up: the smallest Qt Widgets program with a window of the same size,
// built with the same Qt. Prints "first-paint <ms since the epoch>" at its first painted frame
// and quits, as corvale does with CORVALE_REPORT_FIRST_PAINT (see bench/startup.sh).
#include <QApplication>
#include <QDateTime>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    struct Window : QMainWindow {
        bool reported = false;
        void paintEvent(QPaintEvent* event) override
        {
            QMainWindow::paintEvent(event);
            if (reported)
                return;
            reported = true;
            QTimer::singleShot(0, [] {
                std::printf("first-paint %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
    } window;
    window.setAutoFillBackground(true);
    window.resize(760, 560);
    window.show();
    return app.exec();
}
