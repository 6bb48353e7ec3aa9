// SPDX-License-Identifier: GPL-3.0-or-later
// Corvale's entry point: the command line, then one running instance per session, then the
// main window. A link given to a second launch goes to the first, and the second ends.

#include "Application/AdView.h"
#include "Application/AdWebView.h"
#include "Application/MainController.h"
#include "Application/MainWindow.h"
#include "Platform/NotificationCenter.h"
#include "Platform/SingleInstance.h"
#include "Platform/TerminationSignals.h"
#include "Platform/UserDefaults.h"
#include "RKKit/RKApplication.h"
#include "RKKit/RKExtensions/Events.h"

#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int usageError = 2;

// Starts the banner's web view on the turn of the event loop after the banner first paints.
void startAfterFirstPaint(AdView* banner)
{
    struct FirstPaint : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) {
                watched->removeEventFilter(this);
                auto* view = static_cast<AdView*>(watched);
                QTimer::singleShot(0, view, &AdView::startWebView);
                deleteLater();
            }
            return false;
        }
    };
    banner->installEventFilter(new FirstPaint);
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("corvale"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVALE_VERSION));
    QCoreApplication::setOrganizationDomain(QStringLiteral("org.corvale.Corvale"));

    // Answered on the terminal before anything needs a display.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Corvale finds artists similar to the ones you name."));
    parser.addPositionalArgument(QStringLiteral("links"), QStringLiteral("corvale: links or artist names to look up"), QStringLiteral("[LINK…]"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(argumentsOf(argc, argv))) {
        std::fprintf(stderr, "corvale: %s (try --help)\n", qPrintable(parser.errorText()));
        return usageError;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("corvale"))), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("corvale %s\n", CORVALE_VERSION);
        return 0;
    }
    const QStringList links = parser.positionalArguments();

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); // the banner's web engine asks for it
    RKApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Corvale"));
    QApplication::setDesktopFileName(QStringLiteral("org.corvale.Corvale"));

    SingleInstance instance(QStringLiteral("org.corvale.Corvale"));
    if (instance.start(links) == SingleInstance::Role::Forwarded)
        return 0;

    // Quitting tells every part to save its state, then writes the defaults file.
    postApplicationWillTerminateOnQuit();
    quitOnTerminationSignals();

    NotificationCenter::defaultCenter().postNotification(ApplicationWillFinishLaunchingNotification, &app);
    MainWindow window;
    MainController* controller = window.controller();
    Events::listenForNotificationSelector(&window, ApplicationWillTerminateNotification, &MainWindow::saveFrame);
    QObject::connect(&instance, &SingleInstance::activateRequested, controller, &MainController::restoreMainWindow);
    QObject::connect(&instance, &SingleInstance::openRequested, controller, [controller](const QStringList& opened) {
        controller->restoreMainWindow();
        for (const QString& link : opened)
            controller->handleURLEvent(link);
    });
    AdView::setLinkHandler([controller](const QString& link) { controller->handleURLEvent(link); });
    window.show();
    controller->awakeFromNib();
    // The web engine starts once the window has painted, so it never delays the first picture.
    UserDefaults::standardUserDefaults().registerDefaults({{QStringLiteral("ShowBanner"), true}});
    if (UserDefaults::standardUserDefaults().objectForKey(QStringLiteral("ShowBanner")).toBool()) {
        AdWebView::install();
        startAfterFirstPaint(window.banner());
    }
    // Links of this launch once the window is up.
    QTimer::singleShot(0, controller, [controller, links] {
        for (const QString& link : links)
            controller->handleURLEvent(link);
        NotificationCenter::defaultCenter().postNotification(ApplicationDidFinishLaunchingNotification, qApp);
    });
    return app.exec();
}
