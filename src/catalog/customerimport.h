#pragma once

#include "catalog/csvtable.h"
#include "catalog/importcolumns.h"
#include "store/customerstore.h"

#include <QList>

// Bringing customers in from a spreadsheet file: telephone, name, address. The telephone is the key, as in
// the customer window: a second row with a telephone seen before merges into the first (the later name and
// address win), and a telephone already stored is skipped or updated, as the user chooses.
namespace qm {

enum CustomerColumn { CustomerTelephone, CustomerName, CustomerAddress };
const QList<ImportColumn>& customerImportColumns();

// The longest fields, in GBK bytes, as the customer dialogs take them.
inline constexpr int telephoneLimit = 16;
inline constexpr int customerNameLimit = 16;
inline constexpr int addressLimit = 255;

// The telephone as it is stored: full-width digits folded, blanks (also inside) removed, so that the order
// form finds the customer by what the cashier types.
QString importedTelephone(const QString& text);

struct CustomerImportPlan {
    QList<StoredCustomer> inserts;
    QList<StoredCustomer> updates;
    int unchanged = 0;
    int rowCount = 0;
    QList<RowRefusal> refusals;
    QList<RowRefusal> merged;   // rows taken into an earlier row of the same telephone
    QList<QStringList> preview; // the first rows: 电话, 姓名, 地址

    int taken() const { return int(inserts.size() + updates.size()); }
};

CustomerImportPlan planCustomerImport(const CsvTable& table, const ColumnMap& map,
                                      const QList<StoredCustomer>& stored, ExistingRows existing);

} // namespace qm
