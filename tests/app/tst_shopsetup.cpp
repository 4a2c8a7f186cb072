#include "app/shopsetup.h"
#include "app/ui/setupwizard.h"
#include "catalog/ui/importdialog.h"
#include "receipt/printing.h"
#include "receipt/receiptcontent.h"
#include "receipt/recordingsurface.h"
#include "store/catalogstore.h"
#include "store/database.h"
#include "store/orderstore.h"
#include "store/schema.h"
#include "store/settings.h"
#include "store/shopsetupstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"
#include "support/widgetdriver.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>

using namespace qm;

namespace {

QStringList listRows(NamedList list, Database& db) {
    return CatalogStore(db).loadNamedList(list).value_or(QStringList{QStringLiteral("unreadable")});
}

// Every row of 记录 but the set-up's own, as "key=value".
QStringList records(Database& db) {
    QStringList rows;
    QSqlQuery query = db.prepare(
        QStringLiteral("SELECT 记录内容, 记录信息 FROM 记录 WHERE 记录内容 <> '开店向导' ORDER BY 记录内容"));
    if (query.exec()) {
        while (query.next())
            rows << query.value(0).toString() + QLatin1Char('=') + query.value(1).toString();
    }
    return rows;
}

// Prints the empty receipt of the form on a recording printer; its one page.
RecordingSurface printedReceipt(TempHome& home, FakePlatform& platform) {
    QList<RecordingSurface> jobs;
    platform.printers.enqueue([&jobs](const PrintRequest& request) {
        return std::make_unique<RecordingPrinter>(jobs, request.printWidth);
    });
    ReceiptContent content;
    content.orderNumber = QStringLiteral("1");
    content.total = QStringLiteral("0");
    const RecordStore store(home.db());
    if (!printReceipt(platform, store, ConfigFile(home.home().configPath()), home.home(), content, true) ||
        jobs.isEmpty())
        return RecordingSurface(0);
    return jobs.first();
}

int pictures(const RecordingSurface& page) {
    return int(page.texts().count(QStringLiteral("[picture]")));
}

} // namespace

