#include "core/Cp874.h"
#include "services/TextUtils.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

class TstTextUtils : public QObject
{
    Q_OBJECT

private slots:
    void thaiNumberWords_data();
    void thaiNumberWords();
    void thaiAmounts_data();
    void thaiAmounts();
    void englishNumberWords_data();
    void englishNumberWords();
    void englishAmounts_data();
    void englishAmounts();
    void roundValue_data();
    void roundValue();
    void padding_data();
    void padding();
    void dateParts();
    void cp874AllBytesRoundTrip();
    void cp874Encode_data();
    void cp874Encode();
    void scrambleRoundTrip_data();
    void scrambleRoundTrip();
    void scrambleKnownVector();
    void scrambleRandomFirstCode();
    void userName();
    void workstationIdentity();
};

void TstTextUtils::thaiNumberWords_data()
{
    QTest::addColumn<qint64>("n");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0") << qint64(0) << QString();
    QTest::newRow("negative") << qint64(-21) << QString();
    QTest::newRow("1") << qint64(1) << u"หนึ่ง"_s;
    QTest::newRow("10") << qint64(10) << u"สิบ"_s;
    QTest::newRow("11") << qint64(11) << u"สิบเอ็ด"_s;
    QTest::newRow("20") << qint64(20) << u"ยี่สิบ"_s;
    QTest::newRow("21") << qint64(21) << u"ยี่สิบเอ็ด"_s;
    QTest::newRow("101") << qint64(101) << u"หนึ่งร้อยหนึ่ง"_s;
    QTest::newRow("110") << qint64(110) << u"หนึ่งร้อยสิบ"_s;
    QTest::newRow("1001") << qint64(1001) << u"หนึ่งพันหนึ่ง"_s;
    QTest::newRow("100,000") << qint64(100000) << u"หนึ่งแสน"_s;
    QTest::newRow("1,000,001") << qint64(1000001) << u"หนึ่งล้านหนึ่ง"_s;
    QTest::newRow("2,000,021") << qint64(2000021) << u"สองล้านยี่สิบเอ็ด"_s;
    QTest::newRow("10,000,001") << qint64(10000001) << u"สิบล้านหนึ่ง"_s;
    QTest::newRow("21,000,000") << qint64(21000000) << u"ยี่สิบเอ็ดล้าน"_s;
    QTest::newRow("1,000,000,000") << qint64(1000000000) << u"หนึ่งพันล้าน"_s;
    QTest::newRow("int32 max") << qint64(2147483647)
        << u"สองพันหนึ่งร้อยสี่สิบเจ็ดล้านสี่แสนแปดหมื่นสามพันหกร้อยสี่สิบเจ็ด"_s;
    QTest::newRow("10^12") << qint64(1000000000000) << u"หนึ่งล้านล้าน"_s;
}

void TstTextUtils::thaiNumberWords()
{
    QFETCH(qint64, n);
    QFETCH(QString, expected);
    QCOMPARE(ThaiNumberWords(n), expected);
}

