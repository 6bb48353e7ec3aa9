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
#include <QDateTime>
#include <QLocale>
#include <QTimer>

#include <cstdio>
#include <unistd.h>
#include <functional>

namespace {

constexpr int usageError = 2;

// Runs the work on the turn of the event loop after the widget first paints: what can wait
// (the version check, the banner's web engine) never delays the window's first picture.
void afterFirstPaint(QWidget* widget, std::function<void()> work)
{
    struct FirstPaint : QObject {
        std::function<void()> work;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) {
                watched->removeEventFilter(this);
                QTimer::singleShot(0, watched, work);
                deleteLater();
            }
            return false;
        }
    };
    auto* filter = new FirstPaint;
    filter->work = std::move(work);
    widget->installEventFilter(filter);
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// For the start-up benchmark (bench/startup.sh): with CORVALE_REPORT_FIRST_PAINT set, the
// program prints the wall-clock time of its first painted frame ("first-paint <ms since the
// epoch>") and quits; with CORVALE_REPORT_BANNER set, the same once the banner has loaded.
void reportAndQuit(const char* what)
{
    std::printf("%s %lld\n", what, static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    std::fflush(stdout);
    QCoreApplication::quit();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("corvale"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVALE_VERSION));

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

    // The banner's web engine draws into the window through OpenGL, shared from the start; a
    // start without the banner skips that (and loading the OpenGL stack before the first frame).
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.registerDefaults({{QStringLiteral("ShowBanner"), true}});
    bool showBanner = defaults.objectForKey(QStringLiteral("ShowBanner")).toBool();
    // The web engine will not run as root with its sandbox on, and takes the program down with
    // it; its sandbox stays on, and the banner stays black.
    if (showBanner && ::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        std::fprintf(stderr, "corvale: running as root, the banner stays off (its web engine needs its sandbox)\n");
        showBanner = false;
    }
    if (showBanner)
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    RKApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Corvale"));
    RKApplication::installTranslations(QLocale());
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
    if (qEnvironmentVariableIsSet("CORVALE_REPORT_FIRST_PAINT"))
        afterFirstPaint(window.banner(), [] { reportAndQuit("first-paint"); }); // the frame has reached the screen
    if (qEnvironmentVariableIsSet("CORVALE_REPORT_BANNER"))
        QObject::connect(window.banner(), &AdView::webViewLoaded, qApp, [] { reportAndQuit("banner"); });
    window.show();
    afterFirstPaint(window.banner(), [controller, banner = window.banner(), showBanner] {
        controller->awakeFromNib();
        if (showBanner) {
            AdWebView::install();
            banner->startWebView();
        }
    });
    // Links of this launch once the window is up.
    QTimer::singleShot(0, controller, [controller, links] {
        for (const QString& link : links)
            controller->handleURLEvent(link);
        NotificationCenter::defaultCenter().postNotification(ApplicationDidFinishLaunchingNotification, qApp);
    });
    return app.exec();
}
