#include "catalog/csvtable.h"
#include "catalog/customerimport.h"
#include "catalog/dishimport.h"
#include "core/gbk.h"
#include "store/catalogstore.h"
#include "store/customerstore.h"
#include "store/importstore.h"
#include "support/temphome.h"

#include <QTest>

using namespace qm;

namespace {

QByteArray utf8(const char* text) {
    return QByteArray(text);
}
QByteArray gbk(const char* text) {
    return toGbk(QString::fromUtf8(text));
}
QByteArray bom(const char* text) {
    return QByteArray("\xEF\xBB\xBF") + text;
}

struct Imported {
    DishImportPlan plan;
    ImportStoreResult result;
};

Imported importDishes(Database& db, const QByteArray& bytes, ExistingRows existing,
                      const ImportProgress& progress = {}) {
    const CatalogStore store(db);
    const CsvFile file = readCsvFile(bytes);
    const ColumnMap map = mapColumns(dishImportColumns(), file.table.header);
    Imported imported;
    imported.plan = planDishImport(file.table, map, store.loadDishes().value(),
                                   store.loadNamedList(NamedList::Units).value(), existing,
                                   store.loadNamedList(NamedList::Stations).value());
    imported.result = storeDishImport(db, imported.plan.newUnits, imported.plan.inserts,
                                      imported.plan.updates, progress, imported.plan.newStations);
    return imported;
}

QStringList dishLines(Database& db) {
    QStringList lines;
    const QList<StoredDish> dishes = CatalogStore(db).loadDishes().value();
    for (const StoredDish& d : dishes)
        lines << QStringList{d.code, d.letters, d.name, QString::number(d.price), d.unit}.join(
            QLatin1Char('|'));
    return lines;
}

QStringList reasons(const QList<RowRefusal>& refusals) {
    QStringList out;
    for (const RowRefusal& r : refusals)
        out << QStringLiteral("%1:%2").arg(r.line).arg(r.reason);
    return out;
}

QByteArray manyDishes(int count, int badAt = -1) {
    QByteArray text("数字代号,品名,价格,单位\r\n");
    for (int i = 1; i <= count; ++i) {
        if (i == badAt)
            text += "X" + QByteArray::number(i) + ",坏价格菜,十二,份\r\n";
        else
            text += "9" + QByteArray::number(i) + ",菜品" + QByteArray::number(i) + "号," +
                    QByteArray::number(10 + i % 50) + ".5,份\r\n";
    }
    return text;
}

} // namespace

