// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSDataExtensions.h"

#include "RKKit/RKExtensions/NSStringExtensions.h"

#include <QtEndian>

#include <cstring>

namespace DataExtensions {

namespace {

template <typename Integer>
QByteArray bigEndianBytes(Integer value)
{
    QByteArray bytes(qsizetype(sizeof(Integer)), Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray bigEndianBytes(const Byte16& value)
{
    QByteArray bytes;
    bytes.reserve(16);
    for (const quint32 word : value.words)
        bytes.append(bigEndianBytes(word));
    return bytes;
}

bool spanWithin(const QByteArray& data, qsizetype index, qsizetype width)
{
    return index >= 0 && width >= 0 && index <= data.size() && width <= data.size() - index;
}

template <typename Integer>
Integer readBigEndian(const QByteArray& data, qsizetype index)
{
    if (!spanWithin(data, index, qsizetype(sizeof(Integer))))
        return 0;
    return qFromBigEndian<Integer>(data.constData() + index);
}

// Strict ASCII: no bytes at all when a character lies outside ASCII.
std::optional<QByteArray> strictAscii(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() > 127)
            return std::nullopt;
        bytes.append(char(c.unicode()));
    }
    return bytes;
}

} // namespace

void appendChar(QByteArray& data, char value)
{
    data.append(value);
}

void appendByte(QByteArray& data, quint8 value)
{
    data.append(char(value));
}

void appendByte1(QByteArray& data, quint8 value)
{
    appendByte(data, value);
}

void appendShort(QByteArray& data, qint16 value)
{
    data.append(bigEndianBytes(value));
}

void appendByte2(QByteArray& data, quint16 value)
{
    data.append(bigEndianBytes(value));
}

void appendInt(QByteArray& data, qint32 value)
{
    data.append(bigEndianBytes(value));
}

void appendByte4(QByteArray& data, quint32 value)
{
    data.append(bigEndianBytes(value));
}

void appendLongLong(QByteArray& data, qint64 value)
{
    data.append(bigEndianBytes(value));
}

void appendByte8(QByteArray& data, quint64 value)
{
    data.append(bigEndianBytes(value));
}

void appendByte16(QByteArray& data, const Byte16& value)
{
    data.append(bigEndianBytes(value));
}

void appendString(QByteArray& data, const QString& text)
{
    if (const auto bytes = strictAscii(text))
        data.append(*bytes);
}

QByteArray& dataByAppendingData(QByteArray& data, const QByteArray& other)
{
    return data.append(other);
}

void serializeDataAtIndex(QByteArray& data, const QByteArray& bytes, qsizetype index)
{
    if (index < 0 || index > data.size())
        return;
    const qsizetype end = index + bytes.size();
    if (end > data.size())
        data.resize(end);
    if (!bytes.isEmpty())
        std::memcpy(data.data() + index, bytes.constData(), size_t(bytes.size()));
}

void serializeByteAtIndex(QByteArray& data, quint8 value, qsizetype index)
{
    serializeDataAtIndex(data, QByteArray(1, char(value)), index);
}

void serializeByte1AtIndex(QByteArray& data, quint8 value, qsizetype index)
{
    serializeByteAtIndex(data, value, index);
}

void serializeByte2AtIndex(QByteArray& data, quint16 value, qsizetype index)
{
    serializeDataAtIndex(data, bigEndianBytes(value), index);
}

void serializeByte4AtIndex(QByteArray& data, quint32 value, qsizetype index)
{
    serializeDataAtIndex(data, bigEndianBytes(value), index);
}

void serializeByte8AtIndex(QByteArray& data, quint64 value, qsizetype index)
{
    serializeDataAtIndex(data, bigEndianBytes(value), index);
}

void serializeByte16AtIndex(QByteArray& data, const Byte16& value, qsizetype index)
{
    serializeDataAtIndex(data, bigEndianBytes(value), index);
}

void serializeStringAtIndex(QByteArray& data, const QString& text, qsizetype index)
{
    if (const auto bytes = strictAscii(text))
        serializeDataAtIndex(data, *bytes, index);
}

quint8 deserializeByteAtIndex(const QByteArray& data, qsizetype index)
{
    return readBigEndian<quint8>(data, index);
}

quint8 deserializeByte1AtIndex(const QByteArray& data, qsizetype index)
{
    return deserializeByteAtIndex(data, index);
}

quint16 deserializeByte2AtIndex(const QByteArray& data, qsizetype index)
{
    return readBigEndian<quint16>(data, index);
}

quint32 deserializeByte4AtIndex(const QByteArray& data, qsizetype index)
{
    return readBigEndian<quint32>(data, index);
}

quint64 deserializeByte8AtIndex(const QByteArray& data, qsizetype index)
{
    return readBigEndian<quint64>(data, index);
}

Byte16 deserializeByte16AtIndex(const QByteArray& data, qsizetype index)
{
    Byte16 value;
    if (!spanWithin(data, index, 16))
        return value;
    for (qsizetype i = 0; i < 4; ++i)
        value.words[i] = readBigEndian<quint32>(data, index + 4 * i);
    return value;
}

QByteArray dataInRange(const QByteArray& data, qsizetype location, qsizetype length)
{
    if (!spanWithin(data, location, length))
        return QByteArray();
    return data.mid(location, length);
}

QByteArray deserializeDataAtIndex(const QByteArray& data, qsizetype index)
{
    return dataInRange(data, index, index >= 0 ? data.size() - index : 0);
}

QByteArray dataFromIndex(const QByteArray& data, qsizetype index)
{
    return deserializeDataAtIndex(data, index);
}

QString stringInRange(const QByteArray& data, qsizetype location, qsizetype length)
{
    return StringExtensions::stringWithData(dataInRange(data, location, length));
}

QString deserializeStringAtIndex(const QByteArray& data, qsizetype index)
{
    return StringExtensions::stringWithData(deserializeDataAtIndex(data, index));
}

QString stringFromIndex(const QByteArray& data, qsizetype index)
{
    return deserializeStringAtIndex(data, index);
}

QString string(const QByteArray& data)
{
    return StringExtensions::stringWithData(data);
}

QList<QByteArray> componentsSeparatedByByte(const QByteArray& data, char separator)
{
    QList<QByteArray> pieces;
    QByteArray current;
    bool open = false;
    for (const char byte : data) {
        if (byte == separator) {
            pieces.append(current);
            current.clear();
            open = false;
        } else {
            current.append(byte);
            open = true;
        }
    }
    if (open)
        pieces.append(current);
    return pieces;
}

QList<QByteArray> componentsSeparatedByString(const QByteArray& data, const QString& separator)
{
    const QString text = StringExtensions::stringWithData(data);
    if (separator.isEmpty())
        return {StringExtensions::data(text)};
    QList<QByteArray> pieces;
    for (const QString& piece : text.split(separator))
        pieces.append(StringExtensions::data(piece));
    return pieces;
}

QList<QByteArray> componentsSeparatedByData(const QByteArray& data, const QByteArray& separator)
{
    return componentsSeparatedByString(data, StringExtensions::stringWithData(separator));
}

qsizetype indexOfDataFromIndex(const QByteArray& data, const QByteArray& pattern, qsizetype index)
{
    if (index < 0)
        return -1;
    const qsizetype last = data.size() - pattern.size();
    for (qsizetype i = index; i <= last; ++i) {
        if (pattern.isEmpty() || std::memcmp(data.constData() + i, pattern.constData(), size_t(pattern.size())) == 0)
            return i;
    }
    return -1;
}

qsizetype indexOfData(const QByteArray& data, const QByteArray& pattern)
{
    return indexOfDataFromIndex(data, pattern, 0);
}

qsizetype indexOfStringFromIndex(const QByteArray& data, const QString& pattern, qsizetype index)
{
    return indexOfDataFromIndex(data, StringExtensions::data(pattern), index);
}

qsizetype indexOfString(const QByteArray& data, const QString& pattern)
{
    return indexOfStringFromIndex(data, pattern, 0);
}

std::optional<QByteArray> getDataUpToDataFromIndex(const QByteArray& data, const QByteArray& separator,
                                                   qsizetype index)
{
    const qsizetype found = indexOfDataFromIndex(data, separator, index);
    if (found < 0)
        return std::nullopt;
    return data.mid(index, found + separator.size() - index);
}

std::optional<QByteArray> getDataUpToData(const QByteArray& data, const QByteArray& separator)
{
    return getDataUpToDataFromIndex(data, separator, 0);
}

std::optional<QByteArray> getDataUpToStringFromIndex(const QByteArray& data, const QString& separator,
                                                     qsizetype index)
{
    return getDataUpToDataFromIndex(data, StringExtensions::data(separator), index);
}

std::optional<QByteArray> getDataUpToString(const QByteArray& data, const QString& separator)
{
    return getDataUpToStringFromIndex(data, separator, 0);
}

} // namespace DataExtensions
