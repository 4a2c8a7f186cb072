#include "history/csvexport.h"

#include "core/datetimetext.h"
#include "core/numtext.h"
#include "core/systemerror.h"

#include <QSaveFile>

#include <QStringEncoder>
#include <cerrno>
#include <cmath>

namespace qm {

namespace {

enum class Kind { Text, Integer, Single, Double, Time };

// The export's columns after 存单.ID, in order, and how each is written.
const Kind columnKinds[21] = {
    Kind::Integer, // 存单.ID
    Kind::Integer, // 编号
    Kind::Text,    // 票头
    Kind::Text,    // 店铺名称
    Kind::Time,    // 时间
    Kind::Text,    // 减免
    Kind::Integer, // 减免份数
    Kind::Double,  // 减免金额
    Kind::Single,  // 合计
    Kind::Text,    // 支付方式
    Kind::Double,  // 已付
    Kind::Double,  // 实付
    Kind::Text,    // 桌号
    Kind::Text,    // 电话
    Kind::Text,    // 姓名
    Kind::Text,    // 地址
    Kind::Text,    // 备注
    Kind::Text,    // 菜名
    Kind::Double,  // 数量
    Kind::Text,    // 单位
    Kind::Single,  // 小计
};

constexpr int orderFieldCount = 17;

QString fieldText(const QVariant& value, Kind kind) {
    if (value.isNull())
        return {};
    switch (kind) {
    case Kind::Integer:
        return QString::number(value.toLongLong());
    case Kind::Single:
    case Kind::Double: {
        // Whole amounts and quantities, nearly all of them, need no floating-point formatting; below these
        // limits "%.6g" and "%.13g" write them as plain integers too.
        const double number = value.toDouble();
        const double limit = kind == Kind::Single ? 1e6 : 1e13;
        if (number == std::trunc(number) && std::abs(number) < limit)
            return QString::number(qint64(number));
        return kind == Kind::Single ? singleText(number) : doubleText(number);
    }
    case Kind::Time: {
        // Read without the local time zone: a zone lookup per order would cost more than the rest.
        const QString text = value.toString();
        const QDate date = QDate::fromString(QStringView(text).left(10), Qt::ISODate);
        const QTime time =
            text.size() == 10 ? QTime(0, 0) : QTime::fromString(QStringView(text).mid(11), Qt::ISODate);
        if ((text.size() == 19 || text.size() == 10) && date.isValid() && time.isValid())
            return dateTimeText(QDateTime(date, time, Qt::UTC));
        return cleanCsvText(text);
    }
    case Kind::Text:
        return cleanCsvText(value.toString());
    }
    return {};
}

} // namespace

const QStringList csvHeader =
    QStringLiteral("ID,订单编号,票头,店铺名称,时间,减免,减免份数,减免金额,合计,支付方式,"
                   "已付,实付,桌号,电话,姓名,地址,备注,菜名,数量,单位,小计")
        .split(QLatin1Char(','));

QString cleanCsvText(const QString& text) {
    static const QString formulaStarts = QStringLiteral("=+-@");
    const bool formula = !text.isEmpty() && formulaStarts.contains(text.front());
    if (!formula && !text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    QString clean = text;
    clean.remove(QLatin1Char('\r'));
    clean.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    clean.replace(QLatin1Char(','), QStringLiteral("，"));
    if (formula)
        clean.prepend(QLatin1Char('\''));
    return clean;
}

void appendCsvRecord(QString& text, const ExportRecord& record, bool withOrder) {
    for (int c = 0; c < 21; ++c) {
        if (c > 0)
            text += QLatin1Char(',');
        if (withOrder || c >= orderFieldCount)
            text += fieldText(record.values.value(c), columnKinds[c]);
    }
}

QString csvSummary(const CsvSummary& summary) {
    QString label = summary.browsingLabel;
    label.remove(QStringLiteral("正在浏览"));
    label.remove(QStringLiteral("："));
    QStringList lines{QString(), cleanCsvText(label)};
    for (const QString& status : summary.status)
        lines << foldFullWidth(status).replace(QLatin1Char(':'), QLatin1Char(','));
    return lines.join(QStringLiteral("\r\n"));
}

CsvExportResult writeCsvFile(const QString& path, const QString& text) {
    CsvExportResult result;
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = fileErrorText(file);
        return result;
    }
    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk.encode(text);
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        result.error = fileErrorText(file);
        file.cancelWriting();
        return result;
    }
    errno = 0;
    if (!file.commit()) {
        result.error = fileErrorText(file);
        return result;
    }
    result.status = CsvExportResult::Status::Written;
    return result;
}

CsvExportResult exportOrdersCsv(const Database& db, const OrderFilter& filter, const CsvSummary& summary,
                                const QString& path, const std::function<bool(qint64 orders)>& progress) {
    CsvExportResult result;
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = fileErrorText(file);
        return result;
    }
    // Lines gather as text and go to the file, encoded, some 64 thousand characters at a time.
    QStringEncoder gbk("GBK");
    QString text;
    text.reserve(1 << 17);
    bool writeFailed = false;
    QString writeError;
    auto flush = [&] {
        const QByteArray bytes = gbk.encode(text);
        text.resize(0);
        errno = 0;
        if (!writeFailed && !bytes.isEmpty() && file.write(bytes) != bytes.size()) {
            writeFailed = true;
            writeError = fileErrorText(file);
        }
        return !writeFailed;
    };
    text += csvHeader.join(QLatin1Char(','));
    text += QLatin1String("\r\n");
    qint64 orders = 0;
    qint64 previous = -1;
    bool cancelled = false;
    QString error;
    const bool read = readExportRecords(
        db, filter,
        [&](const ExportRecord& record) {
            const bool newOrder = record.orderId != previous || result.lines == 0;
            if (newOrder) {
                previous = record.orderId;
                if (orders++ % 256 == 0 && progress && !progress(orders - 1)) {
                    cancelled = true;
                    return false;
                }
            }
            ++result.lines;
            appendCsvRecord(text, record, newOrder);
            text += QLatin1String("\r\n");
            return text.size() < (1 << 16) || flush();
        },
        error);
    if (cancelled) {
        file.cancelWriting();
        result.status = CsvExportResult::Status::Cancelled;
        return result;
    }
    if (read && !writeFailed) {
        text += csvSummary(summary);
        // A small export still sits in the file's buffer: its write fails only here, and commit() would
        // not say so.
        errno = 0;
        if (flush() && !file.flush()) {
            writeFailed = true;
            writeError = fileErrorText(file);
        }
    }
    if (!read || writeFailed) {
        result.error = read ? writeError : error;
        file.cancelWriting();
        return result;
    }
    if (progress && !progress(orders)) {
        file.cancelWriting();
        result.status = CsvExportResult::Status::Cancelled;
        return result;
    }
    errno = 0;
    if (!file.commit()) {
        result.error = fileErrorText(file);
        return result;
    }
    result.status = CsvExportResult::Status::Written;
    return result;
}

} // namespace qm
