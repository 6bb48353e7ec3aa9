// SPDX-License-Identifier: GPL-3.0-or-later
// The byte-buffer extensions on arbitrary buffers, indices, lengths and separators.
#include "RKKit/RKExtensions/NSDataExtensions.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

using namespace DataExtensions;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    // Indices around the buffer's ends matter most; any other value is fair too.
    auto index = [&input] { return qsizetype(input.ConsumeIntegralInRange<int64_t>(-4, 600)); };
    const QByteArray separator = QByteArray::fromStdString(input.ConsumeRandomLengthString(8));
    const QString text = QString::fromStdString(input.ConsumeRandomLengthString(8));
    const qsizetype at = index();
    const qsizetype length = index();
    QByteArray buffer = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());

    (void)deserializeByteAtIndex(buffer, at);
    (void)deserializeByte2AtIndex(buffer, at);
    (void)deserializeByte4AtIndex(buffer, at);
    (void)deserializeByte8AtIndex(buffer, at);
    (void)deserializeByte16AtIndex(buffer, at);
    (void)deserializeDataAtIndex(buffer, at);
    (void)deserializeStringAtIndex(buffer, at);
    (void)stringFromIndex(buffer, at);
    (void)string(buffer);
    if (dataFromIndex(buffer, at).size() > buffer.size() || dataInRange(buffer, at, length).size() > qMax<qsizetype>(length, 0)
        || stringInRange(buffer, at, length).size() > qMax<qsizetype>(length, 0))
        __builtin_trap();
    for (const QByteArray& piece : componentsSeparatedByByte(buffer, separator.isEmpty() ? ',' : separator[0]))
        (void)piece;
    (void)componentsSeparatedByString(buffer, text);
    (void)componentsSeparatedByData(buffer, separator);
    const qsizetype found = indexOfDataFromIndex(buffer, separator, at);
    if (found >= 0 && buffer.mid(found, separator.size()) != separator)
        __builtin_trap();
    (void)indexOfStringFromIndex(buffer, text, at);
    (void)getDataUpToDataFromIndex(buffer, separator, at);
    (void)getDataUpToStringFromIndex(buffer, text, at);

    QByteArray written = buffer;
    serializeByte4AtIndex(written, 0xDEADBEEF, at);
    serializeByte8AtIndex(written, 0x0123456789ABCDEFULL, at);
    serializeDataAtIndex(written, separator, at);
    serializeStringAtIndex(written, text, at);
    appendString(written, text);
    return 0;
}
