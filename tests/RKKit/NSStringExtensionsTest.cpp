// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSFileHandleExtensions.h"
#include "RKKit/RKExtensions/NSStringExtensions.h"

#include <gtest/gtest.h>

#include <QBuffer>

using namespace StringExtensions;

namespace {

struct TextCase {
    QString input;
    QString expected;
};

} // namespace

TEST(StringExtensions, EscapingTurnsEachSpaceIntoPercent20AndNothingElse)
{
    const TextCase cases[] = {
        {"Pink Floyd", "Pink%20Floyd"},
        {"Radiohead", "Radiohead"},
        {"a  b", "a%20%20b"},
        {" lead", "%20lead"},
        {"trail ", "trail%20"},
        {"100% & more", "100%%20&%20more"},
        {"AC/DC?#+", "AC/DC?#+"},
        {QString::fromUtf8("Sigur Rós"), QString::fromUtf8("Sigur%20Rós")},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stringByEscapingString(c.input), c.expected) << qPrintable(c.input);
}

TEST(StringExtensions, UrlComponentEncodingEscapesEveryReservedAndNonAsciiByte)
{
    const TextCase cases[] = {
        {"Pink Floyd", "Pink%20Floyd"},
        {"Simon & Garfunkel", "Simon%20%26%20Garfunkel"},
        {QString::fromUtf8("Björk"), "Bj%C3%B6rk"},
        {"AC/DC", "AC%2FDC"},
        {"100%", "100%25"},
        {"a+b?c#d=e", "a%2Bb%3Fc%23d%3De"},
        {"Az09-._~", "Az09-._~"},
        {QString::fromUtf8("🎸"), "%F0%9F%8E%B8"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stringByEscapingURLComponent(c.input), c.expected) << qPrintable(c.input);
}

TEST(StringExtensions, StrippingWhitespaceRemovesItEverywhere)
{
    const TextCase cases[] = {
        {" a b\tc\nd\r\n ", "abcd"},
        {"  \n\t\r ", ""},
        {QString::fromUtf8("no\u00a0break\u2028line\u2003em"), "nobreaklineem"},
        {"Mogwai", "Mogwai"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stringByStrippingWhitespace(c.input), c.expected) << qPrintable(c.input);
}

TEST(StringExtensions, StrippingASetKeepsOtherCharactersWhole)
{
    struct Case {
        QString text;
        QString members;
        QString expected;
    };
    const Case cases[] = {
        // Characters above 255 are kept as they are, not squeezed through 8 bits.
        {QString::fromUtf8("中文 ö"), "o", QString::fromUtf8("中文 ö")},
        {QString::fromUtf8("Mötörhead"), QString::fromUtf8("ö"), "Mtrhead"},
        // A member outside the BMP is one character; its neighbour sharing the same high
        // surrogate is a different one and stays.
        {QString::fromUtf8("a🎸b🎹c"), QString::fromUtf8("🎸"), QString::fromUtf8("ab🎹c")},
        {QString::fromUtf8("a🎸a"), "a", QString::fromUtf8("🎸")},
        {"abcabc", "", "abcabc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stringByStrippingCharactersInSet(c.text, characterSetWithCharactersInString(c.members)), c.expected)
            << qPrintable(c.text);
    }
}

TEST(StringExtensions, SubstringTests)
{
    struct Case {
        QString text;
        QString substring;
        bool sensitive;
        bool insensitive;
    };
    const Case cases[] = {
        {"The Beatles", "Beat", true, true},
        {"The Beatles", "beat", false, true},
        {"The Beatles", "Stones", false, false},
        {"The Beatles", "", false, false},
        {"", "", false, false},
        {QString::fromUtf8("MÖTLEY"), QString::fromUtf8("mötley"), false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(containsSubstring(c.text, c.substring), c.sensitive) << qPrintable(c.substring);
        EXPECT_EQ(containsSubstringCaseInsensitive(c.text, c.substring), c.insensitive) << qPrintable(c.substring);
    }
}

TEST(StringExtensions, AsciiConversionsSubstituteWhatAsciiCannotHold)
{
    EXPECT_EQ(stringWithData(QByteArray("Beck\x00!", 6)), QString::fromLatin1("Beck\0!", 6));
    EXPECT_EQ(stringWithData(QByteArray("Bj\xc3\xb6rk")), QString::fromUtf8("Bj\uFFFD\uFFFDrk"));

    EXPECT_EQ(data("Beck"), QByteArray("Beck"));
    EXPECT_EQ(data(QString::fromUtf8("Björk")), QByteArray("Bj?rk"));
    EXPECT_EQ(data(QString::fromUtf8("x🎸y")), QByteArray("x?y"));
}

TEST(FileHandleExtensions, WriteStringWritesLossyAscii)
{
    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    FileHandleExtensions::writeString(&buffer, QString::fromUtf8("Björk\n"));
    FileHandleExtensions::writeString(&buffer, "Low");
    EXPECT_EQ(buffer.data(), QByteArray("Bj?rk\nLow"));

    QBuffer closed;
    FileHandleExtensions::writeString(&closed, "ignored");
    FileHandleExtensions::writeString(nullptr, "ignored");
    EXPECT_TRUE(closed.data().isEmpty());
}
