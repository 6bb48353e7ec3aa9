// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSStringExtensions.h"

#include <QUrl>

namespace StringExtensions {

namespace {

// Calls visit(codePoint, position, length) for each character; an unpaired surrogate
// is a character of its own.
template <typename Visit>
void forEachCodePoint(const QString& text, Visit visit)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            visit(QChar::surrogateToUcs4(c, text.at(i + 1)), i, qsizetype(2));
            i += 2;
        } else {
            visit(char32_t(c.unicode()), i, qsizetype(1));
            i += 1;
        }
    }
}

} // namespace

CharacterSet characterSetWithCharactersInString(const QString& characters)
{
    std::u32string members;
    forEachCodePoint(characters, [&](char32_t cp, qsizetype, qsizetype) { members.push_back(cp); });
    return [members = std::move(members)](char32_t cp) { return members.find(cp) != std::u32string::npos; };
}

CharacterSet whitespaceAndNewlineCharacterSet()
{
    return [](char32_t cp) { return QChar::isSpace(cp); };
}

QString stringByEscapingString(const QString& text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char(' '), QLatin1String("%20"));
}

QString stringByEscapingURLComponent(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QString stringByStrippingWhitespace(const QString& text)
{
    return stringByStrippingCharactersInSet(text, whitespaceAndNewlineCharacterSet());
}

QString stringByStrippingCharactersInSet(const QString& text, const CharacterSet& set)
{
    QString kept;
    kept.reserve(text.size());
    forEachCodePoint(text, [&](char32_t cp, qsizetype position, qsizetype length) {
        if (!set || !set(cp))
            kept.append(QStringView(text).mid(position, length));
    });
    return kept;
}

bool containsSubstring(const QString& text, const QString& substring)
{
    return !substring.isEmpty() && text.contains(substring, Qt::CaseSensitive);
}

bool containsSubstringCaseInsensitive(const QString& text, const QString& substring)
{
    return !substring.isEmpty() && text.contains(substring, Qt::CaseInsensitive);
}

QString stringWithData(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text.append(value < 128 ? QChar(value) : QChar(QChar::ReplacementCharacter));
    }
    return text;
}

QByteArray data(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    forEachCodePoint(text, [&](char32_t cp, qsizetype, qsizetype) {
        bytes.append(cp < 128 ? char(cp) : '?');
    });
    return bytes;
}

} // namespace StringExtensions
