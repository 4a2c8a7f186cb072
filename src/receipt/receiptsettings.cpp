#include "receipt/receiptsettings.h"

#include "core/numtext.h"
#include "store/settings.h"

#include <QStringList>

#include <algorithm>

namespace qm {

std::array<QString, receiptElementCount> splitElementList(const QString& stored) {
    std::array<QString, receiptElementCount> parts;
    const QStringList split = stored.split(QLatin1Char('|'));
    for (size_t i = 0; i < parts.size() && qsizetype(i) < split.size(); ++i)
        parts[i] = split[qsizetype(i)];
    return parts;
}

ReceiptSettings loadReceiptSettings(const RecordStore& records, const ConfigFile& config, bool forPrinting) {
    const auto flag = [&records](const char* key) {
        return records.read(QString::fromUtf8(key)) == QStringLiteral("1");
    };

    ReceiptSettings settings;
    settings.type =
        textToInt(records.read(QStringLiteral("小票类型"))) == 0 ? ReceiptType::Mm58 : ReceiptType::Mm80;
    settings.extra1.enabled = flag("附带信息1勾选");
    if (settings.extra1.enabled)
        settings.extra1.text = records.read(QStringLiteral("附带信息1"));
    settings.extra2.enabled = flag("附带信息2勾选");
    if (settings.extra2.enabled)
        settings.extra2.text = records.read(QStringLiteral("附带信息2"));

    if (textToInt(records.read(QStringLiteral("设置类型"))) != 0) {
        settings.topPicture = flag("顶部图片勾选");
        settings.bottomPicture = flag("底部图片勾选");
        const auto sizes = splitElementList(records.read(QStringLiteral("字体大小")));
        const auto bold = splitElementList(records.read(QStringLiteral("勾选加粗")));
        for (size_t i = 0; i < settings.styles.size(); ++i)
            settings.styles[i] = {textToInt(sizes[i]), textToInt(bold[i]) != 0};
    }

    if (forPrinting)
        settings.printWidth = printWidthFor(config, settings.type);
    return settings;
}

int printWidthFor(const ConfigFile& config, ReceiptType type) {
    // A width that is no positive number would print an empty receipt: the default stands in.
    const bool narrow = type == ReceiptType::Mm58;
    const int fallback = narrow ? 480 : 700;
    const int width =
        textToInt(config.read(narrow ? QStringLiteral("58小票打印宽度") : QStringLiteral("80小票打印宽度"),
                              QString::number(fallback), true));
    return width > 0 ? width : fallback;
}

int receiptCopies(const RecordStore& records) {
    return std::max(1, textToInt(records.read(QStringLiteral("打印份数"))));
}

} // namespace qm
