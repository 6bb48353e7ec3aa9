// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Fixed-width numbers, pieces and searches in byte buffers. Numbers are stored most
// significant byte first, whatever the processor.
//
// Reads never go past the end: a number read whose bytes do not all lie within the buffer
// answers 0 (a zero record), and a byte range that does not lie within it answers an empty
// buffer or empty text. A write at an index beyond the length does nothing.
//
// Bytes read as text are ASCII, every byte above 127 becoming U+FFFD. Text written with
// appendString / serializeStringAtIndex must be pure ASCII; other text writes nothing.
// Text used as a separator or search pattern is turned into bytes with every character
// outside ASCII as '?'.
namespace DataExtensions {

// Four unsigned 32-bit words, each stored big-endian, first word first.
struct Byte16 {
    quint32 words[4] = {};
    friend bool operator==(const Byte16&, const Byte16&) = default;
};

// Writing at the end.
void appendChar(QByteArray& data, char value);
void appendByte(QByteArray& data, quint8 value);
void appendByte1(QByteArray& data, quint8 value);
void appendShort(QByteArray& data, qint16 value);
void appendByte2(QByteArray& data, quint16 value);
void appendInt(QByteArray& data, qint32 value);
void appendByte4(QByteArray& data, quint32 value);
void appendLongLong(QByteArray& data, qint64 value);
void appendByte8(QByteArray& data, quint64 value);
void appendByte16(QByteArray& data, const Byte16& value);
void appendString(QByteArray& data, const QString& text);
// Appends to the receiver and answers the receiver itself.
QByteArray& dataByAppendingData(QByteArray& data, const QByteArray& other);

// Writing at an index (0 to the length): replaces as many bytes as the value is wide and
// grows the buffer where they run past its end.
void serializeByteAtIndex(QByteArray& data, quint8 value, qsizetype index);
void serializeByte1AtIndex(QByteArray& data, quint8 value, qsizetype index);
void serializeByte2AtIndex(QByteArray& data, quint16 value, qsizetype index);
void serializeByte4AtIndex(QByteArray& data, quint32 value, qsizetype index);
void serializeByte8AtIndex(QByteArray& data, quint64 value, qsizetype index);
void serializeByte16AtIndex(QByteArray& data, const Byte16& value, qsizetype index);
void serializeDataAtIndex(QByteArray& data, const QByteArray& bytes, qsizetype index);
void serializeStringAtIndex(QByteArray& data, const QString& text, qsizetype index);

// Reading numbers.
quint8 deserializeByteAtIndex(const QByteArray& data, qsizetype index);
quint8 deserializeByte1AtIndex(const QByteArray& data, qsizetype index);
quint16 deserializeByte2AtIndex(const QByteArray& data, qsizetype index);
quint32 deserializeByte4AtIndex(const QByteArray& data, qsizetype index);
quint64 deserializeByte8AtIndex(const QByteArray& data, qsizetype index);
Byte16 deserializeByte16AtIndex(const QByteArray& data, qsizetype index);

// Reading bytes and text.
QByteArray deserializeDataAtIndex(const QByteArray& data, qsizetype index);
QByteArray dataFromIndex(const QByteArray& data, qsizetype index);
QString deserializeStringAtIndex(const QByteArray& data, qsizetype index);
QString stringFromIndex(const QByteArray& data, qsizetype index);
QByteArray dataInRange(const QByteArray& data, qsizetype location, qsizetype length);
QString stringInRange(const QByteArray& data, qsizetype location, qsizetype length);
QString string(const QByteArray& data);

// The pieces between occurrences of the byte: a leading separator gives an empty first
// piece, two in a row an empty piece between them, a trailing one no empty last piece;
// an empty buffer gives no pieces.
QList<QByteArray> componentsSeparatedByByte(const QByteArray& data, char separator);
// The buffer read as text and cut at every occurrence of the separator (an empty buffer
// gives one empty piece; an empty separator cuts nothing), each piece back as bytes.
QList<QByteArray> componentsSeparatedByString(const QByteArray& data, const QString& separator);
QList<QByteArray> componentsSeparatedByData(const QByteArray& data, const QByteArray& separator);

// The first index at or after the start where the pattern occurs; -1 when it does not.
// An empty pattern occurs at any start from 0 to the length.
qsizetype indexOfDataFromIndex(const QByteArray& data, const QByteArray& pattern, qsizetype index);
qsizetype indexOfData(const QByteArray& data, const QByteArray& pattern);
qsizetype indexOfStringFromIndex(const QByteArray& data, const QString& pattern, qsizetype index);
qsizetype indexOfString(const QByteArray& data, const QString& pattern);

// The bytes from the start up to and including the first occurrence of the separator at
// or after it; nothing when the separator does not occur.
std::optional<QByteArray> getDataUpToDataFromIndex(const QByteArray& data, const QByteArray& separator,
                                                   qsizetype index);
std::optional<QByteArray> getDataUpToData(const QByteArray& data, const QByteArray& separator);
std::optional<QByteArray> getDataUpToStringFromIndex(const QByteArray& data, const QString& separator,
                                                     qsizetype index);
std::optional<QByteArray> getDataUpToString(const QByteArray& data, const QString& separator);

} // namespace DataExtensions