void TstTextUtils::thaiAmounts_data()
{
    QTest::addColumn<bool>("point");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1234.50") << false << 2 << 1234.50
        << u"หนึ่งพันสองร้อยสามสิบสี่บาทห้าสิบสตางค์"_s;
    QTest::newRow("21.00") << false << 2 << 21.0 << u"ยี่สิบเอ็ดบาทถ้วน"_s;
    QTest::newRow("0.25") << false << 2 << 0.25 << u"บาทยี่สิบห้าสตางค์"_s;
    QTest::newRow("zero") << false << 2 << 0.0 << QString();
    QTest::newRow("negative zero") << false << 2 << -0.0 << QString();
    QTest::newRow("rounds to zero") << false << 2 << 0.001 << u"บาทถ้วน"_s;
    QTest::newRow("0.999 carries") << false << 2 << 0.999 << u"หนึ่งบาทถ้วน"_s;
    QTest::newRow("exact tie away") << false << 2 << 0.125 << u"บาทสิบสามสตางค์"_s;
    QTest::newRow("3 decimals 1.005") << false << 3 << 1.005 << u"หนึ่งบาทห้าสตางค์"_s;
    QTest::newRow("0 decimals 21.4") << false << 0 << 21.4 << u"ยี่สิบเอ็ดบาทถ้วน"_s;
    QTest::newRow("0 decimals 21.5") << false << 0 << 21.5 << u"ยี่สิบสองบาทถ้วน"_s;
    QTest::newRow("negative") << false << 2 << -1.25 << u"บาทยี่สิบห้าสตางค์"_s;
    QTest::newRow("million and one satang") << false << 2 << 1000000.01
        << u"หนึ่งล้านบาทหนึ่งสตางค์"_s;
    QTest::newRow("beyond 32 bits") << false << 2 << 5e12 << u"ห้าล้านล้านบาทถ้วน"_s;
    QTest::newRow("nan") << false << 2 << std::numeric_limits<double>::quiet_NaN() << QString();
    QTest::newRow("point 12.50") << true << 2 << 12.50 << u"สิบสองจุดห้าสิบ"_s;
    QTest::newRow("point 12.05") << true << 2 << 12.05 << u"สิบสองจุดห้า"_s;
    QTest::newRow("point whole") << true << 2 << 12.0 << u"สิบสอง"_s;
    QTest::newRow("point 0.5") << true << 1 << 0.5 << u"จุดห้า"_s;
    QTest::newRow("point zero") << true << 0 << 0.0 << QString();
}

void TstTextUtils::thaiAmounts()
{
    QFETCH(bool, point);
    QFETCH(int, decimals);
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(point ? ThaiPointText(decimals, amount) : ThaiBahtText(decimals, amount), expected);
}

void TstTextUtils::englishNumberWords_data()
{
    QTest::addColumn<qint64>("n");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0") << qint64(0) << QString();
    QTest::newRow("negative") << qint64(-3) << QString();
    QTest::newRow("1") << qint64(1) << u"ONE "_s;
    QTest::newRow("11") << qint64(11) << u"ELEVEN "_s;
    QTest::newRow("20") << qint64(20) << u"TWENTY "_s;
    QTest::newRow("21") << qint64(21) << u"TWENTY ONE "_s;
    QTest::newRow("40") << qint64(40) << u"FOURTY "_s;
    QTest::newRow("100") << qint64(100) << u"ONE  HUNDRED "_s;
    QTest::newRow("101") << qint64(101) << u"ONE  HUNDRED ONE "_s;
    QTest::newRow("110") << qint64(110) << u"ONE  HUNDRED TEN "_s;
    QTest::newRow("20,000") << qint64(20000) << u"TWENTY  THOUSAND "_s;
    QTest::newRow("21,000") << qint64(21000) << u"TWENTY ONE  THOUSAND "_s;
    QTest::newRow("115,000") << qint64(115000) << u"ONE  HUNDRED FIFTEEN  THOUSAND "_s;
    QTest::newRow("1,000,001") << qint64(1000001) << u"ONE  MILLION ONE "_s;
    QTest::newRow("1,234,567") << qint64(1234567)
        << u"ONE  MILLION TWO  HUNDRED THIRTY FOUR  THOUSAND FIVE  HUNDRED SIXTY SEVEN "_s;
    QTest::newRow("21,000,000") << qint64(21000000) << u"TWENTY ONE  MILLION "_s;
    QTest::newRow("1,000,000,000") << qint64(1000000000) << u"ONE  THOUSAND  MILLION "_s;
}

void TstTextUtils::englishNumberWords()
{
    QFETCH(qint64, n);
    QFETCH(QString, expected);
    QCOMPARE(EnglishNumberWords(n), expected);
}

