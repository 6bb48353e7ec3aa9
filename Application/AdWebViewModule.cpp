// SPDX-License-Identifier: GPL-3.0-or-later
// libcorvale-banner.so: the banner's web view over Qt WebEngine (see AdWebView.h).
#include "Application/AdWebView.h"

#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

class AdPage : public QWebEnginePage {
public:
    AdPage(const AdWebViewHooks& hooks, QObject* parent)
        : QWebEnginePage(parent)
        , m_hooks(hooks)
    {
    }

    bool ownLoad = false;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (ownLoad && isMainFrame) { // the banner's own page text
            ownLoad = false;
            return true;
        }
        const bool byUser = type != NavigationTypeOther && type != NavigationTypeRedirect;
        return m_hooks.acceptNavigation && m_hooks.acceptNavigation(url, byUser);
    }

    QWebEnginePage* createWindow(WebWindowType) override
    {
        // A link that asks for a new window: its navigation comes to a page nobody shows, where
        // every navigation is the user's and is handed on; then the page goes away.
        auto* page = new AdPage(m_hooks, this);
        QTimer::singleShot(10000, page, &QObject::deleteLater);
        return page;
    }

private:
    AdWebViewHooks m_hooks;
};

class AdWebEngineView : public QWebEngineView {
    Q_OBJECT
public:
    AdWebEngineView(QWidget* parent, const AdWebViewHooks& hooks)
        : QWebEngineView(parent)
        , m_page(new AdPage(hooks, this))
    {
        m_page->setBackgroundColor(Qt::black);
        setPage(m_page);
        setContextMenuPolicy(Qt::NoContextMenu);
        setFocusPolicy(Qt::NoFocus);
        connect(this, &QWebEngineView::loadFinished, this, [loaded = hooks.loaded](bool ok) {
            if (ok && loaded)
                loaded();
        });
    }

    Q_INVOKABLE void showPage(const QString& html)
    {
        m_page->ownLoad = true;
        m_page->setHtml(html);
    }

private:
    AdPage* m_page;
};

} // namespace

extern "C" Q_DECL_EXPORT QWidget* corvale_make_banner_view(QWidget* parent, const AdWebViewHooks* hooks)
{
    return new AdWebEngineView(parent, *hooks);
}

#include "AdWebViewModule.moc"
