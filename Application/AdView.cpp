// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/AdView.h"

#include "Application/ServiceAddress.h"
#include "Platform/LoggingCategories.h"
#include "RKKit/RKColor.h"
#include "RKKit/RKExtensions/NSStringExtensions.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QPainter>

namespace {

QPointer<AdView>& recordedInstance()
{
    static QPointer<AdView> instance;
    return instance;
}

AdView::WebViewFactory& webViewFactory()
{
    static AdView::WebViewFactory factory;
    return factory;
}

std::function<void(const QString&)>& linkHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

// The page: the frame centred on black, in one line.
QString pageWithFrame(const QString& frameAddress)
{
    return QStringLiteral("<html><head><style type=") + QStringLiteral("\"text/css\"")
        + QStringLiteral(">BODY { FONT-FAMILY: Lucida Grande, Tahoma, Verdana; FONT-SIZE: 11px; margin : 0px 0px 0px 0px; }</style></head><body bgcolor=")
        + QStringLiteral("\"#000000\"")
        + QStringLiteral("><center><iframe marginwidth=0 marginheight=0 width=468 height=60 scrolling=no frameborder=0 src=")
        + QLatin1Char('"') + frameAddress.toHtmlEscaped() + QLatin1Char('"') + QStringLiteral("></iframe></center></body></html>");
}

} // namespace

AdView::AdView(QWidget* parent)
    : QWidget(parent)
{
    recordedInstance() = this;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(0);
    setAccessibleName(tr("Banner"));
    m_page = defaultAdSource();
}

AdView::~AdView() = default;

AdView* AdView::instance()
{
    return recordedInstance();
}

QString AdView::frameAddress(const QString& pathAndQuery)
{
    const QUrl service(serviceURL());
    QString host = service.host();
    if (host.contains(u':'))
        host = QLatin1Char('[') + host + QLatin1Char(']'); // an IPv6 address
    if (service.port() >= 0)
        host += QLatin1Char(':') + QString::number(service.port());
    return QStringLiteral("http://") + host + pathAndQuery;
}

QString AdView::defaultAdSource()
{
    return pageWithFrame(frameAddress(QStringLiteral("/e/cm?t=quorvix&l=st1&search=ipod&mode=electronics&p=13&o=1&bg1=0000000&fc1=ffffff&lc1=7BC618&f=ifr")));
}

QString AdView::adSourceForKeywords(const QString& keywords)
{
    // The whole name is encoded, so "Simon & Garfunkel" asks for all of it.
    QString path = QStringLiteral("/e/cm?t=quorvix&l=st1&search=%@&mode=music&p=13&o=1&bg1=0000000&fc1=ffffff&lc1=7BC618&f=ifr");
    path.replace(QStringLiteral("%@"), StringExtensions::stringByEscapingURLComponent(keywords));
    return pageWithFrame(frameAddress(path));
}

void AdView::setKeywords(const QString& keywords)
{
    m_keywords = keywords;
    loadPage(adSourceForKeywords(keywords));
}

void AdView::loadPage(const QString& html)
{
    m_page = html;
    ++m_pageLoads;
    Q_EMIT pageChanged(html);
}

AdView::Policy AdView::policyForNavigation(const QUrl& url, bool causedByUser)
{
    if (!causedByUser)
        return Policy::Load;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return Policy::OpenInBrowser;
    if (scheme == QLatin1String("corvale"))
        return Policy::OpenAsLookup;
    return Policy::Refuse;
}

void AdView::handOn(const QUrl& url, Policy policy)
{
    switch (policy) {
    case Policy::OpenInBrowser:
        QDesktopServices::openUrl(url);
        break;
    case Policy::OpenAsLookup:
        if (linkHandler())
            linkHandler()(url.toString(QUrl::FullyEncoded));
        break;
    case Policy::Refuse:
        qCWarning(lcApplication).noquote() << "the banner refused to open" << url.toString(QUrl::RemoveUserInfo);
        break;
    case Policy::Load:
        break;
    }
}

void AdView::setWebViewFactory(WebViewFactory factory)
{
    webViewFactory() = std::move(factory);
}

void AdView::setLinkHandler(std::function<void(const QString&)> handler)
{
    linkHandler() = std::move(handler);
}

void AdView::startWebView()
{
    if (m_webView || !webViewFactory())
        return;
    m_webView = webViewFactory()(*this);
    if (!m_webView)
        return;
    m_webView->setParent(this);
    m_webView->setGeometry(rect());
    m_webView->show();
    Q_EMIT pageChanged(m_page);
}

void AdView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), RKColor::blackColor());
}

void AdView::resizeEvent(QResizeEvent*)
{
    if (m_webView)
        m_webView->setGeometry(rect());
}

void AdView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept(); // the banner has no context menu
}