void TstTextUtils::englishAmounts_data()
{
    QTest::addColumn<bool>("point");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("125.25") << false << 2 << 125.25
        << u"ONE  HUNDRED TWENTY FIVE  BAHT  AND TWENTY FIVE  SATANG"_s;
    QTest::newRow("7.00") << false << 2 << 7.0 << u"SEVEN  BAHT  ONLY"_s;
    QTest::newRow("0.25") << false << 2 << 0.25 << u" BAHT  AND TWENTY FIVE  SATANG"_s;
    QTest::newRow("zero") << false << 2 << 0.0 << QString();
    QTest::newRow("negative") << false << 2 << -3.10 << u" BAHT  AND TEN  SATANG"_s;
    QTest::newRow("point 12.50") << true << 2 << 12.5 << u"TWELVE   POINT FIFTY  "_s;
    QTest::newRow("point whole") << true << 2 << 3.0 << u"THREE   ONLY"_s;
    QTest::newRow("point 3 decimals") << true << 3 << 1.005 << u"ONE   POINT FIVE  "_s;
    QTest::newRow("point zero") << true << 2 << 0.0 << QString();
}

void TstTextUtils::englishAmounts()
{
    QFETCH(bool, point);
    QFETCH(int, decimals);
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(point ? EnglishPointText(decimals, amount) : EnglishBahtText(decimals, amount),
             expected);
}

void TstTextUtils::roundValue_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("2.675") << 2 << 2.675 << 2.68;
    QTest::newRow("-1.005") << 2 << -1.005 << -1.01;
    QTest::newRow("0.125") << 2 << 0.125 << 0.13;
    QTest::newRow("2.674") << 2 << 2.674 << 2.67;
    QTest::newRow("9.995 carries") << 2 << 9.995 << 10.0;
    QTest::newRow("0.1+0.2") << 2 << 0.1 + 0.2 << 0.3;
    QTest::newRow("123.5") << 0 << 123.5 << 124.0;
    QTest::newRow("-0.5") << 0 << -0.5 << -1.0;
    QTest::newRow("-0.4") << 0 << -0.4 << 0.0;
    QTest::newRow("-0.001") << 2 << -0.001 << 0.0;
    QTest::newRow("large") << 2 << 1234567.125 << 1234567.13;
}

void TstTextUtils::roundValue()
{
    QFETCH(int, n);
    QFETCH(double, value);
    QFETCH(double, expected);
    const double r = RoundValue(15, n, value);
    // exact: the nearest double to the decimal result, not e.g. 2.6799999999999997
    QVERIFY2(r == expected, qPrintable(QString::number(r, 'g', 17)));
    QVERIFY(!std::signbit(r) || r != 0.0);
}

void TstTextUtils::padding_data()
{
    QTest::addColumn<bool>("left");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    QTest::addColumn<QChar>("fill");
    QTest::addColumn<QString>("expected");
    QTest::newRow("left trims then fills") << true << u"  42 "_s << 6 << QChar(u'0') << u"000042"_s;
    QTest::newRow("left cuts to first") << true << u"1234567"_s << 3 << QChar(u'0') << u"123"_s;
    QTest::newRow("left empty") << true << QString() << 3 << QChar(u'x') << u"xxx"_s;
    QTest::newRow("left Thai") << true << u"ก่อน"_s << 6 << QChar(u'*') << u"**ก่อน"_s;
    QTest::newRow("left negative length") << true << u"abc"_s << -1 << QChar(u'x') << QString();
    QTest::newRow("right fills") << false << u" ab"_s << 4 << QChar(u'*') << u"ab**"_s;
    QTest::newRow("right keeps nbsp") << false << u"a\u00A0"_s << 3 << QChar(u'*')
                                      << u"a\u00A0*"_s;
}

