// SPDX-License-Identifier: GPL-3.0-or-later
// The real program, as a user runs it: on its own X server (Xvfb) and session bus, with a fresh
// settings folder pointing at a similar-artist server of this test. An artist is typed into the
// window, a corvale: link is opened by a second launch, and the session ends with SIGTERM;
// what the user did must be in the settings file afterwards.
#include "Application/ApplicationTestSupport.h"

#include "support/PrivateSessionBus.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

namespace {

// An X server of this test alone; the display number is the one Xvfb picks and prints.
struct VirtualDisplay {
    QProcess server;
    QString display;
    VirtualDisplay()
    {
        server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        if (!server.waitForStarted(5000))
            return;
        QElapsedTimer timer;
        timer.start();
        while (!server.canReadLine() && timer.elapsed() < 10000)
            server.waitForReadyRead(200);
        const QByteArray number = server.readLine().trimmed();
        if (!number.isEmpty())
            display = ":" + QString::fromLatin1(number);
    }
    ~VirtualDisplay()
    {
        server.terminate();
        server.waitForFinished(3000);
    }
};

// Runs a short command to its end; answers its standard output.
QString run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env, int* exitCode = nullptr, int timeoutMs = 10000)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(timeoutMs);
    if (exitCode)
        *exitCode = process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (process.state() != QProcess::NotRunning)
        process.kill();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

TEST(EndToEnd, TypeALookupOpenALinkFromASecondLaunchAndKeepBothAfterSigterm)
{
    VirtualDisplay x;
    ASSERT_FALSE(x.display.isEmpty()) << "Xvfb did not start";
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << bus.errorText().toStdString();
    SimilarArtistServer service;
    service.answers["Portishead"] = {{"Massive Attack", 90}, {"Tricky", 60}};
    service.answers["Pink Floyd"] = {{"Genesis", 80}, {"Yes", 40}};

    QTemporaryDir home;
    QDir(home.path()).mkpath("config/corvale");
    QDir(home.path()).mkpath("runtime");
    QFile::setPermissions(home.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString settings = home.filePath("config/corvale/defaults.json");
    {
        QFile file(settings);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(QJsonObject{{"ServiceURL", service.baseUrl()}, {"ShowBanner", false}}).toJson());
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_RUNTIME_DIR", home.filePath("runtime"));
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    if (env.contains("ASAN_OPTIONS")) {
        // In the sanitizer build: libxkbcommon-x11 (Debian's, not ours) strndup()s an atom name
        // that is not NUL-terminated within its buffer, which strict string checks stop at; and
        // the X and font libraries keep allocations to the end. This test is about behaviour;
        // the other test programs keep every check.
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":strict_string_checks=0:detect_leaks=0");
    }

    QProcess app;
    app.setProcessEnvironment(env);
    app.setProcessChannelMode(QProcess::ForwardedChannels);
    app.start(CORVALE_PROGRAM, {});
    ASSERT_TRUE(app.waitForStarted(5000));
    QDBusConnection connection = bus.connection();
    ASSERT_TRUE(waitUntil([&] { return connection.interface()->isServiceRegistered("org.corvale.Corvale").value(); }, 20000))
        << "the program did not take its name on the session bus";

    // Type an artist into the window's field, which has the focus at start.
    const QString window = run("xdotool", {"search", "--sync", "--name", "^Corvale$"}, env).section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty()) << "no Corvale window on the display";
    run("xdotool", {"windowfocus", "--sync", window}, env);
    run("xdotool", {"type", "--delay", "15", "Portishead"}, env);
    run("xdotool", {"key", "Return"}, env);
    EXPECT_TRUE(waitUntil([&] { return service.askedArtists().contains("Portishead"); }, 10000)) << service.askedArtists().join(", ").toStdString();

    // A second launch with a link: it hands the link over and ends at once.
    QElapsedTimer second;
    second.start();
    int exitCode = -1;
    run(CORVALE_PROGRAM, {"corvale:Pink%20Floyd"}, env, &exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_LT(second.elapsed(), 5000);
    EXPECT_TRUE(waitUntil([&] { return service.askedArtists().contains("Pink Floyd"); }, 10000)) << service.askedArtists().join(", ").toStdString();
    EXPECT_TRUE(waitUntil([&] { return service.askedArtists().size() >= 2; }, 1000));

    // The session ends: both lookups and the ranking are stored.
    ::kill(pid_t(app.processId()), SIGTERM);
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject stored = QJsonDocument::fromJson(file.readAll()).object();
    const QVariantList lookups = stored.value("CorrelationLookupNodes").toVariant().toList();
    EXPECT_TRUE(lookups.contains("Portishead")) << QJsonDocument(stored).toJson().toStdString();
    EXPECT_TRUE(lookups.contains("Pink Floyd")) << QJsonDocument(stored).toJson().toStdString();
    const QVariantList ranking = stored.value("HistoricalCorrelations").toVariant().toList();
    QStringList ranked;
    for (const QVariant& entry : ranking)
        ranked << entry.toMap().value("Name").toString();
    EXPECT_TRUE(ranked.contains("Massive Attack") && ranked.contains("Genesis")) << ranked.join(", ").toStdString();
}

} // namespace
