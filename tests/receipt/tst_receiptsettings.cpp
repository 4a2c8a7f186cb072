#include "core/gbk.h"
#include "core/numtext.h"
#include "receipt/printsettingseditor.h"
#include "receipt/receiptsettings.h"
#include "store/database.h"
#include "store/settings.h"
#include "store/staffstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace qm;

namespace {

QByteArray pngOfSize(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

} // namespace

class ReceiptSettingsTest : public QObject {
    Q_OBJECT

    // A home for the cases that only read the stored settings.
    TempHome m_shared;

private slots:
    void firstRunSettings() {
        TempHome home;
        const RecordStore records(home.db());
        const ConfigFile config(home.home().configPath());

        const ReceiptSettings settings = loadReceiptSettings(records, config, false);
        QCOMPARE(settings.type, ReceiptType::Mm58);
        QVERIFY(settings.extra1.enabled);
        QCOMPARE(settings.extra1.text, QStringLiteral("订餐电话:1390000****"));
        QVERIFY(!settings.extra2.enabled);
        QVERIFY(settings.topPicture);
        QVERIFY(settings.bottomPicture);
        const QList<int> sizes{9, 9, 9, 9, 9, 9, 12, 9, 9, 12, 12};
        for (int element = 1; element <= receiptElementCount; ++element) {
            QCOMPARE(settings.style(element).size, sizes[element - 1]);
            QCOMPARE(settings.style(element).bold, sizes[element - 1] == 12);
        }
        // The preview never touches the configuration file.
        QVERIFY(!QFile::exists(config.path()));
        QCOMPARE(settings.printWidth, 0);
    }

    void defaultStylingKeepsStoredSizes() {
        TempHome home;
        const RecordStore records(home.db());
        records.update(QStringLiteral("设置类型"), QStringLiteral("0"));
        records.update(QStringLiteral("附带信息2勾选"), QStringLiteral("1"));
        records.update(QStringLiteral("附带信息2"), QStringLiteral("微信 kf"));

        const ReceiptSettings settings =
            loadReceiptSettings(records, ConfigFile(home.home().configPath()), false);
        QVERIFY(!settings.topPicture);
        QVERIFY(!settings.bottomPicture);
        for (const ElementStyle& style : settings.styles) {
            QCOMPARE(style.size, 9);
            QVERIFY(!style.bold);
        }
        QVERIFY(settings.extra2.enabled);
        QCOMPARE(settings.extra2.text, QStringLiteral("微信 kf"));
        QCOMPARE(records.read(QStringLiteral("字体大小")), QStringLiteral("9|9|9|9|9|9|12|9|9|12|12"));
    }

    void shortSizeListGivesZero() {
        TempHome home;
        const RecordStore records(home.db());
        records.update(QStringLiteral("字体大小"), QStringLiteral("10|11"));
        records.update(QStringLiteral("勾选加粗"), QStringLiteral("1"));
        const ReceiptSettings settings =
            loadReceiptSettings(records, ConfigFile(home.home().configPath()), false);
        QCOMPARE(settings.style(1).size, 10);
        QVERIFY(settings.style(1).bold);
        QCOMPARE(settings.style(2).size, 11);
        QVERIFY(!settings.style(2).bold);
        QCOMPARE(settings.style(10).size, 0);
    }

    void printWidths_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("configAfter");

        QTest::newRow("58 mm, missing entry appended")
            << "0" << QByteArray() << 480 << QStringLiteral("58小票打印宽度 = {480}\r\n");
        QTest::newRow("80 mm, missing entry appended")
            << "1" << QByteArray() << 700 << QStringLiteral("80小票打印宽度 = {700}\r\n");
        QTest::newRow("58 mm from the file") << "0" << QByteArray("58小票打印宽度 = {500}\r\n") << 500
                                             << QStringLiteral("58小票打印宽度 = {500}\r\n");
        QTest::newRow("no number falls back to the default")
            << "0" << QByteArray("58小票打印宽度 = {abc}\r\n") << 480
            << QStringLiteral("58小票打印宽度 = {abc}\r\n");
    }

