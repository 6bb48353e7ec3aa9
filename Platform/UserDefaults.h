// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The per-user defaults store: one JSON object in $XDG_CONFIG_HOME/corvale/defaults.json
// (else ~/.config/corvale/defaults.json), whose keys are the defaults keys.
//
// The user's data is never lost to a write: before each write the file is read again, so
// keys written meanwhile by another process are kept; a file that does not parse (at start
// or later) is moved aside as found and the store goes on with what the file last held; and
// a stored value of the wrong kind for its reader ("CorrelationLookupNodes": "Portishead")
// is written beside the store before it is replaced.

#include <QSet>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <memory>
#include <optional>

class QSettings;

class UserDefaults {
public:
    // The store of the running user, made at first use from the XDG configuration location.
    static UserDefaults& standardUserDefaults();
    // The file standardUserDefaults() uses.
    static QString standardFilePath();

    // A store over the given file. A file that is not a JSON object is moved aside first.
    explicit UserDefaults(const QString& filePath);
    ~UserDefaults();

    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    // The stored value, else the registered fallback, else an invalid QVariant ("none").
    QVariant objectForKey(const QString& key) const;
    // Replaces the whole value; an invalid QVariant removes the key.
    void setObjectForKey(const QVariant& value, const QString& key);
    // The stored array; none when the key is missing or its value is not an array (which is
    // then kept aside when the key is next written; likewise for texts and numbers).
    std::optional<QVariantList> arrayForKey(const QString& key) const;
    // The stored text; none when missing or not a text.
    std::optional<QString> stringForKey(const QString& key) const;
    // A number unchanged, a text by its leading decimal number, else 0.
    float floatForKey(const QString& key) const;
    void setFloatForKey(float value, const QString& key);
    // Fallbacks answered while a key has no stored value; never written to the file.
    void registerDefaults(const QVariantMap& fallbacks);
    // Writes pending changes to disk now (atomically: a crash never leaves half a file).
    bool synchronize();

    QString filePath() const { return m_filePath; }

private:
    void noteMisTyped(const QString& key) const;
    void keepAsideIfMisTyped(const QString& key);

    QString m_filePath;
    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_registered;
    mutable QSet<QString> m_misTyped; // keys whose stored value a reader could not use
};
