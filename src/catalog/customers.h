#pragma once

#include "store/customerstore.h"

#include <QString>

#include <optional>

// The rules of the customer window 客户设置 and its dialogs 客户添加 and 客户修改: search, add, change and
// delete, with their questions and messages. The telephone is the customer's key.
namespace qm {

class Database;
class Platform;

// Trims the three fields (ASCII and full-width blanks, line breaks) and gives the first failed check, address
// first, then telephone, then name; empty when all three pass.
QString customerRefusal(StoredCustomer& customer);

// What an action came to, for the window to follow: on Updated the list shows the customer's new name
// and address, on Inserted it shows its page again, on Deleted it drops the row. `message` is shown
// once the window has followed.
struct CustomerOutcome {
    enum class Kind { Refused, Declined, Failed, Updated, Inserted, Deleted };
    Kind kind = Kind::Refused;
    StoredCustomer customer; // the fields as stored
    QString message;
};

class CustomerActions {
public:
    CustomerActions(const Database& db, Platform& platform)
        : m_store(db)
        , m_platform(platform) {}

    // 添加 in 客户添加: a new telephone is inserted; a known one offers to give its customer the typed
    // name and address instead (naming the stored ones; No is the default answer).
    CustomerOutcome add(StoredCustomer typed);
    // 修改 in 客户修改: the customer with the typed telephone gets the typed name and address; a telephone
    // no customer has offers to add a new customer, leaving the one that was opened as it was.
    CustomerOutcome saveChange(StoredCustomer typed);
    // 删除 of the selected row (none: no value): every customer with its telephone, after asking.
    CustomerOutcome remove(const std::optional<StoredCustomer>& selected);
    // 查找: the search text, taken as typed; no value, after telling the user, when it is empty.
    std::optional<QString> search(const QString& text);

private:
    CustomerOutcome update(const StoredCustomer& customer);
    CustomerOutcome insert(const StoredCustomer& customer);
    CustomerOutcome failed(const QString& what);

    CustomerStore m_store;
    Platform& m_platform;
};

} // namespace qm
