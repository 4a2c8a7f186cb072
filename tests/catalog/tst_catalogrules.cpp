#include "catalog/dishcatalog.h"
#include "catalog/lettercode.h"
#include "catalog/namedlist.h"
#include "catalog/tablecodes.h"
#include "core/numtext.h"
#include "order/dishcache.h"
#include "store/catalogstore.h"
#include "store/orderformstore.h"
#include "support/temphome.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace qm;

namespace {

QStringList rowsOf(Database& db, const QString& sql) {
    QStringList out;
    QSqlQuery query = db.prepare(sql);
    if (query.exec()) {
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < query.record().count(); ++i)
                fields << query.value(i).toString();
            out << fields.join(QLatin1Char('|'));
        }
    }
    return out;
}

const auto yes = [](const QString&) { return true; };

} // namespace

class CatalogRulesTest : public QObject {
    Q_OBJECT

private slots:
    void letterCode_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::newRow("hanzi") << "宫保鸡丁"
                               << "gbjd";
        QTest::newRow("ascii kept with case") << "可乐2L"
                                              << "kl2L";
        QTest::newRow("inner space") << "宫保 鸡丁"
                                     << "gb jd";
        QTest::newRow("outer spaces kept") << " 鱼 "
                                           << " y ";
        QTest::newRow("茄 reads jia") << "茄子"
                                      << "jz";
        QTest::newRow("长 reads chang") << "长"
                                        << "c";
        QTest::newRow("重 reads zhong") << "重"
                                        << "z";
        QTest::newRow("调 reads tiao") << "调"
                                       << "t";
        QTest::newRow("虾 reads xia") << "虾"
                                      << "x";
        QTest::newRow("行 乐 红 角") << "行乐红角"
                                     << "xlhj";
        QTest::newRow("家 和 还") << "家和还"
                                  << "jhh";
        QTest::newRow("full-width punctuation") << "，。！（）"
                                                << "";
        QTest::newRow("full-width letters and space") << "ＡＢ　１"
                                                      << "";
        QTest::newRow("radical") << "氵"
                                 << "";
        QTest::newRow("呒 has no reading") << "呒"
                                           << "";
        QTest::newRow("GBK extension character") << "丟"
                                                 << "";
        // Characters GBK cannot hold (an emoji, a rare hanzi) give no letter and no stand-in byte.
        QTest::newRow("outside GBK") << "牛肉面🍜𠀀"
                                     << "nrm";
        QTest::newRow("mixed") << "红烧排骨饭(大)"
                               << "hspgf(d)";
        QTest::newRow("empty") << ""
                               << "";
    }
    void letterCode() {
        QFETCH(QString, name);
        QFETCH(QString, code);
        QCOMPARE(qm::letterCode(name), code);
    }

    void pinyinTableCoversTheHanziBlock() {
        const QByteArray& table = pinyinInitials();
        QCOMPARE(table.size(), 6768);
        int letters = 0;
        for (const char c : table)
            letters += (c >= 'a' && c <= 'z') ? 1 : 0;
        QCOMPARE(letters, 6725);
        // D7FA..D7FE are unassigned.
        const int row = 0xD7 - 0xB0;
        QCOMPARE(table.mid(row * 94 + (0xFA - 0xA1), 5), QByteArray("-----"));
    }

    // The letter codes the first-run catalogue was made with agree with the table (茄子豆角 was stored
    // as qzdj by hand; the table reads 茄 as jia first).
    void firstRunCatalogueAgreesWithTheTable() {
        TempHome home;
        const auto dishes = CatalogStore(home.db()).loadDishes();
        QVERIFY(dishes && dishes->size() == 28);
        for (const StoredDish& dish : *dishes) {
            if (dish.name != QStringLiteral("茄子豆角"))
                QCOMPARE(qm::letterCode(dish.name), dish.letters);
        }
    }

    void readPrice_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("price");
        QTest::addColumn<QString>("refusal");
        const QString refused = QStringLiteral("价格不能小于或者等于0，请输入价格后重试。");
        QTest::newRow("half up") << "12.25" << 12.3 << "";
        QTest::newRow("small half up") << "0.15" << 0.2 << "";
        QTest::newRow("0.04 refused") << "0.04" << 0.0 << refused;
        QTest::newRow("0.05 gives 0.1") << "0.05" << 0.1 << "";
        QTest::newRow("trailing zero") << "12.50" << 12.5 << "";
        QTest::newRow("full-width digits") << "１２" << 12.0 << "";
        QTest::newRow("letters") << "abc" << 0.0 << refused;
        QTest::newRow("number then text") << "8元" << 8.0 << "";
        QTest::newRow("negative") << "-5" << -5.0 << refused;
        QTest::newRow("empty") << "" << 0.0 << refused;
        const QString tooLarge = QStringLiteral("价格超出设定，请将价格控制在 1000000 以内。");
        QTest::newRow("the largest price") << "1000000" << 1000000.0 << "";
        QTest::newRow("above the largest") << "1000000.1" << 1000000.1 << tooLarge;
        QTest::newRow("1e308, no infinity") << "1e308" << 1e308 << tooLarge;
        QTest::newRow("beyond a double") << "1e309" << 0.0 << tooLarge;
    }
    void readPrice() {
        QFETCH(QString, text);
        QFETCH(double, price);
        QFETCH(QString, refusal);
        QCOMPARE(qm::readPrice(text), price);
        const DishCheck check = qm::checkDish({"1", "", "菜", text, "份"});
        QCOMPARE(check.refusal, refusal);
    }

    void checkDish_data() {
        QTest::addColumn<QStringList>("fields"); // code, letters, name, price, unit
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QStringList>("stored"); // code, letters, name when accepted
        QTest::newRow("all empty: code first")
            << QStringList{"", "", "", "", ""} << "数字代号不能为空，请输入代号后重试。" << QStringList{};
        QTest::newRow("blank code") << QStringList{" 　 ", "x", "菜", "1", "份"}
                                    << "数字代号不能为空，请输入代号后重试。" << QStringList{};
        QTest::newRow("blank name") << QStringList{"1", "x", "　", "0", ""}
                                    << "名称不能为空，请输入名称后重试。" << QStringList{};
        QTest::newRow("price before unit") << QStringList{"1", "x", "菜", "0", ""}
                                           << "价格不能小于或者等于0，请输入价格后重试。" << QStringList{};
        QTest::newRow("no unit") << QStringList{"1", "x", "菜", "3", ""}
                                 << "没有选择项目的计量单位，请选择后重试。" << QStringList{};
        QTest::newRow("trimmed, inner blanks kept, letters may be empty")
            << QStringList{"　0 1 ", "", " 宫保 鸡丁　", "3", "份"} << ""
            << QStringList{"0 1", "", "宫保 鸡丁"};
    }
    void checkDish() {
        QFETCH(QStringList, fields);
        QFETCH(QString, refusal);
        QFETCH(QStringList, stored);
        const DishCheck check = qm::checkDish({fields[0], fields[1], fields[2], fields[3], fields[4]});
        QCOMPARE(check.refusal, refusal);
        if (check.ok())
            QCOMPARE((QStringList{check.dish.code, check.dish.letters, check.dish.name}), stored);
    }

    void addDish_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("row");
        QTest::newRow("existing code, new name") << "108"
                                                 << "新菜"
                                                 << "代号已经存在，不能重复添加。" << 27;
        QTest::newRow("code checked before name") << "002"
                                                  << "空心菜"
                                                  << "代号已经存在，不能重复添加。" << 1;
        QTest::newRow("existing name, new code") << "999"
                                                 << "空心菜"
                                                 << "名称已经存在，不能重复添加。" << 27;
        QTest::newRow("full-width digit makes another code") << " 00１"
                                                             << "新菜"
                                                             << "保存完成。" << 28;
    }
    void addDish() {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(int, row);
        TempHome home;
        const CatalogStore store(home.db());
        DishCatalog catalog(store);
        catalog.load();
        const Outcome outcome = catalog.add({code, "", name, "5", "份"});
        QCOMPARE(outcome.message, message);
        QCOMPARE(outcome.row, row);
        QCOMPARE(outcome.done, row == 28);
        QCOMPARE(catalog.rowCount(), outcome.done ? 29 : 28);
        QCOMPARE(store.loadDishes()->size(), catalog.rowCount());
    }

    void addedDishIsStoredAsTypedAndFoundByOrderEntry() {
        TempHome home;
        const CatalogStore store(home.db());
        DishCatalog catalog(store);
        catalog.load();
        const QString name = QStringLiteral("Joe's 宫保鸡丁");
        const Outcome outcome = catalog.add({"901", qm::letterCode(name), name, "0.05", "份"});
        QVERIFY(outcome.done);
        QCOMPARE(outcome.message, QStringLiteral("保存完成。"));
        QCOMPARE(catalog.rows().last().priceText, QStringLiteral("0.1"));
        QCOMPARE(rowsOf(home.db(), "SELECT 代码, 字母, 菜名, 价格, 单位 FROM 菜单 WHERE 代码 = '901'"),
                 QStringList{"901|Joe's gbjd|Joe's 宫保鸡丁|0.1|份"});

        // What order entry sees once the window has closed and its cache is reloaded.
        DishCache cache;
        cache.reset(loadDishes(home.db()));
        for (const QString& typed : {QStringLiteral("901"), QStringLiteral("gbjd")}) {
            const auto found = searchDishes(cache, typed);
            QCOMPARE(found.size(), 1);
            QCOMPARE(found.first()->name, name);
        }
    }

    void modifyDish_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("row");
        QTest::newRow("unknown name") << "没有的菜"
                                      << "名称不存在，无法完成修改。" << -1;
        QTest::newRow("another dish's name modifies that dish") << "王老吉"
                                                                << "修改完成。" << 26;
        QTest::newRow("name trimmed") << "　空心菜 "
                                      << "修改完成。" << 27;
    }
    void modifyDish() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(int, row);
        TempHome home;
        const CatalogStore store(home.db());
        DishCatalog catalog(store);
        catalog.load();
        // The code of 001 may be given to another dish: modify checks no code.
        const Outcome outcome = catalog.modify({"001", "abc", name, "12.50", "瓶"});
        QCOMPARE(outcome.message, message);
        QCOMPARE(outcome.row, row);
        const QStringList stored =
            rowsOf(home.db(), "SELECT 代码, 字母, 菜名, 价格, 单位 FROM 菜单 ORDER BY ID");
        if (row >= 0) {
            const QString expected =
                QStringLiteral("001|abc|") + trimBlanks(name) + QStringLiteral("|12.5|瓶");
            QCOMPARE(stored.at(row), expected);
            const DishRow& shown = catalog.rows().at(row);
            QCOMPARE(
                (QStringList{shown.code, shown.letters, shown.name, shown.priceText, shown.unit}).join('|'),
                expected);
            QCOMPARE(stored.filter(QRegularExpression("^001\\|")).size(), 2);
        } else {
            QCOMPARE(stored.filter(QRegularExpression("^001\\|")).size(), 1);
        }
    }

    void removeDish_data() {
        QTest::addColumn<int>("dishes");  // rows kept from the first-run catalogue
        QTest::addColumn<int>("row");     // row chosen, -1 none
        QTest::addColumn<bool>("answer"); // the answer to the question
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("selected"); // row selected afterwards
        QTest::addColumn<int>("left");
        QTest::newRow("none selected") << 28 << -1 << true << "请选择要删除的项目。" << -1 << 28;
        QTest::newRow("answered no") << 28 << 3 << false << "" << -1 << 28;
        QTest::newRow("middle row: same index") << 28 << 3 << true << "处理成功。" << 3 << 27;
        QTest::newRow("last row: new last row") << 28 << 27 << true << "处理成功。" << 26 << 27;
        QTest::newRow("only row: none") << 1 << 0 << true << "处理成功。" << -1 << 0;
    }
    void removeDish() {
        QFETCH(int, dishes);
        QFETCH(int, row);
        QFETCH(bool, answer);
        QFETCH(QString, message);
        QFETCH(int, selected);
        QFETCH(int, left);
        TempHome home;
        QVERIFY(home.db().exec(QStringLiteral("DELETE FROM 菜单 WHERE ID > ?"), {dishes}));
        const CatalogStore store(home.db());
        DishCatalog catalog(store);
        catalog.load();
        QStringList asked;
        const Outcome outcome = catalog.remove(row, [&](const QString& question) {
            asked << question;
            return answer;
        });
        QCOMPARE(outcome.message, message);
        QCOMPARE(outcome.row, selected);
        QCOMPARE(catalog.rowCount(), left);
        QCOMPARE(store.loadDishes()->size(), left);
        if (row == 3)
            QCOMPARE(asked, QStringList{"是否删除：金针菇肉片 ?"});
    }

    void namedListSaveAndDelete_data() {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("action"); // save or delete
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("done");
        const int units = int(NamedList::Units);
        const int headers = int(NamedList::TicketHeaders);
        QTest::newRow("save empty") << units << "save"
                                    << ""
                                    << "请填入要添加的内容" << false;
        QTest::newRow("save existing") << units << "save"
                                       << "瓶"
                                       << "该项已存在" << false;
        QTest::newRow("save new") << units << "save"
                                  << "Joe's 杯"
                                  << "保存完成" << true;
        QTest::newRow("save with leading space") << headers << "save"
                                                 << " 淘点点"
                                                 << "保存完成" << true;
        QTest::newRow("save existing header") << headers << "save"
                                              << "淘点点"
                                              << "该项已存在" << false;
        QTest::newRow("delete unknown") << units << "delete"
                                        << "桶"
                                        << "请填入或选择要删除的内容" << false;
        QTest::newRow("delete empty") << headers << "delete"
                                      << ""
                                      << "请填入或选择要删除的内容" << false;
        QTest::newRow("delete existing") << units << "delete"
                                         << "瓶"
                                         << "删除完成" << true;
    }
    void namedListSaveAndDelete() {
        QFETCH(int, list);
        QFETCH(QString, action);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(bool, done);
        TempHome home;
        const CatalogStore store(home.db());
        const NamedList which = NamedList(list);
        NamedListItems items(store, which);
        items.load({});
        const QStringList before = items.items();
        const Outcome outcome = action == "save" ? items.save(text) : items.remove(text);
        QCOMPARE(outcome.message, message);
        QCOMPARE(outcome.done, done);
        QStringList expected = before;
        if (done && action == "save")
            expected.append(text);
        if (done && action == "delete")
            expected.removeOne(text);
        QCOMPARE(items.items(), expected);
        // The table holds what the list shows (the empty first item aside).
        QStringList stored = *store.loadNamedList(which);
        if (which != NamedList::Units)
            stored.prepend(QString());
        QCOMPARE(stored, expected);
    }

    void namedListsLoad() {
        TempHome home;
        const CatalogStore store(home.db());
        NamedListItems units(store, NamedList::Units);
        QCOMPARE(units.load({}), -1);
        QCOMPARE(units.items().first(), QStringLiteral("份"));
        for (const NamedList list : {NamedList::TicketHeaders, NamedList::ShopNames, NamedList::Discounts}) {
            NamedListItems items(store, list);
            QCOMPARE(items.load({}), -1);
            QCOMPARE(items.items().first(), QString());
            QCOMPARE(items.items().mid(1), *store.loadNamedList(list));
        }
        NamedListItems discounts(store, NamedList::Discounts);
        QCOMPARE(discounts.load(QStringLiteral("开业酬宾")), 3);
        QCOMPARE(fillListFromTable({"a", "b"}, "c").selected, -1);
    }

    void addTableCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("stored"); // the new row, code|name
        const QString badCode = QStringLiteral("数字代号不能为空为 0，请输入代号后重试。");
        QTest::newRow("zero") << "0"
                              << "A桌" << badCode << -1 << "";
        QTest::newRow("negative") << "-3"
                                  << "A桌" << badCode << -1 << "";
        QTest::newRow("blank") << " 　"
                               << "A桌" << badCode << -1 << "";
        QTest::newRow("letters first") << "a12"
                                       << "A桌" << badCode << -1 << "";
        QTest::newRow("code before name") << "0"
                                          << "" << badCode << -1 << "";
        QTest::newRow("no name") << "30"
                                 << "　"
                                 << "桌号不能为空，请输入桌号后重试。" << -1 << "";
        QTest::newRow("existing code") << "101"
                                       << "A桌"
                                       << "代号已经存在，不能重复添加。" << 10 << "";
        QTest::newRow("existing name") << "30"
                                       << "号牌 2"
                                       << "桌号已经存在，不能重复添加。" << 1 << "";
        QTest::newRow("12a stored as typed") << " 12a "
                                             << " A'桌 "
                                             << "保存完成。" << 18 << "12a|A'桌";
        QTest::newRow("01 differs from 1") << "01"
                                           << "B桌"
                                           << "保存完成。" << 18 << "01|B桌";
        QTest::newRow("full-width digits") << "１３"
                                           << "C桌"
                                           << "保存完成。" << 18 << "１３|C桌";
    }
    void addTableCode() {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(int, row);
        QFETCH(QString, stored);
        TempHome home;
        const CatalogStore store(home.db());
        TableCodeList tables(store);
        tables.load();
        QCOMPARE(tables.rowCount(), 18);
        const Outcome outcome = tables.add(code, name);
        QCOMPARE(outcome.message, message);
        QCOMPARE(outcome.row, row);
        const QStringList all = rowsOf(home.db(), "SELECT 代号, 桌号名称 FROM 桌号 ORDER BY ID");
        QCOMPARE(all.size(), stored.isEmpty() ? 18 : 19);
        if (!stored.isEmpty()) {
            QCOMPARE(all.last(), stored);
            QCOMPARE(tables.rows().last().code + '|' + tables.rows().last().name, stored);
        }
    }

    void modifyTableCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("row");
        QTest::newRow("unchanged") << "3"
                                   << "号牌 3"
                                   << "代号已存在，无法重复定义该代号。" << -1;
        QTest::newRow("another's code") << "101"
                                        << "号牌 3"
                                        << "代号已存在，无法重复定义该代号。" << -1;
        QTest::newRow("bad code") << "0"
                                  << "号牌 3"
                                  << "数字代号不能为空为 0，请输入代号后重试。" << -1;
        QTest::newRow("no name") << "33"
                                 << ""
                                 << "桌号不能为空，请输入桌号后重试。" << -1;
        QTest::newRow("new code") << "33"
                                  << "号牌 3"
                                  << "修改完成。" << 2;
        QTest::newRow("unknown name changes nothing") << "33"
                                                      << "号牌 99"
                                                      << "修改完成。" << -1;
    }
    void modifyTableCode() {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(int, row);
        TempHome home;
        const CatalogStore store(home.db());
        TableCodeList tables(store);
        tables.load();
        const QStringList before = rowsOf(home.db(), "SELECT 代号, 桌号名称 FROM 桌号 ORDER BY ID");
        const Outcome outcome = tables.modify(code, name);
        QCOMPARE(outcome.message, message);
        QCOMPARE(outcome.row, row);
        QStringList expected = before;
        if (row >= 0)
            expected[row] = code + '|' + name;
        QCOMPARE(rowsOf(home.db(), "SELECT 代号, 桌号名称 FROM 桌号 ORDER BY ID"), expected);
        QCOMPARE(tables.rows().at(2).code, row >= 0 ? code : QStringLiteral("3"));
    }

    void removeTableCodeDeletesEveryRecordOfTheName() {
        TempHome home;
        const CatalogStore store(home.db());
        QVERIFY(store.insertTableCode({"301", "号牌 5"}));
        TableCodeList tables(store);
        tables.load();
        QCOMPARE(tables.remove(-1, yes).message, QStringLiteral("请选择要删除的项目。"));
        QStringList asked;
        const Outcome outcome = tables.remove(4, [&](const QString& question) {
            asked << question;
            return true;
        });
        QCOMPARE(asked, QStringList{"是否删除桌号：号牌 5 ?"});
        QCOMPARE(outcome.message, QStringLiteral("处理成功。"));
        QCOMPARE(outcome.row, 4);
        QCOMPARE(tables.rowCount(), 17);
        QCOMPARE(store.loadTableCodes()->size(), 17);
        QCOMPARE(tables.rows().at(4).name, QStringLiteral("号牌 6"));
    }
};

QTEST_GUILESS_MAIN(CatalogRulesTest)
#include "tst_catalogrules.moc"
