#include "ui/main/bitmap_strikes.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QtEndian>
#include <QtTest>

// The splitter runs on the compiled-in design font, so the tests take it as their sample and
// damage copies of it.

namespace {

QByteArray designFont()
{
    QFile file(QStringLiteral(":/main/fonts/ms_sans_serif.ttf"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 u32(const QByteArray &data, qsizetype at)
{
    return qFromBigEndian<quint32>(data.constData() + at);
}

// The position of a table's directory record, or -1.
qsizetype record(const QByteArray &font, const char *tag)
{
    const int count = qFromBigEndian<quint16>(font.constData() + 4);
    for (int i = 0; i < count; ++i) {
        if (font.mid(12 + 16 * i, 4) == tag)
            return 12 + 16 * i;
    }
    return -1;
}

// The TrueType checksum of a whole font: 0xB1B0AFBA once head's adjustment is right.
quint32 checksum(const QByteArray &font)
{
    quint32 sum = 0;
    for (qsizetype at = 0; at + 4 <= font.size(); at += 4)
        sum += u32(font, at);
    return sum;
}

enum class Field {
    TableCount,
    EblcOffset,
    EblcLength,
    EblcTag,
    EbdtTag,
    StrikeCount,
    ArrayOffset,
    ArraySize,
    PixelsPerEm
};

void patch(QByteArray &font, Field field, quint32 value)
{
    const qsizetype eblc = record(font, "EBLC");
    const qsizetype table = u32(font, eblc + 8);
    qsizetype at = 0;
    switch (field) {
    case Field::TableCount:
        qToBigEndian(quint16(value), font.data() + 4);
        return;
    case Field::EblcOffset:
        at = eblc + 8;
        break;
    case Field::EblcLength:
        at = eblc + 12;
        break;
    case Field::EblcTag:
        at = eblc;
        break;
    case Field::EbdtTag:
        at = record(font, "EBDT");
        break;
    case Field::StrikeCount:
        at = table + 4;
        break;
    case Field::ArrayOffset:
        at = table + 8;
        break;
    case Field::ArraySize:
        at = table + 12;
        break;
    case Field::PixelsPerEm:
        font[table + 8 + 45] = char(value);
        return;
    }
    qToBigEndian(value, font.data() + at);
}

} // namespace

class TestBitmapStrikes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void splitsEveryStrike();
    void refusesDamagedFonts_data();
    void refusesDamagedFonts();
    void survivesTruncationAndCorruption();

private:
    QByteArray m_font;
};

void TestBitmapStrikes::initTestCase()
{
    m_font = designFont();
    if (m_font.isEmpty())
        QSKIP("the design font is not compiled in");
}

// Each strike becomes a whole, consistent font that Qt offers at that strike's pixel size.
void TestBitmapStrikes::splitsEveryStrike()
{
    const std::vector<BitmapStrike> strikes = splitBitmapStrikes(m_font);
    QCOMPARE(strikes.size(), std::size_t(3));
    const int sizes[] = { 13, 16, 20 };
    const int ascents[] = { 11, 13, 16 };
    for (std::size_t i = 0; i < strikes.size(); ++i) {
        const BitmapStrike &strike = strikes[i];
        QCOMPARE(strike.pixelSize, sizes[i]);
        QCOMPARE(strike.ascent, ascents[i]);
        QCOMPARE(checksum(strike.font), 0xB1B0AFBAu);
        QCOMPARE(record(strike.font, "EBSC"), qsizetype(-1));
        const std::vector<BitmapStrike> again = splitBitmapStrikes(strike.font);
        QCOMPARE(again.size(), std::size_t(1));
        QCOMPARE(again.front().pixelSize, sizes[i]);
        QCOMPARE(again.front().ascent, ascents[i]);
        QCOMPARE(again.front().font, strike.font);

        const int id = QFontDatabase::addApplicationFontFromData(strike.font);
        QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList { "MS Sans Serif" });
    }
    for (const int size : sizes) {
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPixelSize(size);
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(QFontInfo(font).pixelSize(), size);
        QCOMPARE(QFontMetrics(font).height(), size);
    }
}

void TestBitmapStrikes::refusesDamagedFonts_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<quint32>("value");
    QTest::newRow("no tables") << Field::TableCount << 0u;
    QTest::newRow("more tables than bytes") << Field::TableCount << 0xFFFFu;
    QTest::newRow("strike table beyond the end") << Field::EblcOffset << 0xFFFFFFF0u;
    QTest::newRow("strike table longer than the font") << Field::EblcLength << 0x7FFFFFFFu;
    QTest::newRow("strike table shorter than its header") << Field::EblcLength << 7u;
    QTest::newRow("no strike table") << Field::EblcTag << 0x45424C58u; // "EBLX"
    QTest::newRow("no glyph data") << Field::EbdtTag << 0x45424458u;   // "EBDX"
    QTest::newRow("no strikes") << Field::StrikeCount << 0u;
    QTest::newRow("more strikes than the table holds") << Field::StrikeCount << 0xFFFFFFFFu;
    QTest::newRow("index array beyond the table") << Field::ArrayOffset << 0xFFFFFFFFu;
    QTest::newRow("index array longer than the table") << Field::ArraySize << 0x10000u;
    QTest::newRow("strike of no size") << Field::PixelsPerEm << 0u;
}

void TestBitmapStrikes::refusesDamagedFonts()
{
    QFETCH(Field, field);
    QFETCH(quint32, value);
    QByteArray font = m_font;
    patch(font, field, value);
    QVERIFY(splitBitmapStrikes(font).empty());
}

// Every prefix and every single damaged byte of the font's directory and strike table: the
// splitter reads nothing outside the data (the sanitizer build watches) and whatever it returns
// is a font of one strike.
void TestBitmapStrikes::survivesTruncationAndCorruption()
{
    for (qsizetype size = 0; size < m_font.size(); size += 3)
        QVERIFY(splitBitmapStrikes(m_font.left(size)).empty());

    const qsizetype eblc = u32(m_font, record(m_font, "EBLC") + 8);
    std::vector<qsizetype> positions;
    const int tables = qFromBigEndian<quint16>(m_font.constData() + 4);
    for (qsizetype at = 0; at < 12 + 16 * tables; ++at)
        positions.push_back(at);
    for (qsizetype at = eblc; at < eblc + 8 + 3 * 48; ++at)
        positions.push_back(at);
    int split = 0;
    for (const qsizetype at : positions) {
        for (const char byte : { '\x00', '\x7F', '\xFF' }) {
            QByteArray font = m_font;
            font[at] = byte;
            for (const BitmapStrike &strike : splitBitmapStrikes(font)) {
                QCOMPARE(splitBitmapStrikes(strike.font).size(), std::size_t(1));
                ++split;
            }
        }
    }
    QVERIFY(split > 0);
}

QTEST_MAIN(TestBitmapStrikes)
#include "tst_bitmap_strikes.moc"
