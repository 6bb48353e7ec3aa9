// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The banner strip that follows the selected artist: a 468 × 60 frame from the similar-artist
// service, centred on black, showing the artist's picks or similar artists. There is one,
// recorded when the main window makes it; until then instance() is none and keywords go
// nowhere. The banner never navigates by itself: what the user clicks opens in the web browser
// (http and https), or as a lookup (corvale: links); anything else is refused.
//
// The web view is made by the web-engine part of the program, which the entry point installs
// once the window has painted; without it (tests, or "ShowBanner" set to false) the strip
// stays black and remembers the page it would show.

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

class AdView : public QWidget {
    Q_OBJECT
public:
    explicit AdView(QWidget* parent = nullptr);
    ~AdView() override;

    static AdView* instance();

    static QString defaultAdSource();
    static QString adSourceForKeywords(const QString& keywords);
    // The frame's address: the service's host and port, then the path and query given.
    static QString frameAddress(const QString& pathAndQuery);

    // Loads the keyword page, on every call.
    void setKeywords(const QString& keywords);
    QString keywords() const { return m_keywords; }
    // The page the banner shows (or would show without a web view).
    const QString& pageSource() const { return m_page; }
    int pageLoads() const { return m_pageLoads; }

    enum class Policy { Load, OpenInBrowser, OpenAsLookup, Refuse };
    // What happens to a navigation: the page's own loads ("other") go ahead; a link the user
    // follows opens in the browser (http, https) or as a lookup (corvale:); the rest is refused.
    static Policy policyForNavigation(const QUrl& url, bool causedByUser);
    // Carries out a navigation the banner does not load itself.
    static void handOn(const QUrl& url, Policy policy);

    // Makes the web view: installed by the program's web-engine part.
    using WebViewFactory = std::function<QWidget*(AdView& banner)>;
    static void setWebViewFactory(WebViewFactory factory);
    // Makes the web view now (when a factory is installed) and shows the current page in it.
    void startWebView();
    QWidget* webView() const { return m_webView; }

    // A corvale: link the banner was asked to open; the controller turns it into a lookup.
    static void setLinkHandler(std::function<void(const QString&)> handler);

Q_SIGNALS:
    // The page to show changed (the web view loads it).
    void pageChanged(const QString& html);
    // The web view has finished loading a page (with its frame).
    void webViewLoaded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void loadPage(const QString& html);

    QString m_keywords;
    QString m_page;
    int m_pageLoads = 0;
    QPointer<QWidget> m_webView;
};
