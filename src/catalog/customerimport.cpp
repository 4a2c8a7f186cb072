#include "catalog/customerimport.h"

#include "catalog/customers.h"
#include "core/gbk.h"
#include "core/numtext.h"

#include <QHash>
#include <QRegularExpression>

namespace qm {

namespace {

// Digits with the usual marks of a written number: "0571-8888 1234", "+86 138…", "(0571)…".
bool isTelephone(const QString& text) {
    static const QRegularExpression telephone(QStringLiteral("^\\+?[0-9()\\-]*[0-9][0-9()\\-]*$"));
    return telephone.match(text).hasMatch();
}

} // namespace

const QList<ImportColumn>& customerImportColumns() {
    static const QList<ImportColumn> columns{
        {QStringLiteral("电话"),
         {QStringLiteral("电话号码"), QStringLiteral("客户电话"), QStringLiteral("手机"),
          QStringLiteral("手机号"), QStringLiteral("联系电话"), QStringLiteral("telephone"),
          QStringLiteral("phone")}},
        {QStringLiteral("姓名"),
         {QStringLiteral("客户姓名"), QStringLiteral("名字"), QStringLiteral("联系人"),
          QStringLiteral("name")}},
        {QStringLiteral("地址"),
         {QStringLiteral("客户地址"), QStringLiteral("送餐地址"), QStringLiteral("address")}},
    };
    return columns;
}

QString importedTelephone(const QString& text) {
    QString telephone = foldFullWidth(text);
    telephone.remove(QLatin1Char(' '));
    telephone.remove(QLatin1Char('\t'));
    return trimBlanksAndLineBreaks(telephone);
}

CustomerImportPlan planCustomerImport(const CsvTable& table, const ColumnMap& map,
                                      const QList<StoredCustomer>& stored, ExistingRows existing) {
    CustomerImportPlan plan;
    plan.rowCount = int(table.rows.size());
    QHash<QString, int> storedByTelephone;
    for (int i = int(stored.size()) - 1; i >= 0; --i)
        storedByTelephone.insert(stored[i].telephone, i);
    // Telephone → where the row that has it went: the line, and the list and index it is kept at.
    struct Placed {
        int line;
        QList<StoredCustomer>* list;
        qsizetype index;
    };
    QHash<QString, Placed> placed;

    for (const CsvRecord& record : table.rows) {
        StoredCustomer customer{importedTelephone(mappedField(record.fields, map, CustomerTelephone)),
                                mappedField(record.fields, map, CustomerName),
                                mappedField(record.fields, map, CustomerAddress)};
        const QString refusal = customerRefusal(customer);
        if (plan.preview.size() < previewRowCount)
            plan.preview.append({customer.telephone, customer.name, customer.address});
        auto refuse = [&](const QString& reason) { plan.refusals.append({record.line, reason}); };
        if (customer.telephone.isEmpty()) {
            refuse(QStringLiteral("电话为空"));
            continue;
        }
        if (!isTelephone(customer.telephone)) {
            refuse(QStringLiteral("电话“%1”不是电话号码").arg(customer.telephone));
            continue;
        }
        if (gbkLength(customer.telephone) > telephoneLimit) {
            refuse(QStringLiteral("电话“%1”超过 %2 个字节").arg(customer.telephone).arg(telephoneLimit));
            continue;
        }
        if (!refusal.isEmpty()) {
            refuse(customer.name.isEmpty() ? QStringLiteral("姓名为空") : QStringLiteral("地址为空"));
            continue;
        }
        if (gbkLength(customer.name) > customerNameLimit) {
            refuse(QStringLiteral("姓名“%1”超过 %2 个字节（一个汉字占两个）")
                       .arg(customer.name)
                       .arg(customerNameLimit));
            continue;
        }
        if (gbkLength(customer.address) > addressLimit) {
            refuse(QStringLiteral("地址超过 %1 个字节").arg(addressLimit));
            continue;
        }
        if (const auto seen = placed.constFind(customer.telephone); seen != placed.cend()) {
            plan.merged.append(
                {record.line, QStringLiteral("电话“%1”与第 %2 行相同，已合并（姓名、地址以本行为准）")
                                  .arg(customer.telephone)
                                  .arg(seen->line)});
            Placed earlier = *seen;
            if (earlier.list) {
                (*earlier.list)[earlier.index] = customer;
            } else {
                // The stored customer the earlier row left unchanged now changes.
                --plan.unchanged;
                plan.updates.append(customer);
                earlier = {earlier.line, &plan.updates, plan.updates.size() - 1};
            }
            placed.insert(customer.telephone, {record.line, earlier.list, earlier.index});
            continue;
        }
        const auto known = storedByTelephone.constFind(customer.telephone);
        if (known == storedByTelephone.cend()) {
            plan.inserts.append(customer);
            placed.insert(customer.telephone, {record.line, &plan.inserts, plan.inserts.size() - 1});
            continue;
        }
        const StoredCustomer& old = stored[*known];
        if (existing == ExistingRows::Skip) {
            refuse(
                QStringLiteral("电话“%1”已是客户“%2”的电话，按选择跳过").arg(customer.telephone, old.name));
            continue;
        }
        if (old.name == customer.name && old.address == customer.address) {
            ++plan.unchanged;
            placed.insert(customer.telephone, {record.line, nullptr, -1});
            continue;
        }
        plan.updates.append(customer);
        placed.insert(customer.telephone, {record.line, &plan.updates, plan.updates.size() - 1});
    }
    return plan;
}

} // namespace qm