void TstTextUtils::padding()
{
    QFETCH(bool, left);
    QFETCH(QString, text);
    QFETCH(int, length);
    QFETCH(QChar, fill);
    QFETCH(QString, expected);
    QCOMPARE(left ? PadLeft(text, length, fill) : PadRight(text, length, fill), expected);
}

void TstTextUtils::dateParts()
{
    QCOMPARE(YearOfDate(QDate(2024, 2, 29)), 2024);
    QCOMPARE(MonthOfDate(QDate(2024, 2, 29)), 2);
    QCOMPARE(MonthOfDate(QDate(1999, 12, 31)), 12);
    QCOMPARE(YearOfDate(QDate()), 0);
    QCOMPARE(TrimLeadingBlanks(u"  \tab "_s), u"\tab "_s);
}

void TstTextUtils::cp874AllBytesRoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString decoded = fromCp874(all);
    QCOMPARE(decoded.size(), 256);
    QCOMPARE(QSet<QChar>(decoded.begin(), decoded.end()).size(), 256);
    QCOMPARE(toCp874(decoded), all);
}

void TstTextUtils::cp874Encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << u"Ab 1\u0000"_s << QByteArray("Ab 1\0", 5);
    QTest::newRow("Thai ends of block") << u"กฺ฿๛"_s << QByteArray("\xA1\xDA\xDF\xFB");
    QTest::newRow("Thai word") << u"บาท"_s << QByteArray("\xBA\xD2\xB7");
    QTest::newRow("punctuation") << u"€…‘’“”•–—\u00A0"_s
                                 << QByteArray("\x80\x85\x91\x92\x93\x94\x95\x96\x97\xA0");
    QTest::newRow("not in 874") << u"é\u0E3B\u0080\u0091"_s << QByteArray("????");
    QTest::newRow("surrogate pair is one char") << u"a😀b"_s << QByteArray("a?b");
}

void TstTextUtils::cp874Encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toCp874(text), bytes);
    if (!bytes.contains('?'))
        QCOMPARE(fromCp874(bytes), text);
}

void TstTextUtils::scrambleRoundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("firstCode");
    QTest::addColumn<QString>("expected");
    const int codes[] = {0, 1, 254, 255};
    for (int c : codes) {
        const QByteArray tag = QByteArray::number(c);
        QTest::newRow("empty " + tag) << QString() << c << QString();
        QTest::newRow("ascii " + tag) << u"abc"_s << c << u"abc"_s;
        QTest::newRow("trimmed " + tag) << u"  abc \t"_s << c << u"abc"_s;
        QTest::newRow("inner blank " + tag) << u"a b"_s << c << u"a b"_s;
        QTest::newRow("Thai " + tag) << u"รหัสผ่าน"_s << c << u"รหัสผ่าน"_s;
        QTest::newRow("ten " + tag) << u"0123456789"_s << c << u"0123456789"_s;
        QTest::newRow("Thai ten " + tag) << u"ผู้อนุมัติ"_s << c << u"ผู้อนุมัติ"_s;
        QTest::newRow("cut to ten " + tag) << u"ผู้อนุมัติ1"_s << c << u"ผู้อนุมัติ"_s;
        QTest::newRow("high bytes " + tag) << u"๛฿\u00A0€"_s << c << u"๛฿\u00A0€"_s;
    }
    // first codes that make a scrambled byte 0
    QTest::newRow("zero after a") << u"a"_s << (256 - 0x61) << u"a"_s;
    QTest::newRow("zero after ko kai") << u"กข"_s << (256 - 0xA1) << u"กข"_s;
    QTest::newRow("zero at end") << u"x"_s << (256 - 0x78 - 9 * 0x20) % 256 << u"x"_s;
}

