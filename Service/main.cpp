// SPDX-License-Identifier: GPL-3.0-or-later
// corvale-service: Corvale's local similar-artist service.
#include "Service/CorvaleService.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

// SIGTERM, SIGINT and SIGHUP end the event loop, so the service is destroyed in order and its
// cache file is closed cleanly. The signals are blocked before any thread starts and read
// from a descriptor on the event loop: no code runs inside a signal handler.
void quitOnTerminationSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&signals, number);
    if (pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0)
        return;
    const int descriptor = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
    if (descriptor < 0) {
        pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
        return;
    }
    auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [descriptor] {
        signalfd_siginfo info{};
        if (::read(descriptor, &info, sizeof info) == ssize_t(sizeof info))
            std::fprintf(stderr, "corvale-service: signal %u, closing\n", info.ssi_signo);
        QCoreApplication::quit();
    });
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvale-service"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVALE_SERVICE_VERSION));
    quitOnTerminationSignals();

    QString error;
    bool helpShown = false;
    const auto config = ServiceConfig::fromArguments(QCoreApplication::arguments(), &error, &helpShown);
    if (!config) {
        if (helpShown)
            return 0;
        std::fprintf(stderr, "corvale-service: %s\n", qPrintable(error));
        return 2;
    }

    CorvaleService service(*config);
    if (!service.listen(&error)) {
        std::fprintf(stderr, "corvale-service: %s\n", qPrintable(error));
        return 1;
    }
    ServiceConfig listening = *config;
    listening.port = service.port();
    std::printf("corvale-service listening on http://%s\n", qPrintable(listening.listenText()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
