#include "catalog/dishimport.h"

#include "catalog/dishrules.h"
#include "catalog/lettercode.h"
#include "core/gbk.h"
#include "core/numtext.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace qm {

namespace {

// A price field is a plain decimal number, full-width digits allowed; "12元" is not one.
bool isNumberText(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    return number.match(text).hasMatch();
}

// Whether the text has a GBK form, so that receipts and letter codes can show every character of it.
// The encoder puts a replacement in for what it cannot encode, so the text must come back unchanged.
bool encodesAsGbk(const QString& text) {
    return fromGbk(toGbk(text)) == text;
}

QString lineText(int line) {
    return QStringLiteral("第 %1 行").arg(line);
}

} // namespace

const QList<ImportColumn>& dishImportColumns() {
    static const QList<ImportColumn> columns{
        {QStringLiteral("数字代号"),
         {QStringLiteral("代码"), QStringLiteral("代号"), QStringLiteral("编号"), QStringLiteral("code")}},
        {QStringLiteral("品名"),
         {QStringLiteral("菜名"), QStringLiteral("名称"), QStringLiteral("菜品名称"),
          QStringLiteral("name")}},
        {QStringLiteral("价格"), {QStringLiteral("单价"), QStringLiteral("售价"), QStringLiteral("price")}},
        {QStringLiteral("单位"), {QStringLiteral("计量单位"), QStringLiteral("unit")}},
        {QStringLiteral("出品部门"), {QStringLiteral("部门"), QStringLiteral("station")}, false},
    };
    return columns;
}

DishImportPlan planDishImport(const CsvTable& table, const ColumnMap& map, const QList<StoredDish>& stored,
                              const QStringList& units, ExistingRows existing, const QStringList& stations) {
    DishImportPlan plan;
    plan.rowCount = int(table.rows.size());
    QHash<QString, int> storedByCode;
    QHash<QString, int> storedByName;
    for (int i = int(stored.size()) - 1; i >= 0; --i) {
        storedByCode.insert(stored[i].code, i);
        storedByName.insert(stored[i].name, i);
    }
    QHash<QString, int> fileCodes; // code → the line that has it
    QHash<QString, int> fileNames;
    QSet<QString> knownUnits(units.cbegin(), units.cend());
    QSet<QString> knownStations(stations.cbegin(), stations.cend());

    for (const CsvRecord& record : table.rows) {
        const QString code = trimBlanks(mappedField(record.fields, map, DishCode));
        const QString name = trimBlanks(mappedField(record.fields, map, DishName));
        const QString priceText = trimBlanks(foldFullWidth(mappedField(record.fields, map, DishPrice)));
        const QString unit = trimBlanks(mappedField(record.fields, map, DishUnit));
        const QString station = trimBlanks(mappedField(record.fields, map, DishStation));
        if (plan.preview.size() < previewRowCount)
            plan.preview.append({code, letterCode(name), name, priceText, unit, station});

        auto refuse = [&](const QString& reason) { plan.refusals.append({record.line, reason}); };
        if (code.isEmpty()) {
            refuse(QStringLiteral("数字代号为空"));
            continue;
        }
        if (gbkLength(code) > dishCodeLimit || !encodesAsGbk(code)) {
            refuse(QStringLiteral("数字代号“%1”超过 %2 个字节").arg(code).arg(dishCodeLimit));
            continue;
        }
        if (name.isEmpty()) {
            refuse(QStringLiteral("品名为空"));
            continue;
        }
        if (!encodesAsGbk(name)) {
            refuse(QStringLiteral("品名“%1”含有 GBK 以外的字符，小票无法打印").arg(name));
            continue;
        }
        if (gbkLength(name) > dishNameLimit) {
            refuse(QStringLiteral("品名“%1”超过 %2 个字节（一个汉字占两个）").arg(name).arg(dishNameLimit));
            continue;
        }
        if (!isNumberText(priceText)) {
            refuse(QStringLiteral("价格“%1”不是数字").arg(priceText));
            continue;
        }
        const double price = readPrice(priceText);
        if (!fitsRange(priceText, amountLimit) || price > amountLimit) {
            refuse(QStringLiteral("价格 %1 超出范围（最大 %2）").arg(priceText, doubleText(amountLimit)));
            continue;
        }
        if (price <= zeroTolerance) {
            refuse(QStringLiteral("价格 %1 不大于 0").arg(priceText));
            continue;
        }
        if (unit.isEmpty()) {
            refuse(QStringLiteral("单位为空"));
            continue;
        }
        if (const auto seen = fileCodes.constFind(code); seen != fileCodes.cend()) {
            refuse(QStringLiteral("数字代号“%1”与%2重复").arg(code, lineText(*seen)));
            continue;
        }
        if (const auto seen = fileNames.constFind(name); seen != fileNames.cend()) {
            refuse(QStringLiteral("品名“%1”与%2重复").arg(name, lineText(*seen)));
            continue;
        }
        const auto sameName = storedByName.constFind(name);
        const auto sameCode = storedByCode.constFind(code);
        if (gbkLength(station) > dishNameLimit || !encodesAsGbk(station)) {
            refuse(QStringLiteral("出品部门“%1”超过 %2 个字节").arg(station).arg(dishNameLimit));
            continue;
        }
        StoredDish dish{code, QString(), name, price, unit, station};
        if (sameCode != storedByCode.cend()) {
            const StoredDish& old = stored[*sameCode];
            if (existing == ExistingRows::Skip) {
                refuse(QStringLiteral("数字代号“%1”已被“%2”使用，按选择跳过").arg(code, old.name));
                continue;
            }
            if (sameName != storedByName.cend() && stored[*sameName].code != code) {
                refuse(QStringLiteral("品名“%1”已被数字代号“%2”使用").arg(name, stored[*sameName].code));
                continue;
            }
            // A letter code the user corrected by hand stays while the name stays.
            dish.letters = old.name == name ? old.letters : letterCode(name);
            if (dish.station.isEmpty())
                dish.station = old.station;
            fileCodes.insert(code, record.line);
            fileNames.insert(name, record.line);
            if (old.name == name && old.unit == unit && doubleText(old.price) == doubleText(price) &&
                old.station == dish.station) {
                ++plan.unchanged;
                continue;
            }
            plan.updates.append(dish);
        } else {
            if (sameName != storedByName.cend()) {
                refuse(QStringLiteral("品名“%1”已被数字代号“%2”使用").arg(name, stored[*sameName].code));
                continue;
            }
            dish.letters = letterCode(name);
            if (dish.station.isEmpty())
                dish.station = defaultStation;
            fileCodes.insert(code, record.line);
            fileNames.insert(name, record.line);
            plan.inserts.append(dish);
        }
        if (!knownUnits.contains(unit)) {
            knownUnits.insert(unit);
            plan.newUnits.append(unit);
        }
        if (!knownStations.contains(dish.station)) {
            knownStations.insert(dish.station);
            plan.newStations.append(dish.station);
        }
    }
    return plan;
}

QByteArray dishesCsv(const QList<StoredDish>& dishes, CsvEncoding encoding, QChar separator) {
    QStringList header;
    for (const ImportColumn& column : dishImportColumns())
        header << column.title;
    QString text = writeCsvRecord(header, separator);
    for (const StoredDish& dish : dishes)
        text += writeCsvRecord({dish.code, dish.name, doubleText(dish.price), dish.unit, dish.station},
                               separator);
    return encodeCsv(text, encoding);
}

} // namespace qm
