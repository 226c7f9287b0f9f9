#include "flags/flag_model.h"

#include <QtTest>

#include <algorithm>
#include <string>

using namespace flags;

Q_DECLARE_METATYPE(std::string)

namespace {

QString q(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

FlagSet setOf(const std::vector<int> &indices)
{
    FlagSet set {};
    for (int i : indices)
        set[i] = true;
    return set;
}

int count(std::string_view text, std::string_view part)
{
    int n = 0;
    for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

class TestFlagModel : public QObject
{
    Q_OBJECT

private slots:
    void catalogue_data();
    void catalogue();
    void outOfRangeLookupsAreEmpty();

    void everyValueRoundTrips();
    void decompose_data();
    void decompose();
    void remainder_data();
    void remainder();
    void filter();

    void detailText_data();
    void detailText();
    void detailTextsAreSevenBitWithCrLfBreaksOnly();
    void fwoNote();
};

void TestFlagModel::catalogue_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("description");

    QTest::addRow("0") << 0 << "1"
                       << "Flips texture co-ordinates left-right";
    QTest::addRow("1") << 1 << "2"
                       << "Maps texture once left-right, wall doesn't split at traces";
    QTest::addRow("2") << 2 << "4"
                       << "Creates wall from triangles instead of quads";
    QTest::addRow("3") << 3 << "8"
                       << "Texture is mapped once, stretching to fit, laterally and longitudinally";
    QTest::addRow("4") << 4 << "16"
                       << "Creates polygons on inside base of walls-with-height";
    QTest::addRow("5") << 5 << "32"
                       << "Adds polygons to front end of walls-with-height";
    QTest::addRow("6") << 6 << "64"
                       << "Adds polygons to back end of walls-with-height";
    QTest::addRow("7") << 7 << "128"
                       << "Creates upside-down polygons just under track surface";
    QTest::addRow("8") << 8 << "256"
                       << "Don't split this wall longitudinally (will override 2048 and 4096)";
    QTest::addRow("9") << 9 << "512"
                       << "Maps texture once left-right, wall splits at traces.";
    QTest::addRow("10") << 10 << "1024"
                        << "Used for clipping help, usually in sections with elevations.";
    QTest::addRow("11") << 11 << "2048"
                        << "[FWO] Increases number of wall polygons longitudinally by 5 times";
    QTest::addRow("12") << 12 << "4096"
                        << "[FWO] Increases number of wall polygons longitudinally by 2 times";
    QTest::addRow("13")
        << 13 << "8192"
        << "[FWO] Increases number of groove polygons in this section to one every 2m";
    QTest::addRow("14") << 14 << "16384"
                        << "[FWO] Creates one groove polygon for this section";
    QTest::addRow("15") << 15 << "32768"
                        << "Turns off back facing polygons on walls-with-height";
    QTest::addRow("16") << 16 << "65536"
                        << "[FWO] Reduces corner resolution by half";
    QTest::addRow("17") << 17 << "131072"
                        << "Turns off top polygons on this wall";
    QTest::addRow("18")
        << 18 << "262144"
        << "[FWO] Adds ceiling polygons to all walls in this section at the height of wall 0";
    QTest::addRow("19") << 19 << "524288"
                        << "Overrides 262144 for this wall only";
}

void TestFlagModel::catalogue()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, description);

    QCOMPARE(q(flags::caption(index)), caption);
    QCOMPARE(q(flags::description(index)), description);
    QCOMPARE(flags::value(index), 1u << index);

    // The table has every row once, so the flags add up to the limit.
    std::uint32_t sum = 0;
    for (int i = 0; i < FlagCount; ++i)
        sum += flags::value(i);
    QCOMPARE(sum, Limit);
    QCOMPARE(Limit, 1048575u);
}

void TestFlagModel::outOfRangeLookupsAreEmpty()
{
    for (int i : { -1, FlagCount, 1000, std::numeric_limits<int>::min() }) {
        QCOMPARE(flags::value(i), 0u);
        QVERIFY(flags::caption(i).empty());
        QVERIFY(flags::description(i).empty());
        QVERIFY(flags::detailText(i).empty());
    }
}

