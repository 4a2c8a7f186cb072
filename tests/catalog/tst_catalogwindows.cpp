#include "catalog/ui/dishcatalogwindow.h"
#include "catalog/ui/namedlistwindow.h"
#include "catalog/ui/tablecodewindow.h"
#include "core/gbk.h"
#include "core/ui/reportlistview.h"
#include "store/catalogstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"
#include "support/widgetdriver.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QQueue>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;

namespace {

void type(QWidget& window, const char* edit, const QString& text) {
    auto* box = child<QLineEdit>(window, edit);
    box->clear();
    typeKeys(box, text);
}

// Modal windows opened by the window under test are handed, in order, to these scripts instead of
// being run; each script drives its window and returns.
struct Modals {
    QQueue<std::function<void(QDialog&)>> scripts;
    QStringList opened;
    RunModal runner() {
        return [this](QDialog& dialog) {
            opened << dialog.objectName();
            if (!scripts.isEmpty())
                scripts.dequeue()(dialog);
        };
    }
};

FakePlatform::Shown last(const FakePlatform& platform) {
    return platform.shown.isEmpty() ? FakePlatform::Shown{} : platform.shown.last();
}

} // namespace

class CatalogWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void dishListShowsTheCatalogue() {
        TempHome home;
        FakePlatform platform;
        DishCatalogWindow window(home.db(), platform);
        auto* list = child<ReportListView>(window, "超级列表框1");
        QCOMPARE(window.windowTitle(), QStringLiteral("菜单设置"));
        QCOMPARE(list->model()->rowCount(), 28);
        QVERIFY(list->isColumnHidden(0));
        QCOMPARE(list->font().family(), QStringLiteral("微软雅黑"));
        QCOMPARE(list->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("菜名"));
        QCOMPARE(list->model()->index(4, 4).data().toString(), QStringLiteral("15.5"));
        QCOMPARE(list->selectedRow(), -1);
        QCOMPARE(child<QPushButton>(window, "按钮1")->text(), QStringLiteral("添加"));
        QCOMPARE(child<QPushButton>(window, "按钮3")->text(), QStringLiteral("修改"));
        QCOMPARE(child<QPushButton>(window, "按钮2")->text(), QStringLiteral("删除"));
    }

    void deleteKeyAndButtonOnTheDishList() {
        TempHome home;
        FakePlatform platform;
        DishCatalogWindow window(home.db(), platform);
        window.show();
        auto* list = child<ReportListView>(window, "超级列表框1");
        QTest::keyRelease(list, Qt::Key_Delete);
        QCOMPARE(platform.texts(), QStringList{"请选择要删除的项目。"});
        QCOMPARE(last(platform).icon, MessageIcon::Information);

        list->selectRow(27);
        platform.yesNoAnswers.enqueue(true);
        click(window, "按钮2");
        QCOMPARE(platform.texts().mid(1), (QStringList{"是否删除：空心菜 ?", "处理成功。"}));
        QCOMPARE(platform.shown.at(1).icon, MessageIcon::Question);
        QCOMPARE(last(platform).icon, MessageIcon::None);
        QCOMPARE(list->model()->rowCount(), 27);
        QCOMPARE(list->selectedRow(), 26);
    }

    void rightClickOffersModifyAndDelete() {
        TempHome home;
        FakePlatform platform;
        DishCatalogWindow window(home.db(), platform);
        auto* list = child<ReportListView>(window, "超级列表框1");
        QMenu* menu = list->createRowMenu();
        QCOMPARE(menu->objectName(), QStringLiteral("菜单"));
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text(), QStringLiteral("修改"));
        QVERIFY(actions[1]->isSeparator());
        QCOMPARE(actions[2]->text(), QStringLiteral("删除"));
        actions[0]->trigger();
        QCOMPARE(platform.texts(), QStringList{"请选择要修改的项目。"});

        // No menu without a selected row; one with it.
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), list->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(list->viewport(), &event);
        QVERIFY(!QApplication::activePopupWidget());
        list->selectRow(0);
        QCoreApplication::sendEvent(list->viewport(), &event);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("菜单"));
        QApplication::activePopupWidget()->close();
    }

    void addDialogDerivesLetterCodeAndAddsDishes() {
        TempHome home;
        FakePlatform platform;
        Modals modals;
        DishCatalogWindow window(home.db(), platform, modals.runner());
        auto* list = child<ReportListView>(window, "超级列表框1");
        modals.scripts.enqueue([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("项目或菜品添加"));
            type(dialog, "编辑框3", "宫保 鸡丁");
            QCOMPARE(child<QLineEdit>(dialog, "编辑框2")->text(), QStringLiteral("gb jd"));
            type(dialog, "编辑框1", "901");
            type(dialog, "编辑框4", "２８.５");

            // Dropping the unit list down reloads it with nothing chosen.
            auto* unit = child<QComboBox>(dialog, "组合框1");
            unit->setCurrentIndex(2);
            unit->showPopup();
            unit->hidePopup();
            QCOMPARE(unit->currentIndex(), -1);
            QCOMPARE(unit->count(), 10);
            click(dialog, "按钮1");
            QCOMPARE(last(platform).text, QStringLiteral("没有选择项目的计量单位，请选择后重试。"));

            unit->setCurrentIndex(unit->findText("碟"));
            click(dialog, "按钮1");
            QCOMPARE(last(platform).text, QStringLiteral("保存完成。"));
            QCOMPARE(last(platform).icon, MessageIcon::None);
            QCOMPARE(list->selectedRow(), 28);
            for (const char* edit : {"编辑框1", "编辑框2", "编辑框3", "编辑框4"})
                QVERIFY(child<QLineEdit>(dialog, edit)->text().isEmpty());
            QCOMPARE(unit->currentText(), QStringLiteral("碟"));

            // An existing code is refused before the name is looked at, and its row is shown.
            type(dialog, "编辑框3", "空心菜");
            type(dialog, "编辑框1", "002");
            type(dialog, "编辑框4", "3");
            click(dialog, "按钮1");
            QCOMPARE(last(platform).text, QStringLiteral("代号已经存在，不能重复添加。"));
            QCOMPARE(last(platform).icon, MessageIcon::Information);
            QCOMPARE(list->selectedRow(), 1);
            QCOMPARE(child<QLineEdit>(dialog, "编辑框1")->text(), QStringLiteral("002"));
        });
        click(window, "按钮1");
        QCOMPARE(modals.opened, QStringList{"项目或菜品添加"});
        QVERIFY(modals.scripts.isEmpty());
        const auto dishes = CatalogStore(home.db()).loadDishes();
        QCOMPARE(dishes->size(), 29);
        QCOMPARE(dishes->last().name, QStringLiteral("宫保 鸡丁"));
        QCOMPARE(dishes->last().letters, QStringLiteral("gb jd"));
        QCOMPARE(dishes->last().price, 28.5);
        QCOMPARE(dishes->last().unit, QStringLiteral("碟"));
    }

    // The station chosen in the dish dialog is stored on the dish: a new dish starts at 厨房, the modify
    // dialog shows the dish's own and stores another one chosen.
    void dishDialogStoresTheStation() {
        TempHome home;
        const CatalogStore store(home.db());
        QVERIFY(store.insertNamed(NamedList::Stations, QStringLiteral("面点")));
        FakePlatform platform;
        Modals modals;
        DishCatalogWindow window(home.db(), platform, modals.runner());
        auto* list = child<ReportListView>(window, "超级列表框1");
        modals.scripts.enqueue([&](QDialog& dialog) {
            auto* station = child<QComboBox>(dialog, "组合框_出品部门");
            QCOMPARE(station->currentText(), QStringLiteral("厨房"));
            QVERIFY(station->findText(QStringLiteral("面点")) >= 0);
            QVERIFY(station->findText(QStringLiteral("不出单")) >= 0);
            type(dialog, "编辑框3", "韭菜盒子");
            type(dialog, "编辑框1", "902");
            type(dialog, "编辑框4", "6");
            auto* unit = child<QComboBox>(dialog, "组合框1");
            unit->setCurrentIndex(unit->findText("份"));
            station->setCurrentIndex(station->findText(QStringLiteral("面点")));
            click(dialog, "按钮1");
            QCOMPARE(last(platform).text, QStringLiteral("保存完成。"));
        });
        click(window, "按钮1");
        QVERIFY(modals.scripts.isEmpty());
        std::optional<QList<StoredDish>> dishes = store.loadDishes();
        QCOMPARE(dishes->last().name, QStringLiteral("韭菜盒子"));
        QCOMPARE(dishes->last().station, QStringLiteral("面点"));

        const int row = int(dishes->size()) - 1;
        list->selectRow(row);
        modals.scripts.enqueue([&](QDialog& dialog) {
            auto* station = child<QComboBox>(dialog, "组合框_出品部门");
            QCOMPARE(station->currentText(), QStringLiteral("面点"));
            station->setCurrentIndex(station->findText(QStringLiteral("不出单")));
            click(dialog, "按钮1");
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        });
        click(window, "按钮3");
        QVERIFY(modals.scripts.isEmpty());
        QCOMPARE(store.loadDishes()->at(row).station, QStringLiteral("不出单"));
        QCOMPARE(store.loadDishStations()->value(QStringLiteral("韭菜盒子")), QStringLiteral("不出单"));
    }

    void typingIsLimitedInGbkBytes_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("name: 32 bytes")
            << "编辑框3" << QString(20, QChar(0x83DC)) << QString(16, QChar(0x83DC));
        QTest::newRow("name: mixed") << "编辑框3" << QString(31, 'a') + "菜b" << QString(31, 'a') + "b";
        QTest::newRow("letters: 16 bytes") << "编辑框2" << QString(20, 'x') << QString(16, 'x');
        QTest::newRow("code: 8 bytes") << "编辑框1"
                                       << "123456789"
                                       << "12345678";
        QTest::newRow("price: no limit") << "编辑框4" << QString(40, '9') << QString(40, '9');
    }
    void typingIsLimitedInGbkBytes() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        TempHome home;
        FakePlatform platform;
        Modals modals;
        DishCatalogWindow window(home.db(), platform, modals.runner());
        modals.scripts.enqueue([&](QDialog& dialog) {
            auto* box = child<QLineEdit>(dialog, edit.toUtf8().constData());
            typeKeys(box, typed);
            QCOMPARE(box->text(), kept);
        });
        click(window, "按钮1");
        QVERIFY(modals.scripts.isEmpty());
    }

    void modifyDialogSavesByName() {
        TempHome home;
        FakePlatform platform;
        Modals modals;
        DishCatalogWindow window(home.db(), platform, modals.runner());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* list = child<ReportListView>(window, "超级列表框1");
        click(window, "按钮3");
        QCOMPARE(platform.texts(), QStringList{"请选择要修改的项目。"});
        QVERIFY(modals.opened.isEmpty());

        list->selectRow(5);
        modals.scripts.enqueue([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("项目或菜品修改"));
            auto* code = child<QLineEdit>(dialog, "编辑框1");
            QCOMPARE(code->text(), QStringLiteral("006"));
            dialog.show();
            QTRY_VERIFY(!code->hasSelectedText());
            QCOMPARE(code->cursorPosition(), 3);
            QCOMPARE(child<QLineEdit>(dialog, "编辑框2")->text(), QStringLiteral("xgzrsj"));
            QCOMPARE(child<QLineEdit>(dialog, "编辑框3")->text(), QStringLiteral("香菇猪肉水饺"));
            QCOMPARE(child<QLineEdit>(dialog, "编辑框4")->text(), QStringLiteral("16"));
            QCOMPARE(child<QComboBox>(dialog, "组合框1")->currentText(), QStringLiteral("碗"));
            // No automatic letter code here.
            type(dialog, "编辑框3", "香菇猪肉水饺子");
            QCOMPARE(child<QLineEdit>(dialog, "编辑框2")->text(), QStringLiteral("xgzrsj"));
            click(dialog, "按钮1");
            QCOMPARE(last(platform).text, QStringLiteral("名称不存在，无法完成修改。"));
            QCOMPARE(dialog.result(), int(QDialog::Rejected));

            type(dialog, "编辑框3", "香菇猪肉水饺");
            type(dialog, "编辑框4", "17.25");
            click(dialog, "按钮1");
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(last(platform).text, QStringLiteral("修改完成。"));
            QCOMPARE(last(platform).icon, MessageIcon::None);
        });
        // A real double click: press and release, then the double click.
        const QPoint point = list->visualRect(list->model()->index(5, 1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(modals.opened, QStringList{"项目或菜品修改"});
        QVERIFY(modals.scripts.isEmpty());
        QCOMPARE(list->model()->index(5, 4).data().toString(), QStringLiteral("17.3"));
        QCOMPARE(list->selectedRow(), 5);
        QCOMPARE(CatalogStore(home.db()).loadDishes()->at(5).price, 17.3);
    }

    void unitsWindowRefreshesTheDishDialog() {
        TempHome home;
        FakePlatform platform;
        Modals modals;
        DishCatalogWindow window(home.db(), platform, modals.runner());
        auto addUnit = [&](QDialog& units) {
            QCOMPARE(units.windowTitle(), QStringLiteral("计量单位设置"));
            auto* box = child<QComboBox>(units, "组合框1");
            QCOMPARE(box->itemText(0), QStringLiteral("份"));
            box->setEditText(QStringLiteral("斤"));
            click(units, "按钮1");
            QCOMPARE(last(platform).text, QStringLiteral("保存完成"));
            QCOMPARE(last(platform).caption, QStringLiteral("提示"));
        };
        modals.scripts.enqueue([&](QDialog& dialog) {
            auto* unit = child<QComboBox>(dialog, "组合框1");
            unit->setCurrentIndex(0);
            modals.scripts.enqueue(addUnit);
            click(dialog, "按钮8");
            QCOMPARE(unit->findText("斤"), 10);
            QCOMPARE(unit->currentIndex(), -1);
        });
        click(window, "按钮1");

        child<ReportListView>(window, "超级列表框1")->selectRow(5);
        modals.scripts.enqueue([&](QDialog& dialog) {
            auto* unit = child<QComboBox>(dialog, "组合框1");
            QCOMPARE(unit->count(), 11);
            unit->setCurrentIndex(0);
            modals.scripts.enqueue([&](QDialog& units) { click(units, "按钮2"); });
            click(dialog, "按钮8");
            QCOMPARE(unit->currentText(), QStringLiteral("碗"));
        });
        click(window, "按钮3");
        QCOMPARE(modals.opened,
                 (QStringList{"项目或菜品添加", "计量单位设置", "项目或菜品修改", "计量单位设置"}));
        QVERIFY(modals.scripts.isEmpty());
    }

    void namedListWindows_data() {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("firstItem");
        QTest::addColumn<QString>("existing");
        QTest::newRow("units") << int(NamedList::Units) << "计量单位设置"
                               << "份"
                               << "瓶";
        QTest::newRow("ticket headers") << int(NamedList::TicketHeaders) << "票头设置"
                                        << ""
                                        << "淘点点";
        QTest::newRow("shop names") << int(NamedList::ShopNames) << "店铺名称设置"
                                    << ""
                                    << "白云快餐";
        QTest::newRow("discounts") << int(NamedList::Discounts) << "优惠减免设置"
                                   << ""
                                   << "开业酬宾";
    }
    void namedListWindows() {
        QFETCH(int, list);
        QFETCH(QString, title);
        QFETCH(QString, firstItem);
        QFETCH(QString, existing);
        TempHome home;
        FakePlatform platform;
        NamedListWindow window(NamedList(list), home.db(), platform);
        QCOMPARE(window.windowTitle(), title);
        auto* box = child<QComboBox>(window, "组合框1");
        QVERIFY(box->isEditable());
        QCOMPARE(box->itemText(0), firstItem);
        const int count = box->count();

        box->setEditText(existing);
        click(window, "按钮1");
        box->setEditText(QStringLiteral(" ") + existing);
        click(window, "按钮1");
        QCOMPARE(box->count(), count + 1);
        QCOMPARE(box->itemText(count), QStringLiteral(" ") + existing);

        // What is typed is what is saved, even when an item starts with it.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        box->setFocus();
        box->setEditText(QString());
        typeKeys(box->lineEdit(), existing.left(1));
        QCOMPARE(box->currentText(), existing.left(1));

        box->setEditText(existing + QStringLiteral("?"));
        click(window, "按钮2");
        box->setCurrentIndex(box->findText(existing));
        click(window, "按钮2");
        QCOMPARE(box->findText(existing), -1);
        QCOMPARE(box->currentText(), QString());
        QCOMPARE(platform.texts(),
                 (QStringList{"该项已存在", "保存完成", "请填入或选择要删除的内容", "删除完成"}));
        for (const FakePlatform::Shown& shown : platform.shown) {
            QCOMPARE(shown.icon, MessageIcon::Information);
            QCOMPARE(shown.caption, QStringLiteral("提示"));
        }
        QStringList stored = *CatalogStore(home.db()).loadNamedList(NamedList(list));
        QVERIFY(stored.contains(QStringLiteral(" ") + existing));
        QVERIFY(!stored.contains(existing));
    }

    void tableCodeWindows() {
        TempHome home;
        FakePlatform platform;
        Modals modals;
        TableCodeWindow window(home.db(), platform, modals.runner());
        QCOMPARE(window.windowTitle(), QStringLiteral("桌号设置"));
        auto* list = child<ReportListView>(window, "超级列表框1");
        QCOMPARE(list->model()->rowCount(), 18);
        QVERIFY(list->isColumnHidden(0));
        QCOMPARE(list->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("桌号"));

        modals.scripts.enqueue([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("桌号添加"));
            type(dialog, "编辑框1", "a1");
            type(dialog, "编辑框2", "大厅");
            click(dialog, "按钮1");
            QCOMPARE(last(platform).text, QStringLiteral("数字代号不能为空为 0，请输入代号后重试。"));
            type(dialog, "编辑框1", "12a");
            click(dialog, "按钮1");
            QCOMPARE(last(platform).text, QStringLiteral("保存完成。"));
            QCOMPARE(list->selectedRow(), 18);
            QVERIFY(child<QLineEdit>(dialog, "编辑框1")->text().isEmpty());
            QVERIFY(child<QLineEdit>(dialog, "编辑框2")->text().isEmpty());
            // 24 bytes for the name: twelve Chinese characters.
            auto* name = child<QLineEdit>(dialog, "编辑框2");
            typeKeys(name, QString(13, QChar(0x684C)));
            QCOMPARE(gbkLength(name->text()), 24);
        });
        click(window, "按钮1");

        modals.scripts.enqueue([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("桌号修改"));
            QCOMPARE(child<QLineEdit>(dialog, "编辑框1")->text(), QStringLiteral("12a"));
            QCOMPARE(child<QLineEdit>(dialog, "编辑框2")->text(), QStringLiteral("大厅"));
            click(dialog, "按钮1");
            QCOMPARE(last(platform).text, QStringLiteral("代号已存在，无法重复定义该代号。"));
            type(dialog, "编辑框1", "13");
            click(dialog, "按钮1");
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(last(platform).text, QStringLiteral("修改完成。"));
        });
        click(window, "按钮3");
        QCOMPARE(list->model()->index(18, 1).data().toString(), QStringLiteral("13"));

        platform.yesNoAnswers.enqueue(true);
        QTest::keyRelease(list, Qt::Key_Delete);
        QCOMPARE(platform.texts().mid(platform.texts().size() - 2),
                 (QStringList{"是否删除桌号：大厅 ?", "处理成功。"}));
        QCOMPARE(list->model()->rowCount(), 18);
        QCOMPARE(list->selectedRow(), 17);
        QCOMPARE(modals.opened, (QStringList{"桌号添加", "桌号修改"}));
        QVERIFY(modals.scripts.isEmpty());
        QCOMPARE(CatalogStore(home.db()).loadTableCodes()->size(), 18);
    }
    // 导入… through the window: the file chosen, the choice to update known codes, 导入 with its
    // progress; the list shows the result. A cancel in the progress stores nothing. 导出… writes a
    // file that imports back to no change.
    void importAndExportThroughTheWindow() {
        TempHome home;
        QTemporaryDir dir;
        const QString file = dir.filePath("menu.csv");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(
            toGbk("代码;菜名;单价;单位\r\n001;红烧排骨饭;20;份\r\n301;宫保鸡丁;18;份\r\n302;坏;x;份\r\n"));
        out.close();
        const int before = int(CatalogStore(home.db()).loadDishes()->size());

        FakePlatform platform;
        Modals modals;
        DishCatalogWindow window(home.db(), platform, modals.runner());
        QStringList summaries;
        auto script = [&](QDialog& dialog) {
            child<QRadioButton>(dialog, "单选框_更新")->click();
            summaries << child<QLabel>(dialog, "标签_导入结果")->text();
            QCOMPARE(child<QTableWidget>(dialog, "表格_不能导入")->item(0, 1)->text(),
                     QStringLiteral("价格“x”不是数字"));
            QCOMPARE(child<QTableWidget>(dialog, "表格_预览")->item(1, 1)->text(), QStringLiteral("gbjd"));
            child<QPushButton>(dialog, "按钮_导入")->click();
        };
        platform.cancelProgressAt = 0;
        platform.fileAnswers.enqueue(file);
        modals.scripts.enqueue(script);
        child<QPushButton>(window, "按钮_导入")->click();
        QCOMPARE(last(platform).text, QStringLiteral("已取消导入，没有保存任何数据。"));
        QCOMPARE(int(CatalogStore(home.db()).loadDishes()->size()), before);

        platform.cancelProgressAt = -1;
        platform.fileAnswers.enqueue(file);
        modals.scripts.enqueue(script);
        child<QPushButton>(window, "按钮_导入")->click();
        QCOMPARE(summaries.last(), QStringLiteral("共 3 行：新增 1，更新 1，不变 0，不能导入 1。"));
        QCOMPARE(last(platform).text, QStringLiteral("导入完成：新增 1 行，更新 1 行。"));
        const QList<StoredDish> dishes = *CatalogStore(home.db()).loadDishes();
        QCOMPARE(int(dishes.size()), before + 1);
        QCOMPARE(dishes.first().price, 20.0);
        auto* list = child<ReportListView>(window, "超级列表框1");
        QCOMPARE(list->model()->rowCount(), before + 1);

        const QString exported = dir.filePath("out.csv");
        platform.fileAnswers.enqueue(exported);
        QStringList told;
        window.setExported([&](const QString& path) { told << path; });
        child<QPushButton>(window, "按钮_导出")->click();
        QCOMPARE(last(platform).text, QStringLiteral("导出完成。"));
        QCOMPARE(told, QStringList{exported});
        QFile written(exported);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith(
            toGbk("数字代号,品名,价格,单位,出品部门\r\n001,红烧排骨饭,20,份,厨房\r\n")));
        platform.fileAnswers.enqueue(exported);
        modals.scripts.enqueue([&](QDialog& dialog) {
            child<QRadioButton>(dialog, "单选框_更新")->click();
            summaries << child<QLabel>(dialog, "标签_导入结果")->text();
            QVERIFY(!child<QPushButton>(dialog, "按钮_导入")->isEnabled());
        });
        child<QPushButton>(window, "按钮_导入")->click();
        QCOMPARE(summaries.last(),
                 QStringLiteral("共 %1 行：新增 0，更新 0，不变 %1，不能导入 0。").arg(before + 1));
    }
};

QTEST_MAIN(CatalogWindowsTest)
#include "tst_catalogwindows.moc"
