#include "store/schema.h"
#include "store/settings.h"
#include "support/temphome.h"

#include "core/gbk.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace qm;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void configFile_data() {
        QTest::addColumn<QString>("before"); // file text; "<none>" for no file
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("create");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("after"); // file text afterwards
        const QString none = QStringLiteral("<none>");
        QTest::newRow("missing file, create") << none << "58小票打印宽度" << true << "480"
                                              << "58小票打印宽度 = {480}\r\n";
        QTest::newRow("missing file, no create") << none << "58小票打印宽度" << false << "480" << none;
        QTest::newRow("found anywhere in the text") << "注释 80小票打印宽度 = {500} 其他"
                                                    << "80小票打印宽度" << true << "500"
                                                    << "注释 80小票打印宽度 = {500} 其他";
        QTest::newRow("letter case ignored") << "dhh = {123}\r\n"
                                             << "DHH" << true << "123"
                                             << "dhh = {123}\r\n";
        QTest::newRow("empty value gives the default, not rewritten") << "TX = {}\r\n"
                                                                      << "TX" << true << "N"
                                                                      << "TX = {}\r\n";
        QTest::newRow("appended at the end") << "a = {1}\r\nb"
                                             << "58小票打印宽度" << true << "480"
                                             << "a = {1}\r\nb58小票打印宽度 = {480}\r\n";
        QTest::newRow("first entry wins") << "k = {1}\r\nk = {2}\r\n"
                                          << "k" << false << "1"
                                          << "k = {1}\r\nk = {2}\r\n";
        QTest::newRow("quote token") << "say\" = {hi}"
                                     << "say#引号" << false << "hi"
                                     << "say\" = {hi}";
        QTest::newRow("no closing brace") << "k = {1"
                                          << "k" << true << "d"
                                          << "k = {1";
    }
    void configFile() {
        QFETCH(QString, before);
        QFETCH(QString, key);
        QFETCH(bool, create);
        QFETCH(QString, value);
        QFETCH(QString, after);
        const QString none = QStringLiteral("<none>");
        TempHome temp;
        const QString path = temp.home().configPath();
        if (before != none) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(toGbk(before));
        }
        const QString fallback =
            key.startsWith(QLatin1String("58")) ? QStringLiteral("480") : QStringLiteral("d");
        const QString expectedFallback = key == QLatin1String("TX") ? QStringLiteral("N") : fallback;
        QCOMPARE(ConfigFile(path).read(key, expectedFallback, create), value);
        if (after == none)
            QVERIFY(!QFile::exists(path));
        else
            QCOMPARE(readFile(path), toGbk(after));
    }

    void valueEditedInTheFileIsHonoured() {
        TempHome temp;
        const ConfigFile config(temp.home().configPath());
        QCOMPARE(config.read(QStringLiteral("58小票打印宽度"), QStringLiteral("480"), true),
                 QStringLiteral("480"));
        QFile file(config.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(toGbk(QStringLiteral("58小票打印宽度 = {500}\r\n")));
        file.close();
        QCOMPARE(config.read(QStringLiteral("58小票打印宽度"), QStringLiteral("480"), true),
                 QStringLiteral("500"));
    }

    void records() {
        TempHome temp;
        const RecordStore records(temp.db());
        QCOMPARE(records.read(QStringLiteral("无此项"), QStringLiteral("默认")), QStringLiteral("默认"));
        QVERIFY(!records.exists(QStringLiteral("无此项")));

        // Stored exactly as typed, apostrophes included.
        QVERIFY(records.write(QStringLiteral("票头"), QStringLiteral("Joe's 快餐")));
        QCOMPARE(records.read(QStringLiteral("票头")), QStringLiteral("Joe's 快餐"));

        // An empty value reads as the default but the row exists.
        QVERIFY(records.write(QStringLiteral("减免"), QString()));
        QVERIFY(records.exists(QStringLiteral("减免")));
        QCOMPARE(records.read(QStringLiteral("减免"), QStringLiteral("x")), QStringLiteral("x"));

        // Two rows with one key: reads take the first, write updates both.
        QVERIFY(records.insert(QStringLiteral("重复"), QStringLiteral("一")));
        QVERIFY(records.insert(QStringLiteral("重复"), QStringLiteral("二")));
        QCOMPARE(records.read(QStringLiteral("重复")), QStringLiteral("一"));
        QVERIFY(records.write(QStringLiteral("重复"), QStringLiteral("三")));
        QSqlQuery query =
            temp.db().prepare(QStringLiteral("SELECT 记录信息 FROM 记录 WHERE 记录内容 = ? ORDER BY %1")
                                  .arg(rowOrder(temp.db())),
                              {QStringLiteral("重复")});
        QVERIFY(query.exec());
        QStringList values;
        while (query.next())
            values << query.value(0).toString();
        QCOMPARE(values, (QStringList{QStringLiteral("三"), QStringLiteral("三")}));
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