// Every value the flags can show: decompose ticks exactly its set bits, highest first, and
// adding the ticked flags back up gives the plain decimal text again.
void TestFlagModel::everyValueRoundTrips()
{
    std::vector<int> expected;
    for (std::uint32_t v = 0; v <= Limit; ++v) {
        const std::string text = std::to_string(v);
        const Decomposition d = flags::decompose(text);

        expected.clear();
        for (int k = FlagCount - 1; k >= 0; --k)
            if (v & (1u << k))
                expected.push_back(k);
        if (d.ticks != expected || !isValid(d) || d.remainder != 0)
            QFAIL(qPrintable(QStringLiteral("%1 does not decompose into its bits").arg(v)));
        if (runningTotal(setOf(d.ticks)) != text)
            QFAIL(qPrintable(QStringLiteral("%1 does not add back up").arg(v)));
    }
}

void TestFlagModel::decompose_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<QList<int>>("ticks");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<bool>("valid");

    QList<int> all;
    for (int k = FlagCount - 1; k >= 0; --k)
        all << k;

    QTest::newRow("0 ticks nothing") << std::string("0") << QList<int> {} << true << true;
    QTest::newRow("000 ticks nothing") << std::string("000") << QList<int> {} << true << true;
    QTest::newRow("1 ticks flag 0") << std::string("1") << QList<int> { 0 } << true << true;
    QTest::newRow("12 ticks 3 then 2") << std::string("12") << QList<int> { 3, 2 } << true << true;
    QTest::newRow("0012 reads as 12") << std::string("0012") << QList<int> { 3, 2 } << true << true;
    QTest::newRow("1040 ticks 10 and 4")
        << std::string("1040") << QList<int> { 10, 4 } << true << true;
    QTest::newRow("524288 ticks 19 only")
        << std::string("524288") << QList<int> { 19 } << true << true;
    QTest::newRow("1048575 ticks all") << std::string("1048575") << all << true << true;
    QTest::newRow("1048576 ticks all, invalid") << std::string("1048576") << all << true << false;
    QTest::newRow("2^64-1 ticks all, invalid")
        << std::string("18446744073709551615") << all << true << false;
    QTest::newRow("2^64 ticks all, invalid")
        << std::string("18446744073709551616") << all << true << false;
    QTest::newRow("10^400 ticks all, invalid")
        << ("1" + std::string(400, '0')) << all << true << false;
    QTest::newRow("million nines ticks all, invalid")
        << std::string(1000000, '9') << all << true << false;
    QTest::newRow("million zeros then 12")
        << (std::string(1000000, '0') + "12") << QList<int> { 3, 2 } << true << true;
    QTest::newRow("million zeros then 1048576")
        << (std::string(1000000, '0') + "1048576") << all << true << false;

    const char *notNumbers[] = { "", " ", " 12", "12 ", "-1", "+5", "1.5", "1e3", "1E3", "12a",
        "0x10", "inf", "nan", "1,000", "\t7", "7\r\n", "\xd9\xa1", "\xef\xbc\x91" };
    for (const char *text : notNumbers)
        QTest::addRow("not a number: \"%s\"", text)
            << std::string(text) << QList<int> {} << false << false;
    QTest::newRow("not a number: embedded NUL") << std::string("1\0"
                                                               "2",
        3) << QList<int> {} << false << false;
}

void TestFlagModel::decompose()
{
    QFETCH(std::string, text);
    QFETCH(QList<int>, ticks);
    QFETCH(bool, isNumber);
    QFETCH(bool, valid);

    const Decomposition d = flags::decompose(text);
    QCOMPARE(QList<int>(d.ticks.begin(), d.ticks.end()), ticks);
    QCOMPARE(d.isNumber, isNumber);
    QCOMPARE(isValid(d), valid);
    if (isNumber)
        QCOMPARE(d.remainder != 0, !valid);
}

void TestFlagModel::remainder_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<quint64>("remainder");

    QTest::newRow("1048576") << std::string("1048576") << quint64(1);
    QTest::newRow("2000000") << std::string("2000000") << quint64(951425);
    QTest::newRow("2^32-1") << std::string("4294967295") << quint64(4293918720);
    QTest::newRow("2^64-1") << std::string("18446744073709551615")
                            << quint64(18446744073708503040u);
    // Beyond 64 bits the value saturates: still far from zero, so still invalid.
    QTest::newRow("2^64") << std::string("18446744073709551616") << quint64(18446744073708503040u);
}

// Above the limit, what is left after all twenty flags is the value less the limit.
void TestFlagModel::remainder()
{
    QFETCH(std::string, text);
    QFETCH(quint64, remainder);

    QCOMPARE(quint64(flags::decompose(text).remainder), remainder);
}

