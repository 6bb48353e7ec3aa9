// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/Profile.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <QThread>

namespace {

QStringList captured;

void capture(QtMsgType, const QMessageLogContext&, const QString& message)
{
    captured.append(message);
}

class ProfileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        captured.clear();
        previous = qInstallMessageHandler(capture);
    }
    void TearDown() override { qInstallMessageHandler(previous); }

    QtMessageHandler previous = nullptr;
};

struct Line {
    QString label;
    double elapsed;
    double average;
};

std::optional<Line> parse(const QString& text)
{
    static const QRegularExpression format(QStringLiteral("^\\[P\\]: (.*), (\\d+\\.\\d{6}) \\((\\d+\\.\\d{6}) av\\)$"));
    const auto match = format.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return Line{match.captured(1), match.captured(2).toDouble(), match.captured(3).toDouble()};
}

} // namespace

TEST_F(ProfileTest, LogsLabelElapsedAndRunningAveragePerSlot)
{
    Profile::startWithString("load artists");
    QThread::msleep(20);
    Profile::endWithIndex(3);
    Profile::start();
    Profile::endWithIndex(3);
    Profile::startWithString("other slot");
    Profile::end();

    ASSERT_EQ(captured.size(), 3);
    const auto first = parse(captured.at(0));
    const auto second = parse(captured.at(1));
    const auto third = parse(captured.at(2));
    ASSERT_TRUE(first && second && third) << qPrintable(captured.join('\n'));

    EXPECT_EQ(first->label, "load artists");
    EXPECT_GE(first->elapsed, 0.015);
    EXPECT_NEAR(first->average, first->elapsed, 1e-6);

    EXPECT_EQ(second->label, "");
    EXPECT_LT(second->elapsed, first->elapsed);
    EXPECT_NEAR(second->average, (first->elapsed + second->elapsed) / 2, 1e-5);

    // Slot 0 has its own total.
    EXPECT_EQ(third->label, "other slot");
    EXPECT_NEAR(third->average, third->elapsed, 1e-6);
}

TEST_F(ProfileTest, SlotOutsideTheTableIsIgnored)
{
    Profile::start();
    Profile::endWithIndex(8);
    Profile::endWithIndex(-1);
    EXPECT_TRUE(captured.isEmpty());
}
