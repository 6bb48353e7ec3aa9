// SPDX-License-Identifier: GPL-3.0-or-later
// The defaults store over a file holding arbitrary bytes: reading every kind of value, then
// writing, which reads the file again first.
#include "Platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>

namespace {

const QTemporaryDir& scratch()
{
    static const QTemporaryDir dir;
    return dir;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_defaults_store";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = scratch().filePath(QStringLiteral("defaults.json"));
    QDir folder(scratch().path());
    for (const QString& aside : folder.entryList({QStringLiteral("defaults.json.*")}, QDir::Files))
        folder.remove(aside);
    writeFile(path, bytes);
    {
        UserDefaults defaults(path);
        for (const QString& key : {QStringLiteral("CorrelationLookupNodes"), QStringLiteral("HistoricalCorrelations"),
                                   QStringLiteral("DrawerSplitHeight"), QStringLiteral("RKVersionChecker"),
                                   QStringLiteral("ServiceURL")}) {
            (void)defaults.arrayForKey(key);
            (void)defaults.stringForKey(key);
            (void)defaults.floatForKey(key);
            (void)defaults.objectForKey(key);
        }
        // The file changes under the store (the same bytes, reversed) before it writes.
        QByteArray reversed = bytes;
        std::reverse(reversed.begin(), reversed.end());
        writeFile(path, reversed + ' ');
        defaults.setObjectForKey(QStringList{QStringLiteral("Portishead")}, QStringLiteral("CorrelationLookupNodes"));
        defaults.setFloatForKey(125.0f, QStringLiteral("DrawerSplitHeight"));
        if (!defaults.synchronize())
            return 0;
    }
    // Whatever was there before, what the store wrote reads back.
    UserDefaults reread(path);
    if (reread.arrayForKey(QStringLiteral("CorrelationLookupNodes")) != QVariantList{QStringLiteral("Portishead")})
        __builtin_trap();
    return 0;
}
