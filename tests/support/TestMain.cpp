// SPDX-License-Identifier: GPL-3.0-or-later
// main() of every test executable: the application's own application object, headless, with
// configuration and runtime folders private to this process, so no test sees another's
// defaults file.
#include <gtest/gtest.h>

#include "RKKit/RKApplication.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // CORVALE_TEST_CONFIG_HOME lets a test start a second process on the same defaults file.
    QTemporaryDir scratch;
    const QByteArray shared = qgetenv("CORVALE_TEST_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", shared.isEmpty() ? QDir(scratch.path()).filePath("config").toUtf8() : shared);
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir(scratch.path()).filePath("runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    }

    ::testing::InitGoogleTest(&argc, argv);
    RKApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvale"));
    return RUN_ALL_TESTS();
}
