#pragma once

// The per-user defaults store: one JSON object in $XDG_CONFIG_HOME/corvale/defaults.json
// (else ~/.config/corvale/defaults.json), whose keys are the defaults keys.

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
    // The stored array; none when the key is missing or its value is not an array.
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
    QString m_filePath;
    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_registered;
};