    void printWidths() {
        QFETCH(QString, type);
        QFETCH(QByteArray, config);
        QFETCH(int, width);
        QFETCH(QString, configAfter);

        TempHome home;
        const RecordStore records(home.db());
        records.update(QStringLiteral("小票类型"), type);
        const ConfigFile file(home.home().configPath());
        if (!config.isEmpty())
            writeFile(file.path(), toGbk(QString::fromUtf8(config)));
        QCOMPARE(loadReceiptSettings(records, file, true).printWidth, width);
        QFile in(file.path());
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(fromGbk(in.readAll()), configAfter);
    }

    void copies_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("copies");
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("negative") << "-2" << 1;
        QTest::newRow("letters") << "abc" << 1;
    }

    void copies() {
        QFETCH(QString, stored);
        QFETCH(int, copies);
        TempHome home;
        const RecordStore records(home.db());
        records.update(QStringLiteral("打印份数"), stored);
        QCOMPARE(receiptCopies(records), copies);
    }

    void fillFromStore() {
        TempHome home;
        const RecordStore records(home.db());
        FakePlatform platform;
        records.update(QStringLiteral("附带信息1"), QString());
        records.update(QStringLiteral("字体大小"), QStringLiteral("10|11|12"));
        records.update(QStringLiteral("勾选加粗"), QStringLiteral("1|0|2"));
        records.update(QStringLiteral("小票类型"), QStringLiteral("1"));

        const PrintSettingsForm form = PrintSettingsEditor(records, home.home(), platform).fill();
        QCOMPARE(form.receiptType, 1);
        QCOMPARE(form.settingType, 1);
        QVERIFY(form.extra1);
        QCOMPARE(form.extra1Text, extraLine1DesignText); // nothing stored: the design text stays
        QVERIFY(!form.extra2);
        QCOMPARE(form.copies, QStringLiteral("1"));
        QCOMPARE(form.sizes[0], QStringLiteral("10"));
        QCOMPARE(form.sizes[2], QStringLiteral("12"));
        QCOMPARE(form.sizes[3], QString());
        QCOMPARE(form.bold[0], true);
        QCOMPARE(form.bold[1], false);
        QCOMPARE(form.bold[2], true);
        QCOMPARE(form.bold[3], false);
        // No picture files yet: the built-in pictures are shown, nothing is written.
        QCOMPARE(QImage::fromData(form.top.bytes).size(), QSize(430, 189));
        QCOMPARE(QImage::fromData(form.bottom.bytes).size(), QSize(430, 430));
        QVERIFY(form.top.path.isEmpty());
        QVERIFY(!QFile::exists(home.home().topPicturePath()));
    }

    void validateSizes_data() {
        QTest::addColumn<int>("element");
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("valid");

        QTest::newRow("7 is the least") << 1 << "7" << true;
        QTest::newRow("30 is the most") << 4 << "30" << true;
        QTest::newRow("6 refused") << 2 << "6" << false;
        QTest::newRow("31 refused") << 11 << "31" << false;
        QTest::newRow("0 refused") << 5 << "0" << false;
        QTest::newRow("empty refused") << 9 << "" << false;
        QTest::newRow("letters refused") << 7 << "abc" << false;
        QTest::newRow("leading zero") << 3 << "09" << true;
        QTest::newRow("paid at 0") << 10 << "0" << true;
        QTest::newRow("paid empty hides the line") << 10 << "" << true;
        QTest::newRow("paid at 6") << 10 << "6" << false;
        QTest::newRow("paid at 31") << 10 << "31" << false;
    }

    void validateSizes() {
        QFETCH(int, element);
        QFETCH(QString, size);
        QFETCH(bool, valid);

        const RecordStore records(m_shared.db());
        FakePlatform platform;
        const PrintSettingsEditor editor(records, m_shared.home(), platform);
        PrintSettingsForm form = editor.fill();
        form.sizes[size_t(element - 1)] = size;

        QCOMPARE(editor.validate(form), valid ? 0 : element);
        if (valid) {
            QVERIFY(platform.shown.isEmpty());
            return;
        }
        QCOMPARE(platform.shown.size(), 1);
        QCOMPARE(platform.shown[0].icon, MessageIcon::Information);
        QCOMPARE(platform.shown[0].caption, QStringLiteral("提示"));
        QCOMPARE(platform.shown[0].text,
                 element == 10
                     ? QStringLiteral("已支付 字体大小超出设定，请将字体大小控制在数值 7-30 的范围内。\r\n"
                                      "注意：已支付 字体大小数值设置为 0 时打印及预览将不显示 已支付 ")
                     : QStringLiteral("字体大小超出设定，请将字体大小控制在数值 7-30 的范围内。"));
    }

    // The amount paid is checked first, then elements 1 to 9 and 11 in order; one message only.
    void firstInvalidSizeWins() {
        TempHome home;
        const RecordStore records(home.db());
        FakePlatform platform;
        const PrintSettingsEditor editor(records, home.home(), platform);
        PrintSettingsForm form = editor.fill();
        form.sizes[10] = QStringLiteral("5");
        form.sizes[3] = QStringLiteral("40");
        QCOMPARE(editor.validate(form), 4);
        form.sizes[9] = QStringLiteral("3");
        QCOMPARE(editor.validate(form), 10);
        QCOMPARE(platform.shown.size(), 2);
    }

    void copiesBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("afterEdit");
        QTest::addColumn<QString>("afterValidate");
        QTest::newRow("7") << "7"
                           << "7"
                           << "4";
        QTest::newRow("4") << "4"
                           << "4"
                           << "4";
        QTest::newRow("2") << "2"
                           << "2"
                           << "2";
        QTest::newRow("0") << "0"
                           << "1"
                           << "1";
        QTest::newRow("minus sign") << "-"
                                    << "1"
                                    << "1";
        QTest::newRow("letters") << "ab"
                                 << "1"
                                 << "1";
    }

    void copiesBox() {
        QFETCH(QString, typed);
        QFETCH(QString, afterEdit);
        QFETCH(QString, afterValidate);

        QCOMPARE(PrintSettingsEditor::copiesAfterEdit(typed), afterEdit);
        const RecordStore records(m_shared.db());
        FakePlatform platform;
        const PrintSettingsEditor editor(records, m_shared.home(), platform);
        PrintSettingsForm form = editor.fill();
        form.copies = typed;
        QCOMPARE(editor.validate(form), 0);
        QCOMPARE(form.copies, afterValidate);
    }

    void applyStoresEverything() {
        TempHome home;
        const RecordStore records(home.db());
        FakePlatform platform;
        const PrintSettingsEditor editor(records, home.home(), platform);
        PrintSettingsForm form = editor.fill();
        form.receiptType = 1;
        form.settingType = 0;
        form.extra1 = false;
        form.extra1Text = QString();
        form.extra2 = true;
        form.extra2Text = QStringLiteral("店主's 微信");
        form.topPicture = false;
        form.copies = QStringLiteral("9");
        form.sizes = {"09", "10", "11", "12", "13", "14", "15", "16", "17", "abc", "30"};
        form.bold = {true, false, true, false, false, false, false, false, false, false, true};

        QCOMPARE(editor.apply(form), PrintSettingsEditor::ApplyResult::Saved);
        QVERIFY(platform.shown.isEmpty());
        QCOMPARE(records.read(QStringLiteral("小票类型")), QStringLiteral("1"));
        QCOMPARE(records.read(QStringLiteral("设置类型")), QStringLiteral("0"));
        QCOMPARE(records.read(QStringLiteral("附带信息1勾选")), QStringLiteral("0"));
        QCOMPARE(records.read(QStringLiteral("附带信息2勾选")), QStringLiteral("1"));
        QCOMPARE(records.read(QStringLiteral("附带信息1"), QStringLiteral("<none>")),
                 QStringLiteral("<none>"));
        QCOMPARE(records.read(QStringLiteral("附带信息2")), QStringLiteral("店主's 微信"));
        QCOMPARE(records.read(QStringLiteral("顶部图片勾选")), QStringLiteral("0"));
        QCOMPARE(records.read(QStringLiteral("底部图片勾选")), QStringLiteral("1"));
        QCOMPARE(records.read(QStringLiteral("打印份数")), QStringLiteral("4"));
        QCOMPARE(records.read(QStringLiteral("字体大小")), QStringLiteral("9|10|11|12|13|14|15|16|17|0|30"));
        QCOMPARE(records.read(QStringLiteral("勾选加粗")), QStringLiteral("1|0|1|0|0|0|0|0|0|0|1"));
        // No picture was chosen: nothing is written.
        QVERIFY(!QFile::exists(home.home().topPicturePath()));

        // Reopened, the emptied extra line shows its design text again.
        QCOMPARE(editor.fill().extra1Text, extraLine1DesignText);
    }

    // In staff mode an applied change is recorded with the settings before and after, in the transaction
    // that stores them; an apply that changes nothing records nothing, and a record that cannot be written
    // leaves the stored rows as they were.
    void applyRecordsTheChangeInStaffMode() {
        TempHome home;
        Database& db = home.db();
        const RecordStore records(db);
        FakePlatform platform;
        PrintSettingsEditor editor(records, home.home(), platform);
        AuditEvent event;
        event.person = QStringLiteral("小张");
        event.authoriser = QStringLiteral("王店主");
        event.action = QStringLiteral("修改打印设置");
        editor.recordChangesIn(db, event);
        const auto rows = [&] {
            QSqlQuery q =
                db.prepare(QStringLiteral("SELECT count(*) FROM 操作记录 WHERE 操作 = '修改打印设置'"));
            return q.exec() && q.next() ? q.value(0).toInt() : -1;
        };
        PrintSettingsForm form = editor.fill();
        const QString copiesBefore = QString::number(textToInt(form.copies));
        QCOMPARE(editor.apply(form), PrintSettingsEditor::ApplyResult::Saved);
        QCOMPARE(rows(), 0);

        form.copies = copiesBefore == QStringLiteral("2") ? QStringLiteral("3") : QStringLiteral("2");
        form.printer.kind = PrinterKind::Network;
        form.printer.host = QStringLiteral("127.0.0.1");
        form.portText = QStringLiteral("9100");
        QCOMPARE(editor.apply(form), PrintSettingsEditor::ApplyResult::Saved);
        QCOMPARE(rows(), 1);
        QSqlQuery row = db.prepare(QStringLiteral("SELECT 时间, 人员, 授权人, 之前, 之后 FROM 操作记录 "
                                                  "WHERE 操作 = '修改打印设置'"));
        QVERIFY(row.exec() && row.next());
        QCOMPARE(row.value(0).toString(), QStringLiteral("2026-03-14 12:30:00"));
        QCOMPARE(row.value(1).toString(), QStringLiteral("小张"));
        QCOMPARE(row.value(2).toString(), QStringLiteral("王店主"));
        QVERIFY2(row.value(3).toString().contains(QStringLiteral("打印份数：") + copiesBefore),
                 qPrintable(row.value(3).toString()));
        QVERIFY(row.value(4).toString().contains(QStringLiteral("打印份数：") + form.copies));
        QVERIFY(row.value(4).toString().contains(QStringLiteral("网络打印机 127.0.0.1:9100")));
        row.finish();
        QVERIFY(!firstBrokenAuditRow(db));

        const QString stored = records.read(QStringLiteral("打印份数"));
        QVERIFY(db.exec(QStringLiteral("ALTER TABLE 操作记录 RENAME TO 旧记录")));
        form.copies = QStringLiteral("4");
        QCOMPARE(editor.apply(form), PrintSettingsEditor::ApplyResult::Refused);
        QVERIFY(platform.texts().last().startsWith(QStringLiteral("打印设置保存失败：")));
        QCOMPARE(records.read(QStringLiteral("打印份数")), stored);
        QVERIFY(db.exec(QStringLiteral("ALTER TABLE 旧记录 RENAME TO 操作记录")));
    }

    void applyInvalidSavesNothing() {
        TempHome home;
        const RecordStore records(home.db());
        FakePlatform platform;
        const PrintSettingsEditor editor(records, home.home(), platform);
        PrintSettingsForm form = editor.fill();
        form.receiptType = 1;
        form.sizes[6] = QStringLiteral("0");
        int invalid = 0;
        QCOMPARE(editor.apply(form, &invalid), PrintSettingsEditor::ApplyResult::Invalid);
        QCOMPARE(invalid, 7);
        QCOMPARE(records.read(QStringLiteral("小票类型")), QStringLiteral("0"));
    }

    void applyWithoutRowsIsRefused() {
        TempHome home;
        const RecordStore records(home.db());
        FakePlatform platform;
        const PrintSettingsEditor editor(records, home.home(), platform);
        PrintSettingsForm form = editor.fill();
        QVERIFY(home.db().exec(QStringLiteral("DELETE FROM 记录 WHERE 记录内容 = ?"),
                               {QStringLiteral("字体大小")}));
        form.receiptType = 1;
        form.top = {QStringLiteral("/somewhere/logo.png"), pngOfSize(10, 10)};

        QCOMPARE(editor.apply(form), PrintSettingsEditor::ApplyResult::Refused);
        QCOMPARE(platform.texts(), QStringList{QStringLiteral("设置失败.错误7763")});
        QCOMPARE(platform.shown[0].icon, MessageIcon::None);
        QCOMPARE(platform.shown[0].caption, defaultCaption);
        QCOMPARE(records.read(QStringLiteral("小票类型")), QStringLiteral("0"));
        QVERIFY(!QFile::exists(home.home().topPicturePath()));
    }

    // A picture that cannot be written (here its place is taken by a folder) is told with its cause, and
    // the settings stay as they were: no "saved" over a lost picture.
    void applyWithAnUnwritablePictureChangesNothing() {
        TempHome home;
        const RecordStore records(home.db());
        FakePlatform platform;
        const PrintSettingsEditor editor(records, home.home(), platform);
        PrintSettingsForm form = editor.fill();
        QFile::remove(home.home().topPicturePath());
        QVERIFY(QDir().mkpath(home.home().topPicturePath()));
        form.receiptType = 1;
        form.top = {QStringLiteral("/somewhere/logo.png"), pngOfSize(10, 10)};

        QCOMPARE(editor.apply(form), PrintSettingsEditor::ApplyResult::Refused);
        QVERIFY2(platform.texts().value(0).startsWith(QStringLiteral("图片保存失败：")),
                 qPrintable(platform.texts().join('\n')));
        QCOMPARE(platform.shown[0].icon, MessageIcon::Warning);
        QCOMPARE(records.read(QStringLiteral("小票类型")), QStringLiteral("0"));
    }

    void choosePicture_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("advice");
        QTest::newRow("430 × 430") << QSize(430, 430) << false;
        QTest::newRow("1000 × 300") << QSize(1000, 300) << true;
        QTest::newRow("300 × 431") << QSize(300, 431) << true;
    }

    // A chosen picture is shown at once and written to data/ only on Apply.
    void choosePicture() {
        QFETCH(QSize, size);
        QFETCH(bool, advice);

        TempHome home;
        const RecordStore records(home.db());
        FakePlatform platform;
        const PrintSettingsEditor editor(records, home.home(), platform);
        const QByteArray png = pngOfSize(size.width(), size.height());
        platform.fileAnswers.enqueue(writeFile(home.home().filePath(QStringLiteral("logo.png")), png));

        PrintSettingsForm form = editor.fill();
        QVERIFY(editor.choosePicture(form.bottom));
        QCOMPARE(form.bottom.bytes, png);
        QCOMPARE(form.bottom.path, home.home().filePath(QStringLiteral("logo.png")));
        QCOMPARE(platform.texts().size(), advice ? 1 : 0);
        if (advice) {
            QCOMPARE(platform.texts().front(),
                     QStringLiteral("选用图片时建议选用较低清晰度的图片，图片过于清晰将影响您的打印速度。"));
            QCOMPARE(platform.shown.back().icon, MessageIcon::Warning);
        }
        QVERIFY(!QFile::exists(home.home().bottomPicturePath()));

        QCOMPARE(editor.apply(form), PrintSettingsEditor::ApplyResult::Saved);
        QFile written(home.home().bottomPicturePath());
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), png);
        QVERIFY(!QFile::exists(home.home().topPicturePath()));
    }

    void choosePictureCancelled() {
        TempHome home;
        const RecordStore records(home.db());
        FakePlatform platform;
        const PrintSettingsEditor editor(records, home.home(), platform);
        PrintSettingsForm form = editor.fill();
        const QByteArray shown = form.top.bytes;
        QVERIFY(!editor.choosePicture(form.top));
        platform.fileAnswers.enqueue(home.home().filePath(QStringLiteral("missing.png")));
        QVERIFY(!editor.choosePicture(form.top));
        QCOMPARE(form.top.bytes, shown);
        QVERIFY(form.top.path.isEmpty());
    }
};

QTEST_MAIN(ReceiptSettingsTest)
#include "tst_receiptsettings.moc"
