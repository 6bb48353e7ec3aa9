// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Tells the user when a newer release exists. The version feed is a short text,
// "VERSION|DOWNLOAD ADDRESS|DESCRIPTION ADDRESS", read on a thread of its own; the decision is
// made there and the panel is shown on the main thread with the fields of that one feed.
// An automatic check (at start) shows a panel only for a newer version the user has not
// chosen to ignore; a check the user asks for always answers when the feed was read.
// The ignored version is kept in the defaults store under "RKVersionChecker".

#include <QObject>
#include <QString>

#include <optional>

class QMessageBox;

class RKVersionChecker : public QObject {
    Q_OBJECT
public:
    struct Feed {
        QString remoteVersion;
        QString downloadURL;
        QString descriptionURL;
    };
    enum class Decision { Nothing, UpdatePanel, NoUpdatePanel };
    Q_ENUM(Decision)

    static RKVersionChecker& sharedChecker();

    void setVersionURL(const QString& address) { m_versionURL = address; }
    QString versionURL() const { return m_versionURL; }
    // Starts a check on a new thread and returns at once.
    void checkVersionUserInitiated(bool userInitiated);

    // The three fields of a feed (more are ignored, nothing is trimmed); none when it has fewer.
    static std::optional<Feed> parseFeed(const QString& text);
    // Versions compare number by number ("1.10" is newer than "1.9", "1.2.3" than "1.2"); a
    // text without a number reads as 0. Answers <0, 0 or >0.
    static int compareVersions(const QString& a, const QString& b);
    static Decision decide(const Feed& feed, const QString& localVersion, const QString& ignoredVersion, bool userInitiated);

    void showUpdatePanel(const Feed& feed);
    void showNoUpdatePanel();

    // The last feed a panel was shown for.
    const Feed& lastFeed() const { return m_feed; }

    static QString applicationName();
    static QString applicationIdentifier();
    static QString applicationVersion();

Q_SIGNALS:
    // A check has finished (on the main thread), whatever it decided; for tests and the log.
    void checkFinished(RKVersionChecker::Decision decision);

private:
    RKVersionChecker() = default;
    void finishCheck(const std::optional<Feed>& feed, Decision decision);

    QString m_versionURL;
    Feed m_feed;
};