// Dishes and customers brought in from spreadsheet files: what each file stores, what it reports, and
// that nothing is half-stored.
class ImportTest : public QObject {
    Q_OBJECT

private slots:
    void parsesFields_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("header");
        QTest::addColumn<QStringList>("records"); // fields joined by |, with the line each starts on
        QTest::newRow("GBK") << gbk("品名,价格\r\n宫保鸡丁,18\r\n") << int(CsvEncoding::Gbk) << ","
                             << QStringList{"品名", "价格"} << QStringList{"2:宫保鸡丁|18"};
        QTest::newRow("UTF-8 with BOM") << bom("品名;价格\n酸菜鱼;16\n") << int(CsvEncoding::Utf8Bom) << ";"
                                        << QStringList{"品名", "价格"} << QStringList{"2:酸菜鱼|16"};
        QTest::newRow("tabs") << utf8("品名\t价格\n饺子\t15.5") << int(CsvEncoding::Utf8) << "\t"
                              << QStringList{"品名", "价格"} << QStringList{"2:饺子|15.5"};
        QTest::newRow("quotes with commas and line breaks")
            << utf8("品名,价格\r\n\"鱼,大份\",20\r\n\"两行\r\n的名字\",\"3\"\"\"\r\n尾,1\r\n")
            << int(CsvEncoding::Utf8) << "," << QStringList{"品名", "价格"}
            << QStringList{"2:鱼,大份|20", "3:两行\r\n的名字|3\"", "5:尾|1"};
        QTest::newRow("empty and separator-only lines skipped")
            << utf8("a,b\n\n1,2\n,,\r\n3,4\n") << int(CsvEncoding::Utf8) << "," << QStringList{"a", "b"}
            << QStringList{"3:1|2", "5:3|4"};
        QTest::newRow("spreadsheet guard taken off")
            << utf8("a\n'=1+1\n''-x\n'plain\n") << int(CsvEncoding::Utf8) << "," << QStringList{"a"}
            << QStringList{"2:=1+1", "3:'-x", "4:'plain"};
        QTest::newRow("empty file") << QByteArray() << int(CsvEncoding::Utf8) << "," << QStringList{}
                                    << QStringList{};
        QTest::newRow("header only") << utf8("数字代号,品名,价格,单位\r\n") << int(CsvEncoding::Utf8) << ","
                                     << QStringList{"数字代号", "品名", "价格", "单位"} << QStringList{};
    }
    void parsesFields() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        QFETCH(QString, separator);
        QFETCH(QStringList, header);
        QFETCH(QStringList, records);
        const CsvFile file = readCsvFile(bytes);
        QCOMPARE(int(file.encoding), encoding);
        QCOMPARE(QString(file.separator), separator);
        QCOMPARE(file.table.header, header);
        QStringList got;
        for (const CsvRecord& r : file.table.rows)
            got << QString::number(r.line) + QLatin1Char(':') + r.fields.join(QLatin1Char('|'));
        QCOMPARE(got, records);
    }

    void fieldsWrittenReadBackAlike() {
        const QStringList fields{"a,b", "say \"hi\"", "two\r\nlines", "=SUM(A1)", "'-x", "", "普通"};
        for (const QChar separator : {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')}) {
            const QString text = writeCsvRecord({"h"}, separator) + writeCsvRecord(fields, separator);
            const CsvTable table = parseCsv(text, separator);
            QCOMPARE(table.rows.size(), 1);
            QCOMPARE(table.rows[0].fields, fields);
        }
    }

    // Each file imported into a fresh home with the template's dishes: what is stored (new rows and
    // changed ones) and what is reported.
    void importsDishFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("existing");
        QTest::addColumn<QStringList>(
            "stored"); // rows that are new or changed, as code|letters|name|price|unit
        QTest::addColumn<QStringList>("refused");
        QTest::newRow("GBK, letter codes and new unit")
            << gbk("数字代号,品名,价格,单位\r\n301,宫保鸡丁,18,份\r\n302,可乐2L,12.25,桶\r\n")
            << int(ExistingRows::Skip) << QStringList{"301|gbjd|宫保鸡丁|18|份", "302|kl2L|可乐2L|12.3|桶"}
            << QStringList{};
        QTest::newRow("UTF-8 BOM, semicolons, other titles and order")
            << bom("单价;菜名;代码;计量单位\n１５;凉拌黄瓜;401;碟\n") << int(ExistingRows::Skip)
            << QStringList{"401|lbhg|凉拌黄瓜|15|碟"} << QStringList{};
        QTest::newRow("quoted name with comma")
            << utf8("数字代号,品名,价格,单位\n501,\"鱼,大份\",30,份\n") << int(ExistingRows::Skip)
            << QStringList{"501|y,df|鱼,大份|30|份"} << QStringList{};
        QTest::newRow("every refusal")
            << utf8("数字代号,品名,价格,单位\n"
                    ",无代号,1,份\n"
                    "123456789,长代号,1,份\n"
                    "601,,1,份\n"
                    "602,一二三四五六七八九十一二三四五六七,1,份\n"
                    "603,价格字,十二,份\n"
                    "604,太贵,2000000,份\n"
                    "605,零价,0.04,份\n"
                    "606,无单位,1,\n"
                    "607,好菜,1,份\n"
                    "607,重复代号,1,份\n"
                    "608,好菜,1,份\n"
                    "001,新名,1,份\n"
                    "609,酸菜鱼,1,份\n"
                    "610,😀,1,份\n")
            << int(ExistingRows::Skip) << QStringList{"607|hc|好菜|1|份"}
            << QStringList{"2:数字代号为空",
                           "3:数字代号“123456789”超过 8 个字节",
                           "4:品名为空",
                           "5:品名“一二三四五六七八九十一二三四五六七”超过 32 个字节（一个汉字占两个）",
                           "6:价格“十二”不是数字",
                           "7:价格 2000000 超出范围（最大 1000000）",
                           "8:价格 0.04 不大于 0",
                           "9:单位为空",
                           "11:数字代号“607”与第 10 行重复",
                           "12:品名“好菜”与第 10 行重复",
                           "13:数字代号“001”已被“红烧排骨饭”使用，按选择跳过",
                           "14:品名“酸菜鱼”已被数字代号“015”使用",
                           "15:品名“😀”含有 GBK 以外的字符，小票无法打印"};
        QTest::newRow("update known codes, unchanged rows untouched")
            << utf8("数字代号,品名,价格,单位\n001,红烧排骨饭,20,碗\n002,茄子豆角,14,份\n003,番茄炒蛋,13,份\n")
            << int(ExistingRows::Update)
            << QStringList{"001|hspgf|红烧排骨饭|20|碗", "003|fjcd|番茄炒蛋|13|份"} << QStringList{};
    }
    void importsDishFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, existing);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, refused);
        TempHome home;
        const QStringList before = dishLines(home.db());
        const Imported imported = importDishes(home.db(), bytes, ExistingRows(existing));
        QCOMPARE(reasons(imported.plan.refusals), refused);
        QCOMPARE(imported.result.status, ImportStoreResult::Status::Stored);
        QStringList changed;
        for (const QString& line : dishLines(home.db())) {
            if (!before.contains(line))
                changed << line;
        }
        QCOMPARE(changed, stored);
        QCOMPARE(dishLines(home.db()).size(), before.size() + imported.plan.inserts.size());
        // A file without stations sends its new dishes to the default station, as the dish dialog does.
        const QHash<QString, QString> stations = *CatalogStore(home.db()).loadDishStations();
        for (const StoredDish& dish : imported.plan.inserts)
            QCOMPARE(stations.value(dish.name), defaultStation);
    }

    void emptyAndHeaderOnlyFilesStoreNothing() {
        TempHome home;
        const QStringList before = dishLines(home.db());
        for (const QByteArray& bytes : {QByteArray(), QByteArray("数字代号,品名,价格,单位\r\n")}) {
            const Imported imported = importDishes(home.db(), bytes, ExistingRows::Update);
            QCOMPARE(imported.plan.rowCount, 0);
            QCOMPARE(imported.plan.taken(), 0);
            QCOMPARE(dishLines(home.db()), before);
        }
        // A file without the needed titles is told as such before anything is planned.
        const CsvFile file = readCsvFile("name,foo\n1,2\n");
        QCOMPARE(
            missingColumnsText(dishImportColumns(), mapColumns(dishImportColumns(), file.table.header)),
            QStringLiteral("文件中没有以下列：数字代号、价格、单位。请检查标题行，或在“列”中选择对应的列。"));
    }

    void tenThousandRowsWithOneBadInTheMiddle() {
        TempHome home;
        const int before = int(dishLines(home.db()).size());
        const Imported imported = importDishes(home.db(), manyDishes(10000, 5000), ExistingRows::Skip);
        QCOMPARE(imported.plan.rowCount, 10000);
        QCOMPARE(reasons(imported.plan.refusals), QStringList{"5001:价格“十二”不是数字"});
        QCOMPARE(imported.result.status, ImportStoreResult::Status::Stored);
        const QStringList after = dishLines(home.db());
        QCOMPARE(after.size(), before + 9999);
        QVERIFY(after.contains("910000|cp10000h|菜品10000号|10.5|份"));
    }

    void cancelOrFailureStoresNothing() {
        TempHome home;
        const QStringList before = dishLines(home.db());
        int calls = 0;
        const Imported cancelled =
            importDishes(home.db(), manyDishes(2000), ExistingRows::Skip, [&](int done) {
                ++calls;
                return done < 1000;
            });
        QCOMPARE(cancelled.result.status, ImportStoreResult::Status::Cancelled);
        QVERIFY(calls >= 4);
        QCOMPARE(dishLines(home.db()), before);
        QCOMPARE(CatalogStore(home.db()).loadNamedList(NamedList::Units).value().size(), 10);

        // Cancelled after the last row is written: still nothing.
        const Imported late =
            importDishes(home.db(), manyDishes(10), ExistingRows::Skip, [](int done) { return done < 10; });
        QCOMPARE(late.result.status, ImportStoreResult::Status::Cancelled);
        QCOMPARE(dishLines(home.db()), before);

        // A statement that fails half way (the table is gone for the updates) undoes the inserts too.
        QVERIFY(
            home.db().exec("CREATE TRIGGER 拒绝 BEFORE UPDATE ON 菜单 BEGIN SELECT RAISE(ABORT, 'no'); END"));
        const Imported failed =
            importDishes(home.db(), "数字代号,品名,价格,单位\n701,新菜,1,份\n001,红烧排骨饭,99,份\n",
                         ExistingRows::Update);
        QCOMPARE(failed.result.status, ImportStoreResult::Status::Failed);
        QVERIFY(!failed.result.error.isEmpty());
        QCOMPARE(dishLines(home.db()), before);
    }

    void exportThenImportChangesNothing_data() {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("separator");
        QTest::newRow("GBK commas") << int(CsvEncoding::Gbk) << ",";
        QTest::newRow("UTF-8 BOM semicolons") << int(CsvEncoding::Utf8Bom) << ";";
        QTest::newRow("UTF-8 tabs") << int(CsvEncoding::Utf8) << "\t";
    }
    void exportThenImportChangesNothing() {
        QFETCH(int, encoding);
        QFETCH(QString, separator);
        TempHome home;
        // Awkward names, and a letter code changed by hand, which an unchanged name keeps.
        const CatalogStore store(home.db());
        QVERIFY(store.insertDish({"801", "x", "鱼,\"大\"份", 12.5, "份"}));
        QVERIFY(store.insertDish({"802", "two", "两行\n名字", 3, "份"}));
        QVERIFY(store.insertDish({"803", "m", "-辣", 0.1, "份", "面点"}));
        const QStringList before = dishLines(home.db());
        const QHash<QString, QString> stations = store.loadDishStations().value();
        const QByteArray bytes = dishesCsv(store.loadDishes().value(), CsvEncoding(encoding), separator[0]);
        const Imported imported = importDishes(home.db(), bytes, ExistingRows::Update);
        QCOMPARE(reasons(imported.plan.refusals), QStringList{});
        QCOMPARE(imported.plan.taken(), 0);
        QCOMPARE(imported.plan.unchanged, before.size());
        QCOMPARE(dishLines(home.db()), before);
        QCOMPARE(store.loadDishStations().value(), stations);
    }

    // The station column is optional: a new dish without one goes to the default station, a stored one
    // keeps its own, and a station the list lacks is added to it, once.
    void stationsComeWithTheDishes() {
        TempHome home;
        const CatalogStore store(home.db());
        QVERIFY(store.insertDish({"901", "cs", "茶水", 2, "杯", "不出单"}));
        const Imported imported =
            importDishes(home.db(),
                         gbk("数字代号,品名,价格,单位,出品部门\n901,茶水,2,杯,\n902,锅贴,10,份,面点\n"
                             "903,蒸饺,12,份,面点\n904,炒饭,15,份,\n"),
                         ExistingRows::Update);
        QCOMPARE(reasons(imported.plan.refusals), QStringList{});
        QCOMPARE(imported.result.status, ImportStoreResult::Status::Stored);
        QHash<QString, QString> stations;
        const QList<StoredDish> dishes = store.loadDishes().value();
        for (const StoredDish& d : dishes)
            stations.insert(d.code, d.station);
        QCOMPARE(stations.value("901"), QStringLiteral("不出单"));
        QCOMPARE(stations.value("902"), QStringLiteral("面点"));
        QCOMPARE(stations.value("904"), QStringLiteral("厨房"));
        QCOMPARE(store.loadNamedList(NamedList::Stations).value().count(QStringLiteral("面点")), 1);
    }

    void importsCustomers() {
        const QByteArray bytes = gbk("手机,姓名,地址\r\n"
                                     " １３９ 0000 0001 ,张三,三号楼\r\n"
                                     "13800000001,王五,五号楼\r\n"
                                     "13800000002,老李,二号楼\r\n"
                                     "139-0000-0002,李四,\"四号楼,\r\n二单元\"\r\n"
                                     "13900000001,张三丰,三号楼二层\r\n"
                                     "电话坏了,赵六,六号楼\r\n"
                                     ",无电话,七号楼\r\n"
                                     "13900000003,,八号楼\r\n"
                                     "13900000004,无地址, \r\n"
                                     "12345678901234567,太长,九号楼\r\n");
        for (const ExistingRows existing : {ExistingRows::Skip, ExistingRows::Update}) {
            TempHome fresh;
            const CustomerStore freshStore(fresh.db());
            QVERIFY(freshStore.insert({"13800000001", "老王", "一号楼"}));
            QVERIFY(freshStore.insert({"13800000002", "老李", "二号楼"}));
            const CsvFile file = readCsvFile(bytes);
            const CustomerImportPlan plan =
                planCustomerImport(file.table, mapColumns(customerImportColumns(), file.table.header),
                                   freshStore.loadAll().value(), existing);
            QStringList refused{"8:电话“电话坏了”不是电话号码", "9:电话为空", "10:姓名为空", "11:地址为空",
                                "12:电话“12345678901234567”超过 16 个字节"};
            if (existing == ExistingRows::Skip) {
                refused.prepend("4:电话“13800000002”已是客户“老李”的电话，按选择跳过");
                refused.prepend("3:电话“13800000001”已是客户“老王”的电话，按选择跳过");
            }
            QCOMPARE(reasons(plan.refusals), refused);
            QCOMPARE(reasons(plan.merged),
                     QStringList{"7:电话“13900000001”与第 2 行相同，已合并（姓名、地址以本行为准）"});
            QCOMPARE(plan.unchanged, existing == ExistingRows::Update ? 1 : 0);
            QCOMPARE(storeCustomerImport(fresh.db(), plan.inserts, plan.updates, {}).status,
                     ImportStoreResult::Status::Stored);
            QStringList all;
            const QList<StoredCustomer> customers = freshStore.loadAll().value();
            for (const StoredCustomer& c : customers)
                all << c.telephone + QLatin1Char('|') + c.name + QLatin1Char('|') + c.address;
            QStringList expected{existing == ExistingRows::Update ? "13800000001|王五|五号楼"
                                                                  : "13800000001|老王|一号楼",
                                 "13800000002|老李|二号楼", "13900000001|张三丰|三号楼二层",
                                 "139-0000-0002|李四|四号楼,\r\n二单元"};
            QCOMPARE(all, expected);
        }
    }
};

QTEST_GUILESS_MAIN(ImportTest)
#include "tst_import.moc"
