#include "Platform/UserDefaults.h"

#include "Platform/TextNumbers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSettings>


namespace {

bool readJsonObject(QIODevice& device, QSettings::SettingsMap& map)
{
    const QByteArray bytes = device.readAll();
    if (bytes.trimmed().isEmpty())
        return true;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        map.insert(it.key(), it.value().toVariant());
    return true;
}

bool writeJsonObject(QIODevice& device, const QSettings::SettingsMap& map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it)
        object.insert(it.key(), QJsonValue::fromVariant(it.value()));
    return device.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) >= 0;
}

QSettings::Format jsonFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("json"), readJsonObject, writeJsonObject);
    return format;
}

// Moves a file that is not a JSON object out of the way, so the user's data is kept for
// inspection instead of being overwritten by the next write.
void setAsideUnreadableFile(const QString& path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    QSettings::SettingsMap ignored;
    if (readJsonObject(file, ignored))
        return;
    file.close();
    const QString aside = path + QStringLiteral(".corrupt-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    if (QFile::rename(path, aside))
        qWarning("UserDefaults: %s is not valid JSON; moved it to %s and started empty", qPrintable(path), qPrintable(aside));
    else
        qWarning("UserDefaults: %s is not valid JSON and could not be moved aside", qPrintable(path));
}

} // namespace

QString UserDefaults::standardFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/corvale/defaults.json");
}

UserDefaults& UserDefaults::standardUserDefaults()
{
    static UserDefaults defaults(standardFilePath());
    return defaults;
}

UserDefaults::UserDefaults(const QString& filePath)
    : m_filePath(filePath)
{
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    setAsideUnreadableFile(filePath);
    m_settings = std::make_unique<QSettings>(filePath, jsonFormat());
    m_settings->setFallbacksEnabled(false);
}

UserDefaults::~UserDefaults()
{
    synchronize();
}

QVariant UserDefaults::objectForKey(const QString& key) const
{
    const QVariant stored = m_settings->value(key);
    if (stored.isValid())
        return stored;
    return m_registered.value(key);
}

void UserDefaults::setObjectForKey(const QVariant& value, const QString& key)
{
    if (!value.isValid())
        m_settings->remove(key);
    else
        m_settings->setValue(key, value);
}

std::optional<QVariantList> UserDefaults::arrayForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() != QMetaType::QVariantList && value.typeId() != QMetaType::QStringList)
        return std::nullopt;
    return value.toList();
}

std::optional<QString> UserDefaults::stringForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

float UserDefaults::floatForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toFloat();
    case QMetaType::Bool:
        return value.toBool() ? 1.0f : 0.0f;
    case QMetaType::QString:
        return floatValue(value.toString().toStdString());
    default:
        return 0.0f;
    }
}

void UserDefaults::setFloatForKey(float value, const QString& key)
{
    m_settings->setValue(key, double(value));
}

void UserDefaults::registerDefaults(const QVariantMap& fallbacks)
{
    for (auto it = fallbacks.begin(); it != fallbacks.end(); ++it)
        m_registered.insert(it.key(), it.value());
}

bool UserDefaults::synchronize()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
