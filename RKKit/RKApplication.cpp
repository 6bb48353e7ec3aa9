// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKApplication.h"

#include "Platform/LoggingCategories.h"

#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <csignal>
#include <exception>

RKApplication::RKApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool RKApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& exception) {
        qCWarning(lcApplication).noquote() << QString::fromLocal8Bit(exception.what());
    } catch (...) {
        qCWarning(lcApplication).noquote() << QStringLiteral("unknown exception");
    }
    Debugger();
    return false;
}

void RKApplication::installTranslations(const QLocale& locale)
{
    static QTranslator* qt = nullptr;
    static QTranslator* own = nullptr;
    for (QTranslator** translator : {&qt, &own}) {
        if (*translator) {
            QCoreApplication::removeTranslator(*translator);
            delete *translator;
            *translator = nullptr;
        }
    }
    auto* qtTranslator = new QTranslator;
    if (qtTranslator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qtTranslator);
        qt = qtTranslator;
    } else {
        delete qtTranslator;
    }
    auto* ownTranslator = new QTranslator;
    if (ownTranslator->load(locale, QStringLiteral("corvale"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
        QCoreApplication::installTranslator(ownTranslator);
        own = ownTranslator;
    } else {
        delete ownTranslator;
    }
}

void RKApplication::Debugger()
{
    // A tracer (a debugger) shows as a non-zero TracerPid of the process.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("TracerPid:")) {
            if (line.mid(10).trimmed().toLongLong() != 0)
                std::raise(SIGTRAP);
            return;
        }
    }
}
