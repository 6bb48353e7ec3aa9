// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/AdWebView.h"

#include "Application/AdView.h"
#include "Platform/LoggingCategories.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {

// Where the module is: beside the program in a build, in the library folder once installed.
QStringList moduleCandidates()
{
    QStringList candidates;
    if (qEnvironmentVariableIsSet("CORVALE_BANNER_MODULE"))
        candidates << qEnvironmentVariable("CORVALE_BANNER_MODULE");
    const QDir programDir(QCoreApplication::applicationDirPath());
    candidates << programDir.filePath(QStringLiteral("libcorvale-banner.so"))
               << QDir::cleanPath(programDir.filePath(QStringLiteral(CORVALE_RELATIVE_MODULE_DIR "/libcorvale-banner.so")));
    return candidates;
}

AdWebViewFactory loadFactory()
{
    // A 468 × 60 strip needs no graphics card: drawn in software, the web engine starts no GPU
    // process and needs no OpenGL context shared from the start of the program, which would
    // load the whole OpenGL stack before the window's first frame.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    for (const QString& path : moduleCandidates()) {
        if (!QFile::exists(path))
            continue;
        QLibrary module(path);
        if (auto factory = reinterpret_cast<AdWebViewFactory>(module.resolve(adWebViewFactorySymbol)))
            return factory; // the module stays loaded for the process
        qCWarning(lcApplication).noquote() << "cannot load the banner's web view from" << path << ":" << module.errorString();
    }
    qCWarning(lcApplication).noquote() << "no banner web view module found; the banner stays black";
    return nullptr;
}

} // namespace

void AdWebView::install()
{
    AdView::setWebViewFactory([](AdView& banner) -> QWidget* {
        static const AdWebViewFactory factory = loadFactory();
        if (!factory)
            return nullptr;
        AdWebViewHooks hooks;
        hooks.acceptNavigation = [](const QUrl& url, bool byUser) {
            const AdView::Policy policy = AdView::policyForNavigation(url, byUser);
            if (policy == AdView::Policy::Load)
                return true;
            AdView::handOn(url, policy);
            return false;
        };
        QPointer<AdView> guard(&banner);
        hooks.loaded = [guard] {
            if (guard)
                Q_EMIT guard->webViewLoaded();
        };
        QWidget* view = factory(&banner, &hooks);
        QObject::connect(&banner, &AdView::pageChanged, view, [view](const QString& html) {
            QMetaObject::invokeMethod(view, "showPage", Q_ARG(QString, html));
        });
        return view;
    });
}
