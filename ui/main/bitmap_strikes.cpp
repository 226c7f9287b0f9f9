#include "ui/main/bitmap_strikes.h"

#include <QtEndian>

#include <algorithm>
#include <cstdint>

// The parts of the TrueType format used here (all numbers big-endian):
//   font header   12 bytes: version, table count (u16 at 4), three search fields
//   table record  16 bytes each from 12: tag, checksum, offset, length
//   EBLC          version (u32), strike count (u32), then a 48-byte record per strike:
//                 offset of its index array (u32, from the table's start), size of the index
//                 array and its subtables (u32), ..., the ascent of horizontal text (s8 at
//                 16), ..., pixels per em (u8 at 44 and 45), ...
// A strike's index array and subtables form one block, and the subtables are addressed from
// the array's start, so the block moves as a whole. Their glyph offsets point into EBDT, which
// every single-strike font keeps whole.

namespace {

constexpr int HeaderSize = 12;
constexpr int RecordSize = 16;
constexpr int StrikeRecordSize = 48;
constexpr int StrikesStart = 8;

struct Table
{
    quint32 tag;
    QByteArray data;
};

constexpr quint32 tag(const char (&name)[5])
{
    return quint32(quint8(name[0])) << 24 | quint32(quint8(name[1])) << 16
        | quint32(quint8(name[2])) << 8 | quint32(quint8(name[3]));
}

quint32 u32(const QByteArray &data, qsizetype at)
{
    return qFromBigEndian<quint32>(data.constData() + at);
}

quint16 u16(const QByteArray &data, qsizetype at)
{
    return qFromBigEndian<quint16>(data.constData() + at);
}

void putU32(QByteArray &data, qsizetype at, quint32 value)
{
    qToBigEndian(value, data.data() + at);
}

void appendU16(QByteArray &data, quint16 value)
{
    char bytes[2];
    qToBigEndian(value, bytes);
    data.append(bytes, 2);
}

void appendU32(QByteArray &data, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    data.append(bytes, 4);
}

// The TrueType checksum: the sum of the big-endian 32-bit words, the last one zero-padded.
// It runs over every table of every strike at start-up, so whole words are read in place.
quint32 checksum(const QByteArray &data)
{
    quint32 sum = 0;
    const qsizetype whole = data.size() - data.size() % 4;
    for (qsizetype at = 0; at < whole; at += 4)
        sum += u32(data, at);
    if (whole < data.size()) {
        char last[4] = {};
        std::copy(data.constData() + whole, data.constData() + data.size(), last);
        sum += qFromBigEndian<quint32>(last);
    }
    return sum;
}

// Whether [offset, offset + length) lies within size bytes.
bool fits(quint64 offset, quint64 length, quint64 size)
{
    return offset <= size && length <= size - offset;
}

QByteArray assemble(quint32 version, const std::vector<Table> &tables)
{
    const auto count = quint16(tables.size());
    quint16 entrySelector = 0;
    while ((2u << entrySelector) <= count)
        ++entrySelector;
    const auto searchRange = quint16(RecordSize << entrySelector);

    QByteArray font;
    appendU32(font, version);
    appendU16(font, count);
    appendU16(font, searchRange);
    appendU16(font, entrySelector);
    appendU16(font, quint16(count * RecordSize - searchRange));

    QByteArray body;
    qsizetype headAt = -1;
    const qsizetype bodyStart = HeaderSize + qsizetype(count) * RecordSize;
    for (const Table &table : tables) {
        QByteArray data = table.data;
        if (table.tag == tag("head") && data.size() >= 12) {
            putU32(data, 8, 0); // the whole-font checksum adjustment, set below
            headAt = bodyStart + body.size();
        }
        appendU32(font, table.tag);
        appendU32(font, checksum(data));
        appendU32(font, quint32(bodyStart + body.size()));
        appendU32(font, quint32(data.size()));
        body.append(data);
        body.append((4 - data.size() % 4) % 4, '\0');
    }
    font.append(body);
    if (headAt >= 0)
        putU32(font, headAt + 8, 0xB1B0AFBAu - checksum(font));
    return font;
}

} // namespace

std::vector<BitmapStrike> splitBitmapStrikes(const QByteArray &font)
{
    const auto size = quint64(font.size());
    if (size < HeaderSize)
        return {};
    const quint16 count = u16(font, 4);
    if (!fits(HeaderSize, quint64(count) * RecordSize, size))
        return {};

    std::vector<Table> tables;
    bool hasGlyphData = false;
    tables.reserve(count);
    for (quint16 i = 0; i < count; ++i) {
        const qsizetype record = HeaderSize + qsizetype(i) * RecordSize;
        const quint32 tableTag = u32(font, record);
        const quint32 offset = u32(font, record + 8);
        const quint32 length = u32(font, record + 12);
        if (!fits(offset, length, size))
            return {};
        // EBSC maps sizes without a strike of their own onto the strikes; each font made here
        // has one strike and no other size, so it has no use for it.
        if (tableTag == tag("EBSC"))
            continue;
        tables.push_back({ tableTag, font.mid(offset, length) });
        hasGlyphData = hasGlyphData || tableTag == tag("EBDT");
    }
    std::size_t strikeIndex = 0;
    while (strikeIndex < tables.size() && tables[strikeIndex].tag != tag("EBLC"))
        ++strikeIndex;
    if (strikeIndex == tables.size() || !hasGlyphData
        || tables[strikeIndex].data.size() < StrikesStart)
        return {};

    const QByteArray eblc = tables[strikeIndex].data;
    const auto eblcSize = quint64(eblc.size());
    const quint32 strikes = u32(eblc, 4);
    if (strikes == 0 || !fits(StrikesStart, quint64(strikes) * StrikeRecordSize, eblcSize))
        return {};

    std::vector<BitmapStrike> result;
    result.reserve(strikes);
    for (quint32 s = 0; s < strikes; ++s) {
        const qsizetype record = StrikesStart + qsizetype(s) * StrikeRecordSize;
        const quint32 arrayOffset = u32(eblc, record);
        const quint32 arraySize = u32(eblc, record + 4);
        const auto ascent = qint8(eblc[record + 16]);
        const auto pixelSize = quint8(eblc[record + 45]);
        if (!fits(arrayOffset, arraySize, eblcSize) || pixelSize == 0)
            return {};

        QByteArray single = eblc.left(StrikesStart);
        putU32(single, 4, 1);
        single.append(eblc.mid(record, StrikeRecordSize));
        putU32(single, StrikesStart, StrikesStart + StrikeRecordSize);
        single.append(eblc.mid(arrayOffset, arraySize));

        std::vector<Table> own = tables;
        own[strikeIndex].data = single;
        result.push_back({ pixelSize, ascent, assemble(u32(font, 0), own) });
    }
    return result;
}
