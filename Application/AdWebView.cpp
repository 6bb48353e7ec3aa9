// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/AdWebView.h"

#include "Application/AdView.h"

#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// Only the page's own loads go ahead; what the user causes is handed on and the banner stays.
class AdPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

    bool ownLoad = false;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (ownLoad && isMainFrame) { // the banner's own page text
            ownLoad = false;
            return true;
        }
        const bool byUser = type != NavigationTypeOther && type != NavigationTypeRedirect;
        const AdView::Policy policy = AdView::policyForNavigation(url, byUser);
        if (policy == AdView::Policy::Load)
            return true;
        AdView::handOn(url, policy);
        return false;
    }

    QWebEnginePage* createWindow(WebWindowType) override
    {
        // A link that asks for a new window: its first navigation is handed on like a click
        // (every navigation of a page nobody shows is the user's), then the page goes away.
        auto* page = new AdPage(this);
        QTimer::singleShot(10000, page, &QObject::deleteLater);
        return page;
    }
};

} // namespace

void AdWebView::install()
{
    AdView::setWebViewFactory([](AdView& banner) -> QWidget* {
        auto* view = new QWebEngineView(&banner);
        auto* page = new AdPage(view);
        page->setBackgroundColor(Qt::black);
        view->setPage(page);
        view->setContextMenuPolicy(Qt::NoContextMenu);
        QObject::connect(&banner, &AdView::pageChanged, view, [page](const QString& html) {
            page->ownLoad = true;
            page->setHtml(html);
        });
        return view;
    });
}