// The set-up of a new shop: when it is offered, what each page stores, and the receipt it leaves.
class ShopSetupTest : public QObject {
    Q_OBJECT

private slots:
    void offeredOnlyToANewHomeNotYetSetUp_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<bool>("offered");
        QTest::newRow("new home") << "new" << true;
        QTest::newRow("--no-setup") << "turned off" << false;
        QTest::newRow("finished or skipped") << "done" << false;
        QTest::newRow("an order is stored") << "order" << false;
        QTest::newRow("database of an older version") << "older" << false;
    }
    void offeredOnlyToANewHomeNotYetSetUp() {
        QFETCH(QString, home);
        QFETCH(bool, offered);
        TempHome temp;
        Database& db = temp.db();
        if (home == QStringLiteral("done"))
            QVERIFY(markSetupDone(db));
        if (home == QStringLiteral("order")) {
            StoredOrder order;
            order.number = 1;
            order.time = QDateTime(QDate(2026, 3, 14), QTime(12, 0));
            QVERIFY(insertOrder(db, order, {}).id);
        }
        if (home == QStringLiteral("older"))
            QVERIFY(db.exec(QStringLiteral("DELETE FROM 记录 WHERE 记录内容 = '开店向导'")));
        QCOMPARE(ShopSetup::offeredAtStart(db, home == QStringLiteral("turned off")), offered);
    }

    void shopPageReplacesTheSamplesOnlyWhenAsked_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("replace the samples") << true;
        QTest::newRow("keep the samples") << false;
    }
    void shopPageReplacesTheSamplesOnlyWhenAsked() {
        QFETCH(bool, replace);
        TempHome home;
        FakePlatform platform;
        ShopSetup setup(home.db(), home.home(), platform);
        QVERIFY(setup.telephoneLine().isEmpty()); // the sample line is not offered as the shop's own

        // A sample text typed in as the shop's own stays, once.
        const QStringList names = boxLines(QStringLiteral(" 老王饺子馆 \n\n白云快餐\n老王饺子馆\n"));
        QCOMPARE(names, (QStringList{QStringLiteral("老王饺子馆"), QStringLiteral("白云快餐")}));
        QVERIFY(setup.applyShop(
            {names, {QStringLiteral("欢迎光临")}, replace, QStringLiteral(" 订餐电话:88886666 ")}));

        QStringList expectedNames = sampleShopNames();
        QStringList expectedHeaders = sampleTicketHeaders();
        if (replace) {
            // The sample kept where it stood, the new name after it.
            expectedNames = {QStringLiteral("白云快餐"), QStringLiteral("老王饺子馆")};
            expectedHeaders = {QStringLiteral("欢迎光临")};
        } else {
            expectedNames << QStringLiteral("老王饺子馆");
        }
        QCOMPARE(listRows(NamedList::ShopNames, home.db()), expectedNames);
        QCOMPARE(listRows(NamedList::TicketHeaders, home.db()), expectedHeaders);
        const RecordStore store(home.db());
        QCOMPARE(store.read(QStringLiteral("店铺名称")), QStringLiteral("老王饺子馆"));
        QCOMPARE(store.read(QStringLiteral("票头")), QStringLiteral("欢迎光临"));
        QCOMPARE(store.read(QStringLiteral("附带信息1")), QStringLiteral("订餐电话:88886666"));
        QCOMPARE(store.read(QStringLiteral("附带信息1勾选")), QStringLiteral("1"));
        QVERIFY(platform.shown.isEmpty());

        // An empty telephone line prints no line.
        QVERIFY(setup.applyShop({{}, {}, false, QString()}));
        QCOMPARE(store.read(QStringLiteral("附带信息1勾选")), QStringLiteral("0"));
    }

    // The whole set-up through its window, from the keyboard's controls: a new shop without pictures
    // prints a receipt with none, its telephone line and its own name in the form's lists.
    void setUpWithoutPicturesPrintsNone() {
        TempHome home;
        FakePlatform platform;
        int redraws = 0;
        SetupWizard wizard(home.db(), home.home(), platform, [&redraws] { ++redraws; });
        wizard.show();
        typeKeys(child<QPlainTextEdit>(wizard, "编辑框_店铺名称"), QStringLiteral("老王饺子馆"));
        child<QCheckBox>(wizard, "选择框_替换示例")->setChecked(true);
        typeKeys(child<QLineEdit>(wizard, "编辑框_电话行"), QStringLiteral("订餐电话:0531-88886666"));
        for (int page = SetupWizard::ShopPage; page < SetupWizard::MenuPage; ++page) {
            QCOMPARE(wizard.currentId(), page);
            click(wizard, "按钮_下一步");
        }
        QCOMPARE(wizard.currentId(), int(SetupWizard::MenuPage));
        click(wizard, "按钮_完成");
        QVERIFY(!wizard.isVisible());
        QCOMPARE(redraws, 4);
        QVERIFY2(platform.shown.isEmpty(), qPrintable(platform.texts().join(QLatin1Char('|'))));

        QCOMPARE(listRows(NamedList::ShopNames, home.db()), QStringList{QStringLiteral("老王饺子馆")});
        QVERIFY(!setupPending(home.db()));
        const RecordingSurface page = printedReceipt(home, platform);
        QCOMPARE(pictures(page), 0);
        QVERIFY2(page.find(QStringLiteral("订餐电话:0531-88886666")), qPrintable(page.texts().join('|')));
        QCOMPARE(CatalogStore(home.db()).loadDishes()->size(), 28); // the sample menu was kept
    }

    // 跳过 on the first page: nothing but the end of the offer changes; the receipt keeps the first-run
    // settings, sample pictures and sample line included.
    void skippedSetUpLeavesTheFirstRunSettings() {
        TempHome home;
        FakePlatform platform;
        const QStringList before = records(home.db());
        const QStringList names = listRows(NamedList::ShopNames, home.db());
        {
            SetupWizard wizard(home.db(), home.home(), platform, {});
            wizard.show();
            typeKeys(child<QPlainTextEdit>(wizard, "编辑框_店铺名称"), QStringLiteral("老王饺子馆"));
            click(wizard, "按钮_跳过");
        }
        QCOMPARE(records(home.db()), before);
        QCOMPARE(listRows(NamedList::ShopNames, home.db()), names);
        QVERIFY(!setupPending(home.db()));
        const RecordingSurface page = printedReceipt(home, platform);
        QVERIFY(page.find(QStringLiteral("订餐电话:1390000****")));
    }

    void picturesPage_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("printed");
        QTest::newRow("none") << int(PictureChoice::None) << 0;
        QTest::newRow("own logo only") << int(PictureChoice::Own) << 1;
    }
    void picturesPage() {
        QFETCH(int, choice);
        QFETCH(int, printed);
        TempHome home;
        FakePlatform platform;
        ShopSetup setup(home.db(), home.home(), platform);
        PicturePick logo;
        const QString file = QDir(home.path()).filePath(QStringLiteral("logo.png"));
        QImage(200, 80, QImage::Format_RGB32).save(file, "PNG");
        platform.fileAnswers.enqueue(file);
        QVERIFY(setup.choosePicture(logo));
        QVERIFY(setup.applyPictures(PictureChoice(choice), logo, {}));
        QCOMPARE(pictures(printedReceipt(home, platform)), printed);
        QCOMPARE(QFile::exists(home.home().topPicturePath()), printed == 1);
    }

    // A printer address left out keeps the page open on the box to fill; nothing of the printer is stored.
    void printerPageRefusesAMissingAddress() {
        TempHome home;
        FakePlatform platform;
        ShopSetup setup(home.db(), home.home(), platform);
        PrintSettingsForm form;
        form.printer.kind = PrinterKind::Network;
        PrinterField invalid = PrinterField::None;
        QVERIFY(!setup.applyPrinter(form, 1, &invalid));
        QCOMPARE(invalid, PrinterField::Host);
        QCOMPARE(platform.shown.size(), 1);
        QCOMPARE(RecordStore(home.db()).read(QStringLiteral("小票类型")), QStringLiteral("0"));

        form.printer.host = QStringLiteral("127.0.0.1");
        form.portText = QStringLiteral("9101");
        QVERIFY(setup.applyPrinter(form, 1, &invalid));
        QCOMPARE(RecordStore(home.db()).read(QStringLiteral("小票类型")), QStringLiteral("1"));
    }

    // "清空示例菜品，从 CSV 文件导入…": the samples go, the file's dishes come in.
    void menuPageImportsIntoAnEmptyMenu() {
        TempHome home;
        FakePlatform platform;
        const QString file = QDir(home.path()).filePath(QStringLiteral("菜单.csv"));
        QFile csv(file);
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("数字代号,品名,价格,单位\n101,猪肉白菜水饺,18,份\n102,酸辣汤,6,碗\n");
        csv.close();
        platform.fileAnswers.enqueue(file);
        bool imported = false;
        SetupWizard wizard(home.db(), home.home(), platform, {}, [&imported](QDialog& dialog) {
            imported = static_cast<ImportDialog&>(dialog).importRows();
        });
        wizard.show();
        for (int page = SetupWizard::ShopPage; page < SetupWizard::MenuPage; ++page)
            click(wizard, "按钮_下一步");
        child<QRadioButton>(wizard, "单选_菜单_3")->setChecked(true);
        click(wizard, "按钮_完成");
        QVERIFY(imported);
        const std::optional<QList<StoredDish>> dishes = CatalogStore(home.db()).loadDishes();
        QVERIFY(dishes);
        QCOMPARE(dishes->size(), 2);
        QCOMPARE(dishes->at(0).name, QStringLiteral("猪肉白菜水饺"));
    }
};

QTEST_MAIN(ShopSetupTest)
#include "tst_shopsetup.moc"
