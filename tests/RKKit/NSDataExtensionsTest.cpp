// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSDataExtensions.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace DataExtensions;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (const int v : values)
        result.append(char(v));
    return result;
}

} // namespace

TEST(DataExtensions, AppendWritesBigEndian)
{
    struct Case {
        const char* name;
        std::function<void(QByteArray&)> append;
        QByteArray expected;
    };
    const Case cases[] = {
        {"char", [](QByteArray& d) { appendChar(d, 'A'); }, bytes({0x41})},
        {"byte", [](QByteArray& d) { appendByte(d, 0xFE); }, bytes({0xFE})},
        {"byte1", [](QByteArray& d) { appendByte1(d, 7); }, bytes({7})},
        {"short 258", [](QByteArray& d) { appendShort(d, 258); }, bytes({1, 2})},
        {"short -2", [](QByteArray& d) { appendShort(d, -2); }, bytes({0xFF, 0xFE})},
        {"byte2", [](QByteArray& d) { appendByte2(d, 0xABCD); }, bytes({0xAB, 0xCD})},
        {"int -2", [](QByteArray& d) { appendInt(d, -2); }, bytes({0xFF, 0xFF, 0xFF, 0xFE})},
        {"byte4", [](QByteArray& d) { appendByte4(d, 0x01020304); }, bytes({1, 2, 3, 4})},
        {"longlong 1", [](QByteArray& d) { appendLongLong(d, 1); }, bytes({0, 0, 0, 0, 0, 0, 0, 1})},
        {"byte8", [](QByteArray& d) { appendByte8(d, 0x0102030405060708ULL); }, bytes({1, 2, 3, 4, 5, 6, 7, 8})},
        {"byte16", [](QByteArray& d) { appendByte16(d, Byte16{{1, 0x02030405, 0, 0xFFFFFFFF}}); },
         bytes({0, 0, 0, 1, 2, 3, 4, 5, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"ascii string", [](QByteArray& d) { appendString(d, "Low"); }, QByteArray("Low")},
        {"non-ascii string writes nothing", [](QByteArray& d) { appendString(d, QString::fromUtf8("Björk")); },
         QByteArray()},
    };
    for (const auto& c : cases) {
        QByteArray data("x");
        c.append(data);
        EXPECT_EQ(data, QByteArray("x") + c.expected) << c.name;
    }
}

TEST(DataExtensions, ReadsGiveBackWhatWasAppended)
{
    QByteArray data("pre");
    appendShort(data, 258);
    appendByte4(data, 0xDEADBEEF);
    appendLongLong(data, -3);
    const Byte16 record{{1, 2, 0x80000000, 4}};
    appendByte16(data, record);

    EXPECT_EQ(deserializeByteAtIndex(data, 0), quint8('p'));
    EXPECT_EQ(deserializeByte1AtIndex(data, 4), 2);
    EXPECT_EQ(deserializeByte2AtIndex(data, 3), 258);
    EXPECT_EQ(deserializeByte4AtIndex(data, 5), 0xDEADBEEFu);
    EXPECT_EQ(qint64(deserializeByte8AtIndex(data, 9)), -3);
    EXPECT_EQ(deserializeByte16AtIndex(data, 17), record);
    EXPECT_EQ(data.size(), 33);
}

TEST(DataExtensions, SerializeAtIndexOverwritesAndGrows)
{
    QByteArray atEnd = bytes({9, 9});
    serializeByte4AtIndex(atEnd, 0x01020304, 2);
    EXPECT_EQ(atEnd, bytes({9, 9, 1, 2, 3, 4}));

    QByteArray overlapping = bytes({9, 9});
    serializeByte4AtIndex(overlapping, 0x01020304, 0);
    EXPECT_EQ(overlapping, bytes({1, 2, 3, 4}));

    QByteArray inside = bytes({9, 9, 9, 9, 9});
    serializeByte2AtIndex(inside, 0x0102, 1);
    serializeByteAtIndex(inside, 7, 4);
    EXPECT_EQ(inside, bytes({9, 1, 2, 9, 7}));

    QByteArray wide = bytes({9});
    serializeByte8AtIndex(wide, 0x0102030405060708ULL, 1);
    serializeByte16AtIndex(wide, Byte16{{0, 0, 0, 5}}, 9);
    EXPECT_EQ(wide.size(), 25);
    EXPECT_EQ(deserializeByte8AtIndex(wide, 1), 0x0102030405060708ULL);
    EXPECT_EQ(deserializeByte16AtIndex(wide, 9), (Byte16{{0, 0, 0, 5}}));

    QByteArray text("abcdef");
    serializeStringAtIndex(text, "XY", 2);
    serializeStringAtIndex(text, QString::fromUtf8("ö"), 0);
    serializeDataAtIndex(text, QByteArray("12345"), 4);
    EXPECT_EQ(text, QByteArray("abXY12345"));
}

TEST(DataExtensions, SerializeBeyondTheLengthDoesNothing)
{
    for (const qsizetype index : {qsizetype(4), qsizetype(-1), std::numeric_limits<qsizetype>::max()}) {
        QByteArray data = bytes({1, 2, 3});
        serializeByteAtIndex(data, 9, index);
        serializeByte4AtIndex(data, 9, index);
        serializeByte16AtIndex(data, Byte16{{9, 9, 9, 9}}, index);
        serializeDataAtIndex(data, QByteArray("zz"), index);
        serializeStringAtIndex(data, "zz", index);
        EXPECT_EQ(data, bytes({1, 2, 3})) << index;
    }
}

TEST(DataExtensions, ReadsPastTheEndAnswerEmpty)
{
    const QByteArray data = bytes({1, 2, 3, 4, 5, 6, 7, 8});
    const qsizetype huge = std::numeric_limits<qsizetype>::max() - 2;
    for (const qsizetype index : {qsizetype(-1), huge}) {
        EXPECT_EQ(deserializeByteAtIndex(data, index), 0) << index;
        EXPECT_EQ(deserializeByte2AtIndex(data, index), 0) << index;
        EXPECT_EQ(deserializeByte4AtIndex(data, index), 0u) << index;
        EXPECT_EQ(deserializeByte8AtIndex(data, index), 0u) << index;
        EXPECT_TRUE(dataFromIndex(data, index).isEmpty()) << index;
        EXPECT_TRUE(deserializeStringAtIndex(data, index).isEmpty()) << index;
    }
    // The last byte that fits is read; one further is not.
    EXPECT_EQ(deserializeByteAtIndex(data, 7), 8);
    EXPECT_EQ(deserializeByteAtIndex(data, 8), 0);
    EXPECT_EQ(deserializeByte2AtIndex(data, 6), 0x0708);
    EXPECT_EQ(deserializeByte2AtIndex(data, 7), 0);
    EXPECT_EQ(deserializeByte4AtIndex(data, 5), 0u);
    EXPECT_EQ(deserializeByte8AtIndex(data, 0), 0x0102030405060708ULL);
    EXPECT_EQ(deserializeByte8AtIndex(data, 1), 0u);
    EXPECT_EQ(deserializeByte16AtIndex(data, 0), Byte16{});

    EXPECT_EQ(dataFromIndex(data, 6), bytes({7, 8}));
    EXPECT_TRUE(dataFromIndex(data, 8).isEmpty());
    EXPECT_TRUE(deserializeDataAtIndex(data, 9).isEmpty());
    EXPECT_EQ(dataInRange(data, 2, 3), bytes({3, 4, 5}));
    EXPECT_TRUE(dataInRange(data, 6, 3).isEmpty());
    EXPECT_TRUE(dataInRange(data, 1, huge).isEmpty());
    EXPECT_TRUE(dataInRange(data, 2, -1).isEmpty());
    EXPECT_TRUE(stringInRange(data, 7, 2).isEmpty());
}

TEST(DataExtensions, TextReadsAreAscii)
{
    const QByteArray data("Sigur R\xc3\xb3s");
    EXPECT_EQ(string(data), QString::fromUtf8("Sigur R\uFFFD\uFFFDs"));
    EXPECT_EQ(stringFromIndex(data, 6), QString::fromUtf8("R\uFFFD\uFFFDs"));
    EXPECT_EQ(stringInRange(data, 0, 5), "Sigur");
}

TEST(DataExtensions, ComponentsSeparatedByByte)
{
    struct Case {
        QByteArray data;
        QList<QByteArray> expected;
    };
    const Case cases[] = {
        {bytes({0, 1, 0, 0, 2, 0}), {QByteArray(), bytes({1}), QByteArray(), bytes({2})}},
        {QByteArray(), {}},
        {bytes({0}), {QByteArray()}},
        {bytes({1, 2}), {bytes({1, 2})}},
        {bytes({1, 0, 2}), {bytes({1}), bytes({2})}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(componentsSeparatedByByte(c.data, 0), c.expected) << c.data.toHex().constData();
}

TEST(DataExtensions, ComponentsSeparatedByText)
{
    const QList<QByteArray> pieces = {"a", "b", "", "c"};
    EXPECT_EQ(componentsSeparatedByString("a, b, , c", ", "), pieces);
    EXPECT_EQ(componentsSeparatedByData("a, b, , c", ", "), pieces);
    EXPECT_EQ(componentsSeparatedByString("", "|"), QList<QByteArray>{QByteArray()});
    EXPECT_EQ(componentsSeparatedByString("a|b", ""), QList<QByteArray>{"a|b"});
    EXPECT_EQ(componentsSeparatedByString("M\xc3\xb6|x", "|"), (QList<QByteArray>{"M??", "x"}));
}

TEST(DataExtensions, IndexOfData)
{
    struct Case {
        QByteArray data;
        QByteArray pattern;
        qsizetype from;
        qsizetype expected;
    };
    const Case cases[] = {
        {"abcabc", "bc", 0, 1},
        {"abcabc", "bc", 2, 4},
        {"abcabc", "bc", 5, -1},
        {"abcabc", "abcabc", 0, 0},
        {"abc", "abcd", 0, -1},
        {"", "a", 0, -1},
        {"abc", "", 1, 1},
        {"abc", "", 3, 3},
        {"abc", "", 4, -1},
        {"abc", "a", -1, -1},
        {"abc", "c", std::numeric_limits<qsizetype>::max(), -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(indexOfDataFromIndex(c.data, c.pattern, c.from), c.expected)
            << c.data.constData() << " / " << c.pattern.constData() << " from " << c.from;
    }
    EXPECT_EQ(indexOfData("xyz", "z"), 2);
    EXPECT_EQ(indexOfString("Sigur R\xc3\xb3s", "R"), 6);
    EXPECT_EQ(indexOfStringFromIndex("a\r\nb\r\n", "\r\n", 2), 4);
}

TEST(DataExtensions, GetDataUpToDataIncludesTheSeparator)
{
    const QByteArray data = bytes({9, 9, 7, 8, 5, 7, 8});
    const QByteArray separator = bytes({7, 8});
    EXPECT_EQ(getDataUpToDataFromIndex(data, separator, 2), bytes({7, 8}));
    EXPECT_EQ(getDataUpToData(data, separator), bytes({9, 9, 7, 8}));
    EXPECT_EQ(getDataUpToDataFromIndex(data, separator, 3), bytes({8, 5, 7, 8}));
    EXPECT_EQ(getDataUpToDataFromIndex(data, separator, 6), std::nullopt);
    EXPECT_EQ(getDataUpToDataFromIndex(data, separator, 40), std::nullopt);
    EXPECT_EQ(getDataUpToData(data, bytes({8, 7})), std::nullopt);

    EXPECT_EQ(getDataUpToString("HTTP/1.0 200\r\nrest", "\r\n"), QByteArray("HTTP/1.0 200\r\n"));
    EXPECT_EQ(getDataUpToStringFromIndex("a;b;c", ";", 2), QByteArray("b;"));
}

TEST(DataExtensions, DataByAppendingDataChangesAndAnswersTheReceiver)
{
    QByteArray data("ab");
    QByteArray& answer = dataByAppendingData(data, "cd");
    EXPECT_EQ(&answer, &data);
    EXPECT_EQ(data, QByteArray("abcd"));
}
