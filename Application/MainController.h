// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application's controller: starts the version check, turns the typed artist and incoming
// corvale: links into selected lookups, and carries the menu commands.

#include <QObject>
#include <QString>

class BrowserView;
class QLineEdit;
class QWidget;

class MainController : public QObject {
    Q_OBJECT
public:
    // Names and links longer than this, or holding control characters, are refused.
    static constexpr int maximumNameLength = 500;

    MainController(BrowserView* browser, QWidget* window, QObject* parent = nullptr);

    BrowserView* browserView() const { return m_browserView; }

    // Start-up: the version feed's address and an automatic check.
    void awakeFromNib();

    // The typed name (as typed, spaces kept) becomes a selected lookup; the field is cleared.
    void addArtist(QLineEdit* sender);
    void checkVersion();
    void restoreMainWindow();
    // Show the window, select row 1, 2 or 3 of the first column and focus it.
    void command1() { commandN(1); }
    void command2() { commandN(2); }
    void command3() { commandN(3); }
    void sendFeedbackEmail();
    void chatWithDeveloper();

    // An incoming link, guarded: an exception is logged and the link dropped.
    void handleURLEvent(const QString& link);
    // "corvale:" links lose the prefix and are cleansed; other text is used as it stands.
    void handleURLString(const QString& link);
    // Slashes trimmed at both ends, "+" read as a space, then percent escapes decoded as UTF-8
    // (an escape that is not two hexadecimal digits stays as written).
    static QString cleansedURL(const QString& text);
    // Whether a name may become a lookup: not longer than maximumNameLength, no control characters.
    static bool isAcceptableName(const QString& name);

    static QString feedbackAddress() { return QStringLiteral("feedback@corvale.org"); }
    static QString chatScreenName() { return QStringLiteral("corvaledev"); }
    static QString feedbackURLString();

private:
    void commandN(int row);
    void addLookup(const QString& name);

    BrowserView* m_browserView;
    QWidget* m_window;
};
