// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Small operations on text that the rest of the system calls as if they were QString's own.
namespace StringExtensions {

// A set of characters, asked one Unicode code point at a time.
using CharacterSet = std::function<bool(char32_t)>;

// The set of the code points of the given text (surrogate pairs count as one character).
CharacterSet characterSetWithCharactersInString(const QString& characters);
// Every Unicode space and separator, tab and line break.
CharacterSet whitespaceAndNewlineCharacterSet();

// Each space becomes "%20"; every other character, '%' included, stays as it is.
QString stringByEscapingString(const QString& text);
// UTF-8 percent-encoding of every byte outside A-Z a-z 0-9 - . _ ~ (upper-case hex):
// the encoder for an artist name pasted into an address.
QString stringByEscapingURLComponent(const QString& text);

// Removes whitespace and line breaks everywhere in the text, not only at its ends.
QString stringByStrippingWhitespace(const QString& text);
// The characters of the text, in order, that are not members of the set.
QString stringByStrippingCharactersInSet(const QString& text, const CharacterSet& set);

// False for an empty substring.
bool containsSubstring(const QString& text, const QString& substring);
bool containsSubstringCaseInsensitive(const QString& text, const QString& substring);

// Decodes the bytes as ASCII; every byte above 127 becomes U+FFFD.
QString stringWithData(const QByteArray& bytes);
// Encodes the text as ASCII; every character outside ASCII (a surrogate pair is one
// character) becomes '?'.
QByteArray data(const QString& text);

} // namespace StringExtensions
