#include "app/displaysettings.h"

#include "core/datetimetext.h"
#include "core/numtext.h"
#include "store/settings.h"

namespace qm {

namespace {
const QString timeFormatKey = QStringLiteral("时间格式");
const QString decimalsKey = QStringLiteral("小数位数");
const QString withoutAskingKey = QStringLiteral("数量默认1");
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
    return records.read(withoutAskingKey) == QStringLiteral("1");
}

bool writeQuantityWithoutAsking(const RecordStore& records, bool on) {
    return records.write(withoutAskingKey, on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace qm
