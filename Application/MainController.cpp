// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/MainController.h"

#include "Application/Browser/BrowserView.h"
#include "Application/MainNode.h"
#include "Application/ServiceAddress.h"
#include "Platform/LoggingCategories.h"
#include "Platform/URLConnection.h"
#include "RKKit/RKVersionChecker.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QStringDecoder>

#include <cctype>
#include <exception>

MainController::MainController(BrowserView* browser, QWidget* window, QObject* parent)
    : QObject(parent)
    , m_browserView(browser)
    , m_window(window)
{
}

void MainController::awakeFromNib()
{
    RKVersionChecker& checker = RKVersionChecker::sharedChecker();
    checker.setVersionURL(serviceURL() + QStringLiteral("/version.txt"));
    checker.checkVersionUserInitiated(false);
}

bool MainController::isAcceptableName(const QString& name)
{
    if (name.size() > maximumNameLength)
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar ch) { return ch.category() == QChar::Other_Control; });
}

void MainController::addLookup(const QString& name)
{
    if (!isAcceptableName(name)) {
        qCWarning(lcApplication).noquote() << "refused an artist name of" << name.size()
                                           << "characters: longer than" << maximumNameLength << "or holding control characters";
        return;
    }
    if (const auto root = m_browserView->rootNode())
        root->addNewLookupNodeWithStringAndSelect(name, true);
}

void MainController::addArtist(QLineEdit* sender)
{
    const QString text = sender->text();
    if (text.isEmpty())
        return;
    addLookup(text);
    sender->clear();
}

void MainController::checkVersion()
{
    RKVersionChecker::sharedChecker().checkVersionUserInitiated(true);
}

void MainController::restoreMainWindow()
{
    m_window->show();
    m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window->raise();
    m_window->activateWindow();
}

void MainController::commandN(int row)
{
    restoreMainWindow();
    m_browserView->selectRowInColumn(row, 0);
}

QString MainController::feedbackURLString()
{
    return QStringLiteral("mailto:") + feedbackAddress()
        + QStringLiteral("?subject=%1%20%2%20Feedback").arg(RKVersionChecker::applicationName(), RKVersionChecker::applicationVersion());
}

void MainController::sendFeedbackEmail()
{
    const QUrl url(feedbackURLString());
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

void MainController::chatWithDeveloper()
{
    const QUrl url(QStringLiteral("aim:goim?screenname=") + chatScreenName());
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

void MainController::handleURLEvent(const QString& link)
{
    try {
        handleURLString(link);
    } catch (const std::exception& exception) {
        qCWarning(lcApplication).noquote() << QStringLiteral("handleURLEvent exception: %1").arg(QString::fromLocal8Bit(exception.what()));
    } catch (...) {
        qCWarning(lcApplication).noquote() << QStringLiteral("handleURLEvent exception: unknown exception");
    }
}

void MainController::handleURLString(const QString& link)
{
    static const QString prefix = QStringLiteral("corvale:");
    const QString name = link.startsWith(prefix) ? cleansedURL(link.mid(prefix.size())) : link;
    addLookup(name);
}

QString MainController::cleansedURL(const QString& text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text[from] == u'/')
        ++from;
    while (to > from && text[to - 1] == u'/')
        --to;
    QString spaced = text.mid(from, to - from);
    spaced.replace(u'+', u' ');

    // Percent escapes become bytes; everything else keeps its own UTF-8.
    const QByteArray utf8 = spaced.toUtf8();
    QByteArray bytes;
    bytes.reserve(utf8.size());
    const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '%' && i + 2 < utf8.size() && hex(utf8[i + 1]) && hex(utf8[i + 2])) {
            bytes.append(char(QByteArray(utf8.constData() + i + 1, 2).toInt(nullptr, 16)));
            i += 2;
        } else {
            bytes.append(utf8[i]);
        }
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(bytes);
    // Escapes that do not spell UTF-8 leave the text as written.
    return decoder.hasError() ? spaced : decoded;
}
