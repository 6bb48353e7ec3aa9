#include "Application/MainWindow.h"
#include "Platform/NotificationCenter.h"
#include "Platform/TerminationSignals.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvale"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvale"));
    QApplication::setApplicationVersion(QStringLiteral(CORVALE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("corvale"));

    // Quitting tells every part to save its state, then writes the defaults file.
    postApplicationWillTerminateOnQuit();
    quitOnTerminationSignals();

    MainWindow window;
    window.show();
    return app.exec();
}
