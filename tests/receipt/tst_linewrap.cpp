#include "receipt/linewrap.h"

#include <QTest>

using namespace qm;

// Cases are written with · for a space and ⏎ for a CR LF pair; the expected result is the list of lines
// obtained by splitting the wrapped text at CR LF, separated by " / ".
class LineWrapTest : public QObject {
    Q_OBJECT

    static QString input(QString text) {
        return text.replace(QStringLiteral("·"), QStringLiteral(" "))
            .replace(QStringLiteral("⏎"), QStringLiteral("\r\n"));
    }

private slots:
    void wraps_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("lines");

        QTest::newRow("cut word moves down") << "ab·cdef" << 5 << "ab· / cdef";
        QTest::newRow("word cut at the width") << "abc·de" << 5 << "abc· / de";
        QTest::newRow("exact fit followed by a space") << "abc·de·fg" << 6 << "abc· / de·fg";
        QTest::newRow("space before the width") << "abc·de·fg" << 7 << "abc·de· / fg";
        QTest::newRow("first word cut hard") << "abcdefgh·ij" << 5 << "abcde / fgh· / ij";
        QTest::newRow("wide character never straddles") << "中文测" << 5 << "中文 / 测";
        QTest::newRow("narrow then wide") << "ab中文" << 3 << "ab / 中 / 文";
        QTest::newRow("opening and closing marks")
            << "我们去《红楼梦》看看" << 8 << "我们去 / 《红楼 / 梦》看看";
        QTest::newRow("closing punctuation") << "你好，世界。再见" << 4 << "你 / 好， / 世 / 界。 / 再见";
        QTest::newRow("break in the input kept") << "abc⏎def·ghi" << 4 << "abc / def· / ghi";
        QTest::newRow("closing mark after a break") << "好⏎，世界你好啊" << 6 << "好 / ，世界 / 你好啊";
        QTest::newRow("digits cut hard") << "12345678901234567890" << 8 << "12345678 / 90123456 / 7890";
        QTest::newRow("short text unchanged") << "ab⏎c" << 8 << "ab / c";
        QTest::newRow("empty") << "" << 8 << "";
        // A break right after the cut closes the line instead of leaving an empty one.
        QTest::newRow("break after the cut") << "abc⏎def" << 3 << "abc / def";
        QTest::newRow("break at the very end") << "abcd⏎" << 4 << "abcd / ";
        // Widths the settings cannot produce still keep one character per line.
        QTest::newRow("guard, wide character wider than the line") << "中文" << 1 << "中 / 文";
        QTest::newRow("guard, closing marks") << "，，，" << 2 << "， / ， / ，";
        QTest::newRow("guard, opening marks") << "《《" << 2 << "《 / 《";
    }

    void wraps() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, lines);

        const QString wrapped = wrapText(input(text), width);
        QCOMPARE(wrapped.split(QStringLiteral("\r\n")).join(QStringLiteral(" / ")), input(lines));
        // Only CR LF pairs are ever added.
        QCOMPARE(QString(wrapped).remove(QStringLiteral("\r\n")), input(text).remove(QStringLiteral("\r\n")));
    }
};

QTEST_APPLESS_MAIN(LineWrapTest)
#include "tst_linewrap.moc"
