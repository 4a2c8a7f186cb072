#include "core/datetimetext.h"
#include "core/gbk.h"
#include "core/numtext.h"
#include "core/startfolders.h"
#include "core/systemerror.h"

#include <QTest>

#include <cerrno>

using namespace qm;

class ValueRulesTest : public QObject {
    Q_OBJECT

private slots:
    void numberText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 12.0 << false << "12";
        QTest::newRow("half") << 12.5 << false << "12.5";
        QTest::newRow("sum of tenths") << 0.1 + 0.2 << false << "0.3";
        QTest::newRow("negative") << -10.0 << false << "-10";
        QTest::newRow("thirteen digits") << 1.0 / 3.0 << false << "0.3333333333333";
        QTest::newRow("negative zero") << -0.0 << false << "0";
        QTest::newRow("large") << 1e15 << false << "1e+15";
        QTest::newRow("single price") << 15.5 << true << "15.5";
        QTest::newRow("single six digits") << 46.7 << true << "46.7";
        QTest::newRow("single rounding") << 1234567.0 << true << "1.23457e+06";
    }
    void numberText() {
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QString, text);
        QCOMPARE(single ? singleText(value) : doubleText(value), text);
    }

    void textToNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("integer");
        QTest::newRow("plain") << "12" << 12.0 << 12;
        QTest::newRow("decimal") << "2.7" << 2.7 << 2;
        QTest::newRow("empty") << "" << 0.0 << 0;
        QTest::newRow("letters") << "abc" << 0.0 << 0;
        QTest::newRow("leading blanks") << " \t 3.5kg" << 3.5 << 3;
        QTest::newRow("sign") << "-1.25" << -1.25 << -1;
        QTest::newRow("plus sign") << "+4" << 4.0 << 4;
        QTest::newRow("full-width minus") << "－３" << -3.0 << -3;
        QTest::newRow("ideographic space first") << "　7" << 7.0 << 7;
        QTest::newRow("trailing point") << "5." << 5.0 << 5;
        QTest::newRow("leading point") << ".5" << 0.5 << 0;
        QTest::newRow("exponent") << "1e3x" << 1000.0 << 1;
        QTest::newRow("bare exponent") << "2e" << 2.0 << 2;
        QTest::newRow("infinity is no number") << "inf" << 0.0 << 0;
        QTest::newRow("digits after code") << "12a" << 12.0 << 12;
        QTest::newRow("int clamps") << "99999999999" << 99999999999.0 << 2147483647;
    }
    void textToNumbers() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(int, integer);
        QCOMPARE(textToNumber(text), number);
        QCOMPARE(textToInt(text), integer);
    }

    void rounding_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<double>("rounded");
        QTest::newRow("half up") << 12.25 << 1 << 12.3;
        QTest::newRow("binary half") << 0.15 << 1 << 0.2;
        QTest::newRow("quantity") << 1.25 << 1 << 1.3;
        QTest::newRow("amount") << 46.65 << 1 << 46.7;
        QTest::newRow("below half") << 0.04 << 1 << 0.0;
        QTest::newRow("negative half") << -2.5 << 0 << -3.0;
        QTest::newRow("zero places") << 2.4999 << 0 << 2.0;
        QTest::newRow("three places") << 1.0005 << 3 << 1.001;
    }
    void rounding() {
        QFETCH(double, value);
        QFETCH(int, places);
        QFETCH(double, rounded);
        QCOMPARE(roundHalfAway(value, places), rounded);
    }

    void zeroAndTrim() {
        QVERIFY(isZero(0.0000001));
        QVERIFY(isZero(-0.00000009));
        QVERIFY(!isZero(0.0000002));
        QCOMPARE(trimBlanks(QStringLiteral("　 红烧 鱼 　")), QStringLiteral("红烧 鱼"));
        QCOMPARE(trimBlanks(QStringLiteral(" 　 ")), QString());
        QCOMPARE(trimBlanks(QStringLiteral("\tx")), QStringLiteral("\tx"));
        QCOMPARE(trimBlanks(QStringLiteral("x\r\n")), QStringLiteral("x\r\n"));
        QCOMPARE(trimBlanksAndLineBreaks(QStringLiteral("\n　东街\r\n3 号 \r\n")),
                 QStringLiteral("东街\r\n3 号"));
        QCOMPARE(trimBlanksAndLineBreaks(QStringLiteral("\tx")), QStringLiteral("\tx"));
        QCOMPARE(foldFullWidth(QStringLiteral("ＡＢ１，　")), QStringLiteral("AB1, "));
        QCOMPARE(gbkLength(QStringLiteral("可乐2L")), 6);
        QCOMPARE(fromGbk(toGbk(QStringLiteral("宫保鸡丁'"))), QStringLiteral("宫保鸡丁'"));
    }

    void dateTexts_data() {
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<QString>("whole");
        QTest::newRow("seconds") << QDateTime(QDate(2016, 5, 3), QTime(9, 7, 5)) << "2016年5月3日9时7分5秒";
        QTest::newRow("minutes") << QDateTime(QDate(2016, 5, 3), QTime(9, 7)) << "2016年5月3日9时7分";
        QTest::newRow("hours") << QDateTime(QDate(2016, 12, 30), QTime(9, 0)) << "2016年12月30日9时";
        QTest::newRow("midnight") << QDateTime(QDate(2016, 5, 3), QTime(0, 0)) << "2016年5月3日";
        QTest::newRow("zero hour") << QDateTime(QDate(2016, 5, 3), QTime(0, 5)) << "2016年5月3日0时5分";
    }
    void dateTexts() {
        QFETCH(QDateTime, value);
        QFETCH(QString, whole);
        QCOMPARE(dateTimeText(value), whole);
    }

    void displayFormats_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "05-03 09:07";
        QTest::newRow("1") << 1 << "2016/05/03 09:07";
        QTest::newRow("2") << 2 << "2016-05-03 09:07";
        QTest::newRow("other shows as 0") << 7 << "05-03 09:07";
        QTest::newRow("negative shows as 0") << -1 << "05-03 09:07";
    }
    void displayFormats() {
        QFETCH(int, format);
        QFETCH(QString, text);
        const QDateTime value(QDate(2016, 5, 3), QTime(9, 7, 42));
        QCOMPARE(displayTime(value, format), text);
        const auto back = parseDisplayTime(text, 2016);
        QVERIFY(back.has_value());
        QCOMPARE(*back, QDateTime(QDate(2016, 5, 3), QTime(9, 7)));
    }

    void readingTimes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("value"); // invalid: no value
        QTest::newRow("short form takes the current year")
            << "12-30 01:59" << QDateTime(QDate(2026, 12, 30), QTime(1, 59));
        QTest::newRow("without leading zeros")
            << "2016/5/3 9:07" << QDateTime(QDate(2016, 5, 3), QTime(9, 7));
        QTest::newRow("with seconds")
            << "2016-05-03 09:07:30" << QDateTime(QDate(2016, 5, 3), QTime(9, 7, 30));
        QTest::newRow("mixed separators") << "2016/05-03 09:07" << QDateTime();
        QTest::newRow("no time") << "2016-05-03" << QDateTime();
        QTest::newRow("impossible date") << "02-30 10:00" << QDateTime();
        QTest::newRow("words") << "今天" << QDateTime();
        QTest::newRow("empty") << "" << QDateTime();
    }
    void readingTimes() {
        QFETCH(QString, text);
        QFETCH(QDateTime, value);
        const auto read = parseDisplayTime(text, 2026);
        QCOMPARE(read.has_value(), value.isValid());
        if (read)
            QCOMPARE(*read, value);
    }

    void isoRoundTrip() {
        const QDateTime value(QDate(2025, 1, 2), QTime(3, 4, 5));
        QCOMPARE(isoText(value), QStringLiteral("2025-01-02 03:04:05"));
        QCOMPARE(parseIso(isoText(value)).value(), value);
        QVERIFY(!parseIso(QStringLiteral("x")).has_value());
    }

    // Stored times as the database gives them back: the stored form, a bare day at its midnight, and
    // texts no day and time can be read from.
    void readingStoredTimes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("value");
        QTest::newRow("stored form") << "2016-05-03 23:59:59"
                                     << QDateTime(QDate(2016, 5, 3), QTime(23, 59, 59));
        QTest::newRow("midnight") << "2016-05-04 00:00:00" << QDateTime(QDate(2016, 5, 4), QTime(0, 0));
        QTest::newRow("leap day") << "2016-02-29 08:07:06" << QDateTime(QDate(2016, 2, 29), QTime(8, 7, 6));
        QTest::newRow("a bare day") << "2016-05-03" << QDateTime(QDate(2016, 5, 3), QTime(0, 0));
        QTest::newRow("no such day") << "2015-02-29 08:07:06" << QDateTime();
        QTest::newRow("hour 24") << "2016-05-03 24:00:00" << QDateTime();
        QTest::newRow("second 60") << "2016-05-03 12:00:60" << QDateTime();
        QTest::newRow("a letter for a digit") << "2016-05-0x 12:00:00" << QDateTime();
        QTest::newRow("slashes") << "2016/05/03 12:00:00" << QDateTime();
        QTest::newRow("more after it") << "2016-05-03 12:00:00x" << QDateTime();
        QTest::newRow("empty") << "" << QDateTime();
    }
    void readingStoredTimes() {
        QFETCH(QString, text);
        QFETCH(QDateTime, value);
        const std::optional<QDateTime> read = parseIso(text);
        QCOMPARE(read.has_value(), value.isValid());
        if (read)
            QCOMPARE(*read, value);
    }

    // A backup's folder chooser opens on the first stick the desktop mounted under /media.
    void removableMedia_data() {
        QTest::addColumn<QString>("mounts");
        QTest::addColumn<QString>("medium");
        const QString system = QStringLiteral("/dev/sda1 / ext4 rw 0 0\nproc /proc proc rw 0 0\n");
        QTest::newRow("none") << system << QString();
        QTest::newRow("under the user")
            << system + "/dev/sdb1 /media/shop/KINGSTON vfat rw 0 0\n/dev/sdc1 /media/shop/B vfat rw 0 0\n"
            << "/media/shop/KINGSTON";
        QTest::newRow("directly under /media") << system + "/dev/sdb1 /media/usb0 vfat rw 0 0\n"
                                               << "/media/usb0";
        QTest::newRow("space in the label") << system + "/dev/sdb1 /media/shop/MY\\040DISK vfat rw 0 0\n"
                                            << "/media/shop/MY DISK";
        QTest::newRow("another user's stick, then a folder deeper")
            << system + "/dev/sdb1 /media/other/X vfat rw 0 0\n/dev/sdc1 /media/a/b/c vfat rw 0 0\n"
            << QString();
        QTest::newRow("the user's folder itself") << system + "tmpfs /media/shop tmpfs rw 0 0\n" << QString();
    }
    void removableMedia() {
        QFETCH(QString, mounts);
        QFETCH(QString, medium);
        QCOMPARE(removableMediumIn(mounts, QStringLiteral("shop")), medium);
    }

    // The causes a cashier meets on a till or a USB stick are named in Chinese, not in the system's
    // English.
    void systemErrors_data() {
        QTest::addColumn<int>("error");
        QTest::newRow("read-only") << EROFS;
        QTest::newRow("full") << ENOSPC;
        QTest::newRow("no permission") << EACCES;
        QTest::newRow("missing folder") << ENOENT;
        QTest::newRow("too large") << EFBIG;
        QTest::newRow("device gone") << EIO;
    }
    void systemErrors() {
        QFETCH(int, error);
        const QString text = systemErrorText(error);
        QVERIFY(!text.isEmpty());
        for (const QChar c : text)
            QVERIFY2(c.unicode() >= 0x80, qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(ValueRulesTest)
#include "tst_valuerules.moc"
