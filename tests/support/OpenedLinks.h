// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Catches what the program opens "in the application registered for its scheme": while it
// lives, links of the given schemes come here instead of reaching the desktop.
class OpenedLinks : public QObject {
    Q_OBJECT
public:
    explicit OpenedLinks(const QStringList& schemes = {QStringLiteral("http")});
    ~OpenedLinks() override;

    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }

private:
    QStringList m_schemes;
};
