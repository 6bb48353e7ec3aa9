// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/UserDefaults.h"
#include "Platform/LoggingCategories.h"

#include "Platform/TextNumbers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QMutex>
#include <QSaveFile>
#include <QSettings>


namespace {

// Reads a JSON object; an empty file is an empty object.
bool parseJsonObject(const QByteArray& bytes, QSettings::SettingsMap& map)
{
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

QString asideSuffix()
{
    return QStringLiteral(".corrupt-") + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
}

// What each defaults file held when it was last read or written whole. When a file is found
// broken later on, these are the keys it is written back with, so that the keys this process
// never touched survive someone else's broken edit.
// Never destroyed: a store destroyed at exit still writes its file through here, after the
// function-local statics made later than it are gone.
QMutex& lastGoodMutex()
{
    static QMutex* mutex = new QMutex;
    return *mutex;
}
QHash<QString, QSettings::SettingsMap>& lastGoodContents()
{
    static auto* contents = new QHash<QString, QSettings::SettingsMap>;
    return *contents;
}

QString filePathOf(const QIODevice& device)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    return file ? QFileInfo(file->fileName()).absoluteFilePath() : QString();
}

void rememberContents(const QString& path, const QSettings::SettingsMap& map)
{
    const QMutexLocker lock(&lastGoodMutex());
    lastGoodContents().insert(path, map);
}

// Moves a file that is not a JSON object out of the way, so the user's bytes are kept for
// inspection instead of being overwritten by the next write.
void setAsideUnreadableFile(const QString& path)
{
    const QString aside = path + asideSuffix();
    if (QFile::rename(path, aside))
        qCWarning(lcDefaults) << path << "is not valid JSON; moved it to" << aside;
    else
        qCWarning(lcDefaults) << path << "is not valid JSON and could not be moved aside";
}

// QSettings reads the file when the store is made and again before every write whenever the
// file has changed on disk; both come here.
bool readJsonObject(QIODevice& device, QSettings::SettingsMap& map)
{
    const QString path = filePathOf(device);
    if (parseJsonObject(device.readAll(), map)) {
        rememberContents(path, map);
        return true;
    }
    if (path.isEmpty())
        return false;
    setAsideUnreadableFile(path);
    const QMutexLocker lock(&lastGoodMutex());
    map = lastGoodContents().value(path);
    return true;
}

bool writeJsonObject(QIODevice& device, const QSettings::SettingsMap& map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it)
        object.insert(it.key(), QJsonValue::fromVariant(it.value()));
    if (device.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) < 0)
        return false;
    rememberContents(filePathOf(device), map);
    return true;
}

QSettings::Format jsonFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("json"), readJsonObject, writeJsonObject);
    return format;
}

// A key name as a piece of a file name.
QString fileNamePiece(const QString& key)
{
    QString piece = key;
    for (QChar& c : piece) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('.') && c != QLatin1Char('-'))
            c = QLatin1Char('_');
    }
    return piece;
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
    keepAsideIfMisTyped(key);
    if (!value.isValid())
        m_settings->remove(key);
    else
        m_settings->setValue(key, value);
}

std::optional<QVariantList> UserDefaults::arrayForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() != QMetaType::QVariantList && value.typeId() != QMetaType::QStringList) {
        noteMisTyped(key);
        return std::nullopt;
    }
    return value.toList();
}

std::optional<QString> UserDefaults::stringForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() != QMetaType::QString) {
        noteMisTyped(key);
        return std::nullopt;
    }
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
        noteMisTyped(key);
        return 0.0f;
    }
}

void UserDefaults::setFloatForKey(float value, const QString& key)
{
    keepAsideIfMisTyped(key);
    m_settings->setValue(key, double(value));
}

void UserDefaults::noteMisTyped(const QString& key) const
{
    if (m_settings->contains(key))
        m_misTyped.insert(key);
}

// A stored value of a kind its reader cannot use was most likely written by hand or by
// another program; before it is replaced, it is written beside the store, as found.
void UserDefaults::keepAsideIfMisTyped(const QString& key)
{
    if (!m_misTyped.remove(key) || !m_settings->contains(key))
        return;
    const QString aside = m_filePath + QLatin1Char('.') + fileNamePiece(key) + asideSuffix();
    QJsonObject kept;
    kept.insert(key, QJsonValue::fromVariant(m_settings->value(key)));
    QSaveFile file(aside);
    if (file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(kept).toJson(QJsonDocument::Indented)) >= 0 && file.commit())
        qCWarning(lcDefaults) << key << "held a value of the wrong kind; kept it in" << aside;
    else
        qCWarning(lcDefaults) << key << "held a value of the wrong kind, which could not be kept aside";
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
