// corvale-service: Corvale's local similar-artist service.
#include "Service/CorvaleService.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvale-service"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVALE_SERVICE_VERSION));

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
