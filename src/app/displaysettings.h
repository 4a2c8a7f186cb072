#pragma once

#include "store/staffstore.h"

#include <QString>
#include <QStringList>

#include <optional>

// The display settings the user changes in small windows: the display time format of the order time
// (记录 时间格式), the quantity decimals (记录 小数位数) and whether a picked dish asks for its quantity.
namespace qm {

class Database;
class RecordStore;

// The captions of the three time formats, in format order.
QStringList timeFormatCaptions();
// The stored display time format; missing or unknown values read as 0.
int readTimeFormat(const RecordStore& records);
bool writeTimeFormat(const RecordStore& records, int format);

inline constexpr int maxQuantityDecimals = 3;
inline const QString quantityDecimalsRangeMessage =
    QStringLiteral("数值超出设定，请将小数位数控制在数值 0-3 的范围内。");

// The decimals typed into the settings window, read as a whole number ("2.7" gives 2); no value when it
// lies outside 0..3.
std::optional<int> quantityDecimalsFromText(const QString& text);
bool writeQuantityDecimals(const RecordStore& records, int decimals);

// "数量默认 1，不再询问" (记录 数量默认1): a picked dish gets the quantity 1 without the question. Off
// unless stored as "1".
bool readQuantityWithoutAsking(const RecordStore& records);
bool writeQuantityWithoutAsking(const RecordStore& records, bool on);

// "电话后四位查找顾客" (记录 电话后四位): the last four digits of a known customer's telephone find the
// customer. Off unless stored as "1".
bool readTelephoneTail(const RecordStore& records);
bool writeTelephoneTail(const RecordStore& records, bool on);

} // namespace qm

namespace qm {

// What the window "设置" keeps.
struct ShellSettings {
    int decimals = 0;
    bool withoutAsking = false;
    bool telephoneTail = false;
    QString tillName;
    bool operator==(const ShellSettings&) const = default;
};

// The settings as the record of changes tells them.
QString shellSettingsText(const ShellSettings& settings);

// Stores the decimals, "数量默认 1" and "电话后四位" in 记录, in one transaction with `event` (the record's
// 修改设置, its before and after filled in here) when one is given and a setting changed. The till's name
// lives in the till's file, saved before this by the caller: the record tells it among the rest.
bool storeShellSettings(Database& db, const ShellSettings& before, const ShellSettings& after,
                        std::optional<AuditEvent> event);

} // namespace qm
