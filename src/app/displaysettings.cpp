#include "app/displaysettings.h"

#include "core/datetimetext.h"
#include "core/numtext.h"
#include "store/database.h"
#include "store/settings.h"

namespace qm {

namespace {
const QString timeFormatKey = QStringLiteral("时间格式");
const QString decimalsKey = QStringLiteral("小数位数");
const QString withoutAskingKey = QStringLiteral("数量默认1");
const QString telephoneTailKey = QStringLiteral("电话后四位");

bool readSwitch(const RecordStore& records, const QString& key) {
    return records.read(key) == QStringLiteral("1");
}

bool writeSwitch(const RecordStore& records, const QString& key, bool on) {
    return records.write(key, on ? QStringLiteral("1") : QStringLiteral("0"));
}
} // namespace

QStringList timeFormatCaptions() {
    return {QStringLiteral("月-日 时:分(12-30 01:59)"), QStringLiteral("年/月/日 时:分(2000/12/30 01:59)"),
            QStringLiteral("年-月-日 时:分(2000-12-30 01:59)")};
}

int readTimeFormat(const RecordStore& records) {
    return normalizedTimeFormat(textToInt(records.read(timeFormatKey, QStringLiteral("0"))));
}

bool writeTimeFormat(const RecordStore& records, int format) {
    return records.write(timeFormatKey, QString::number(normalizedTimeFormat(format)));
}

std::optional<int> quantityDecimalsFromText(const QString& text) {
    const int value = textToInt(text);
    if (value < 0 || value > maxQuantityDecimals)
        return std::nullopt;
    return value;
}

bool writeQuantityDecimals(const RecordStore& records, int decimals) {
    return records.write(decimalsKey, QString::number(decimals));
}

bool readQuantityWithoutAsking(const RecordStore& records) {
    return readSwitch(records, withoutAskingKey);
}

bool writeQuantityWithoutAsking(const RecordStore& records, bool on) {
    return writeSwitch(records, withoutAskingKey, on);
}

bool readTelephoneTail(const RecordStore& records) {
    return readSwitch(records, telephoneTailKey);
}

bool writeTelephoneTail(const RecordStore& records, bool on) {
    return writeSwitch(records, telephoneTailKey, on);
}

} // namespace qm

namespace qm {

QString shellSettingsText(const ShellSettings& s) {
    const auto yesNo = [](bool on) { return on ? QStringLiteral("是") : QStringLiteral("否"); };
    return QStringLiteral(
               "数量小数位数：%1\n数量默认 1，不再询问：%2\n电话后四位查找顾客：%3\n收银机名称：%4")
        .arg(s.decimals)
        .arg(yesNo(s.withoutAsking), yesNo(s.telephoneTail), s.tillName);
}

bool storeShellSettings(Database& db, const ShellSettings& before, const ShellSettings& after,
                        std::optional<AuditEvent> event) {
    const RecordStore records(db);
    return db.transaction([&] {
        if (!writeQuantityDecimals(records, after.decimals) ||
            !writeQuantityWithoutAsking(records, after.withoutAsking) ||
            !writeTelephoneTail(records, after.telephoneTail))
            return false;
        if (!event || before == after)
            return true;
        event->before = shellSettingsText(before);
        event->after = shellSettingsText(after);
        return appendAudit(db, *event);
    });
}

} // namespace qm
