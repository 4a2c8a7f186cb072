#include "receipt/receiptdefaults.h"

#include "store/settings.h"

namespace qm {

void ensureReceiptDefaults(const RecordStore& records, const ConfigFile& config) {
    if (!records.exists(QStringLiteral("字体大小"))) {
        records.insert(QStringLiteral("小票类型"), QStringLiteral("0"));
        records.insert(QStringLiteral("设置类型"), QStringLiteral("1"));
        records.insert(QStringLiteral("字体大小"), QStringLiteral("9|9|9|9|9|9|12|9|9|12|12"));
        records.insert(QStringLiteral("勾选加粗"), QStringLiteral("0|0|0|0|0|0|1|0|0|1|1"));
        records.insert(QStringLiteral("票头"), QStringLiteral("微信点餐"));
        records.insert(QStringLiteral("店铺名称"), QStringLiteral("白云快餐"));
    }
    if (!records.exists(QStringLiteral("附带信息1勾选"))) {
        const QString telephone = config.read(QStringLiteral("DHH"), QString(), false);
        const QString showSecond = config.read(QStringLiteral("TX"), QString(), false);
        const QString second = config.read(QStringLiteral("QQ"), QString(), false);
        records.insert(QStringLiteral("附带信息1勾选"), QStringLiteral("1"));
        records.insert(QStringLiteral("附带信息2勾选"),
                       showSecond == QStringLiteral("Y") ? QStringLiteral("1") : QStringLiteral("0"));
        records.insert(QStringLiteral("附带信息1"),
                       telephone.isEmpty() ? QStringLiteral("订餐电话:1390000****") : telephone);
        records.insert(QStringLiteral("附带信息2"), second);
    }
    for (const QString& key :
         {QStringLiteral("顶部图片勾选"), QStringLiteral("底部图片勾选"), QStringLiteral("打印份数")}) {
        if (!records.exists(key))
            records.write(key, QStringLiteral("1"));
    }
}

} // namespace qm