void TstTextUtils::scrambleRoundTrip()
{
    QFETCH(QString, password);
    QFETCH(int, firstCode);
    QFETCH(QString, expected);
    const QString scrambled = ScrambleText(password, firstCode);
    QCOMPARE(scrambled.size(), 11);
    QCOMPARE(scrambled.at(0).unicode(), char16_t(firstCode & 0xFF));
    for (QChar ch : scrambled)
        QVERIFY(ch.unicode() <= 0xFF);
    QCOMPARE(UnscrambleText(scrambled), expected);

    const QString stored = scrambledToStorage(scrambled);
    QVERIFY(QRegularExpression(u"^[0-9A-F]{22}$"_s).match(stored).hasMatch());
    QCOMPARE(scrambledFromStorage(stored), scrambled);
    QCOMPARE(UnscrambleText(scrambledFromStorage(stored)), expected);
}

void TstTextUtils::scrambleKnownVector()
{
    // The stored form must stay byte-compatible with passwords already saved.
    const int expected[] = {10, 75, 141, 173, 205, 237, 13, 45, 77, 109, 141};
    const QString s = ScrambleText(u"AB"_s, 10);
    QCOMPARE(s.size(), 11);
    for (int i = 0; i < 11; ++i)
        QCOMPARE(int(s.at(i).unicode()), expected[i]);
    QCOMPARE(scrambledToStorage(s), u"0A4B8DADCDED0D2D4D6D8D"_s);
    QCOMPARE(UnscrambleText(scrambledFromStorage(u"0a4b8dadcded0d2d4d6d8d"_s)), u"AB"_s);
    // a zero byte inside the scrambled text
    const QString z = ScrambleText(u"a"_s, 0x9F);
    QCOMPARE(z.at(1), QChar(u'\0'));
    QCOMPARE(scrambledToStorage(z).mid(2, 2), u"00"_s);

    QCOMPARE(scrambledFromStorage(u"0A4"_s), QString());  // odd length
    QCOMPARE(scrambledFromStorage(u"0G"_s), QString());   // not hex
    QCOMPARE(scrambledFromStorage(u"๑๒"_s), QString());   // Thai digits are not hex
    QCOMPARE(UnscrambleText(u"กขค"_s), QString());        // not a byte view
}

void TstTextUtils::scrambleRandomFirstCode()
{
    QSet<int> firsts;
    for (int i = 0; i < 300; ++i) {
        const QString s = ScrambleText(u"ลับ7"_s);
        const int c0 = s.at(0).unicode();
        QVERIFY(c0 >= 0 && c0 <= 254);
        firsts.insert(c0);
        QCOMPARE(UnscrambleText(s), u"ลับ7"_s);
    }
    QVERIFY(firsts.size() > 50);
}

void TstTextUtils::userName()
{
    const QByteArray oldUser = qgetenv("USER");
    const QByteArray oldLogname = qgetenv("LOGNAME");
    qputenv("USER", "alice");
    QCOMPARE(GetWindowsUserName(), u"ALICE"_s);
    qunsetenv("USER");
    qputenv("LOGNAME", "bob");
    QCOMPARE(GetWindowsUserName(), u"BOB"_s);
    qunsetenv("LOGNAME");
    const QString fromPasswd = GetWindowsUserName(); // account database or UNKNOWN
    QVERIFY(!fromPasswd.isEmpty());
    QCOMPARE(fromPasswd, fromPasswd.toUpper());
    qputenv("USER", oldUser);
    qputenv("LOGNAME", oldLogname);
}

void TstTextUtils::workstationIdentity()
{
    const QString name = GetComputerNameText();
    QVERIFY(name.size() <= 20);
    QCOMPARE(name, name.trimmed());
    const QString ip = GetLocalIP();
    if (!ip.isEmpty()) {
        const QRegularExpression dotted(u"^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"_s);
        const auto m = dotted.match(ip);
        QVERIFY2(m.hasMatch(), qPrintable(ip));
        for (int i = 1; i <= 4; ++i)
            QVERIFY(m.captured(i).toInt() <= 255);
    }
}

QTEST_APPLESS_MAIN(TstTextUtils)
#include "tst_textutils.moc"
