// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSFileManagerExtensions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace FileManagerExtensions {

namespace {

bool existsAt(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void createFile(const QString& path, const QByteArray& contents,
                const std::optional<QFileDevice::Permissions>& attributes)
{
    QFile file(path);
    // NewOnly: something that appeared since the existence check is never overwritten.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return;
    file.write(contents);
    file.close();
    if (attributes)
        file.setPermissions(*attributes);
}

// Walks the path one component at a time and creates what is missing: a directory for
// every component but the last, and for the last a file when asked for one.
void createAlong(const QString& path, bool lastIsFile, const QByteArray& contents,
                 const std::optional<QFileDevice::Permissions>& attributes)
{
    const QString normalized = QDir::fromNativeSeparators(path);
    const QStringList components = normalized.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString partial = normalized.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    for (qsizetype i = 0; i < components.size(); ++i) {
        if (!partial.isEmpty() && !partial.endsWith(QLatin1Char('/')))
            partial += QLatin1Char('/');
        partial += components.at(i);
        if (existsAt(partial))
            continue;
        if (lastIsFile && i == components.size() - 1)
            createFile(partial, contents, attributes);
        else
            QDir().mkdir(partial);
    }
}

} // namespace

void createDirectoryAtPathRecursive(const QString& path)
{
    createAlong(path, false, {}, std::nullopt);
}

void createFileAtPathRecursiveContentsAttributes(const QString& path, const QByteArray& contents,
                                                 std::optional<QFileDevice::Permissions> attributes)
{
    createAlong(path, true, contents, attributes);
}

void createFileAtPathRecursive(const QString& path)
{
    createAlong(path, true, {}, std::nullopt);
}

} // namespace FileManagerExtensions
