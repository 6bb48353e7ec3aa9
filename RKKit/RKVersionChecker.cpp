// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKVersionChecker.h"

#include "Platform/LoggingCategories.h"
#include "Platform/URLConnection.h"
#include "Platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>

namespace {

const QString ignoredKey = QStringLiteral("RKVersionChecker");

// The numbers of a version text: the leading "1.2.3" after any spaces; none reads as {0}.
QList<long long> versionNumbers(const QString& text)
{
    static const QRegularExpression leading(QStringLiteral("^\\s*(\\d+(?:\\.\\d+)*)"));
    const QRegularExpressionMatch match = leading.match(text);
    QList<long long> numbers;
    if (match.hasMatch()) {
        for (const QString& part : match.captured(1).split(u'.'))
            numbers.append(part.left(18).toLongLong()); // 18 digits never overflow
    }
    if (numbers.isEmpty())
        numbers.append(0);
    return numbers;
}

} // namespace

RKVersionChecker& RKVersionChecker::sharedChecker()
{
    static RKVersionChecker* checker = new RKVersionChecker; // lives for the process, like the app
    return *checker;
}

std::optional<RKVersionChecker::Feed> RKVersionChecker::parseFeed(const QString& text)
{
    const QStringList fields = text.split(u'|');
    if (fields.size() < 3)
        return std::nullopt;
    return Feed{fields[0], fields[1], fields[2]};
}

int RKVersionChecker::compareVersions(const QString& a, const QString& b)
{
    const QList<long long> x = versionNumbers(a), y = versionNumbers(b);
    for (qsizetype i = 0; i < std::max(x.size(), y.size()); ++i) {
        const long long p = i < x.size() ? x[i] : 0, q = i < y.size() ? y[i] : 0;
        if (p != q)
            return p < q ? -1 : 1;
    }
    return 0;
}

RKVersionChecker::Decision RKVersionChecker::decide(const Feed& feed, const QString& localVersion, const QString& ignoredVersion, bool userInitiated)
{
    const QString& remote = feed.remoteVersion;
    if (compareVersions(remote, localVersion) > 0 && (compareVersions(remote, ignoredVersion) > 0 || userInitiated))
        return Decision::UpdatePanel;
    return userInitiated ? Decision::NoUpdatePanel : Decision::Nothing;
}

void RKVersionChecker::checkVersionUserInitiated(bool userInitiated)
{
    const QString address = m_versionURL;
    if (address.isEmpty())
        return;
    // What the thread needs is copied to it; it reports back to the main thread without waiting.
    const QString local = applicationVersion();
    const QString ignored = UserDefaults::standardUserDefaults().objectForKey(ignoredKey).toString();
    QThread* thread = QThread::create([this, address, local, ignored, userInitiated] {
        const std::optional<QString> text = stringWithContentsOfURL(URLWithString(address));
        const std::optional<Feed> feed = text ? parseFeed(*text) : std::nullopt;
        const Decision decision = feed ? decide(*feed, local, ignored, userInitiated) : Decision::Nothing;
        QMetaObject::invokeMethod(this, [this, feed, decision] { finishCheck(feed, decision); }, Qt::QueuedConnection);
    });
    // A finished thread goes away; one still reading at exit is left to the process's end.
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void RKVersionChecker::finishCheck(const std::optional<Feed>& feed, Decision decision)
{
    if (!feed)
        qCWarning(lcApplication).noquote() << "RKVersionChecker: Connection error.";
    else if (decision == Decision::UpdatePanel)
        showUpdatePanel(*feed);
    else if (decision == Decision::NoUpdatePanel)
        showNoUpdatePanel();
    Q_EMIT checkFinished(decision);
}

void RKVersionChecker::showUpdatePanel(const Feed& feed)
{
    m_feed = feed;
    QMessageBox panel;
    panel.setIcon(QMessageBox::Information);
    panel.setWindowTitle(applicationName());
    panel.setText(tr("Version %1 is available to download.").arg(feed.remoteVersion));
    // Filled in once; the result is shown as it stands.
    panel.setInformativeText(tr("You are using version %1 of %2. A newer release, version %3, is available.  It is highly recommended that you download the new version.")
                                 .arg(applicationVersion(), applicationName(), feed.remoteVersion));
    panel.setTextFormat(Qt::PlainText);
    QPushButton* download = panel.addButton(tr("Download..."), QMessageBox::AcceptRole);
    QPushButton* ignore = panel.addButton(tr("Ignore"), QMessageBox::DestructiveRole);
    QPushButton* later = panel.addButton(tr("Remind Later"), QMessageBox::RejectRole);
    panel.setDefaultButton(download);
    panel.setEscapeButton(later);
    panel.exec();

    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    if (panel.clickedButton() == download) {
        const QUrl url = URLWithString(feed.downloadURL);
        if (url.isValid())
            QDesktopServices::openUrl(url);
    } else if (panel.clickedButton() == ignore) {
        defaults.setObjectForKey(feed.remoteVersion, ignoredKey);
    } else if (panel.clickedButton() == later) {
        defaults.setObjectForKey(QVariant(), ignoredKey);
    }
    defaults.synchronize();
}

void RKVersionChecker::showNoUpdatePanel()
{
    QMessageBox panel;
    panel.setIcon(QMessageBox::Information);
    panel.setWindowTitle(applicationName());
    panel.setTextFormat(Qt::PlainText);
    panel.setText(tr("This is the most recent version."));
    panel.setInformativeText(tr("Excellent! You are using the most recent release of %1, version %2. There is currently no need to upgrade.")
                                 .arg(applicationName(), applicationVersion()));
    panel.addButton(tr("OK"), QMessageBox::AcceptRole);
    panel.exec();
}

QString RKVersionChecker::applicationName()
{
    return QGuiApplication::applicationDisplayName(); // the program's name where none is set
}

QString RKVersionChecker::applicationIdentifier()
{
    // The desktop file's name is the application's identity on the desktop.
    const QString identifier = QGuiApplication::desktopFileName();
    return identifier.isEmpty() ? QStringLiteral("org.corvale.Corvale") : identifier;
}

QString RKVersionChecker::applicationVersion()
{
    return QCoreApplication::applicationVersion();
}