void TestFlagModel::filter()
{
    for (char32_t code = 0; code < 256; ++code)
        QCOMPARE(acceptsCharacter(code), code >= '0' && code <= '9');
    // Digits of other scripts and the full-width digits are not ASCII digits.
    for (char32_t code : { U'\u0661', U'\u0966', U'\uFF11', U'\U0001D7CF', char32_t(0x30 + 0x100) })
        QVERIFY(!acceptsCharacter(code));
}

void TestFlagModel::detailText_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("bytes");

    // Lines, and bytes with two for each CR LF: a dropped full stop or a lost space of a double
    // one changes the count.
    const int lines[FlagCount] = { 1, 3, 2, 1, 1, 1, 1, 1, 3, 3, 2, 4, 4, 4, 4, 1, 3, 1, 2, 2 };
    const int bytes[FlagCount] = { 37, 383, 152, 161, 215, 107, 108, 170, 402, 313, 674, 441, 364,
        315, 242, 386, 459, 142, 260, 123 };
    for (int i = 0; i < FlagCount; ++i)
        QTest::addRow("flag %d", i) << i << lines[i] << bytes[i];
}

void TestFlagModel::detailText()
{
    QFETCH(int, index);
    QFETCH(int, lines);
    QFETCH(int, bytes);

    const std::string text = flags::detailText(index);
    QCOMPARE(int(text.size()), bytes);
    QCOMPARE(count(text, "\r\n"), lines - 1);
    QCOMPARE(count(text, "\r"), lines - 1);
    QCOMPARE(count(text, "\n"), lines - 1);
    QVERIFY(text.rfind("\r\n", 0) != 0);
    QVERIFY(text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0);
    QVERIFY(text.find("\r\n\r\n") == std::string::npos);

    const bool fwo = flags::description(index).rfind("[FWO]", 0) == 0;
    QCOMPARE(text.rfind("[FWO] ", 0) == 0, fwo);

    switch (index) {
    case 0:
        QCOMPARE(text, std::string(flags::description(0)));
        break;
    case 2:
        QCOMPARE(text,
            std::string("Creates this wall from triangles instead of quads.\r\n"
                        "However, if a polygon is found to be non-co-planar, it "
                        "will automatically be created from triangles."));
        break;
    case 6:
        QVERIFY(text.find("end.  TEX Setting: 5.   See also") != std::string::npos);
        break;
    case 8:
        QVERIFY(text.find("This will save FPS." + std::string(37, ' ')
                    + "See also - flags 2048, "
                      "4096.")
            != std::string::npos);
        QVERIFY(text.find("FPS." + std::string(38, ' ')) == std::string::npos);
        break;
    case 10:
        QVERIFY(text.size() > 3 && text.compare(text.size() - 3, 3, ":-|") == 0);
        break;
    case 16: {
        const auto first = text.find("\r\n"), second = text.find("\r\n", first + 2);
        QVERIFY(text.rfind("[FWO] By default,", 0) == 0);
        QVERIFY(text.compare(first + 2, 12, "1) Decreases") == 0);
        QVERIFY(text.compare(second + 2, 12, "2) Decreases") == 0);
        break;
    }
    default:
        break;
    }
}

void TestFlagModel::detailTextsAreSevenBitWithCrLfBreaksOnly()
{
    for (int i = 0; i < FlagCount; ++i) {
        const std::string text = flags::detailText(i);
        for (std::size_t at = 0; at < text.size(); ++at) {
            const unsigned char c = static_cast<unsigned char>(text[at]);
            const bool printable = c >= 0x20 && c < 0x7f;
            const bool crlf = (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
                || (c == '\n' && at > 0 && text[at - 1] == '\r');
            if (!printable && !crlf)
                QFAIL(
                    qPrintable(QStringLiteral("flag %1 has byte %2 at %3").arg(i).arg(c).arg(at)));
        }
    }
}

void TestFlagModel::fwoNote()
{
    QCOMPARE(q(flags::fwoNote()),
        QStringLiteral("[FWO] means First Wall Only - you should only use this flag on "
                       "Wall #0 of a section - it will have no effect when applied to other "
                       "walls."));
}

QTEST_APPLESS_MAIN(TestFlagModel)
#include "tst_flag_model.moc"
