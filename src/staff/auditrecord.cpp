#include "staff/auditrecord.h"

#include "core/datetimetext.h"
#include "store/database.h"

namespace qm {

namespace {

QString orderText(const AuditEvent& e) {
    return e.orderNumber > 0 ? QString::number(e.orderNumber) : QString();
}

} // namespace

const QStringList& auditActionNames() {
    static const QStringList names = {
        QStringLiteral("删除订单"),       QStringLiteral("修改已结算订单"),
        QStringLiteral("修改订单"),       QStringLiteral("重打小票"),
        QStringLiteral("无销售打开钱箱"), QStringLiteral("超额减免"),
        QStringLiteral("CSV导出"),        QStringLiteral("修改设置"),
        QStringLiteral("修改打印设置"),   QStringLiteral("恢复数据"),
        QStringLiteral("登录失败"),       QStringLiteral("授权失败"),
        QStringLiteral("添加员工"),       QStringLiteral("修改员工"),
        QStringLiteral("删除员工"),       QStringLiteral("开启员工模式"),
        QStringLiteral("关闭员工模式"),   QStringLiteral("确认操作记录被改动"),
    };
    return names;
}

const QStringList auditColumnTitles = {
    QStringLiteral("ID"),     QStringLiteral("时间"),   QStringLiteral("人员"),
    QStringLiteral("授权人"), QStringLiteral("收银台"), QStringLiteral("操作"),
    QStringLiteral("单号"),   QStringLiteral("之前"),   QStringLiteral("之后")};

std::optional<PageTotals> AuditTable::totals() const {
    const std::optional<qint64> count = countAudit(m_db, m_filter);
    if (!count)
        return std::nullopt;
    return PageTotals{*count, {}};
}

std::optional<QList<QVariantList>> AuditTable::page(qint64 first, int rows) const {
    const std::optional<QList<AuditRow>> loaded = loadAuditPage(m_db, m_filter, first, rows);
    if (!loaded)
        return std::nullopt;
    QList<QVariantList> out;
    out.reserve(loaded->size());
    for (const AuditRow& row : *loaded) {
        const AuditEvent& e = row.event;
        out.append({row.id, e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), e.person, e.authoriser,
                    e.till, e.action, orderText(e), e.before, e.after});
    }
    return out;
}

QString AuditTable::lastError() const {
    return m_db.lastError();
}

QString auditRowText(const AuditRow& row) {
    const AuditEvent& e = row.event;
    QStringList lines{QStringLiteral("第%1条  %2  %3")
                          .arg(row.id)
                          .arg(e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), e.action)};
    lines << QStringLiteral("人员：%1").arg(e.person);
    if (!e.authoriser.isEmpty())
        lines << QStringLiteral("授权人：%1").arg(e.authoriser);
    if (!e.till.isEmpty())
        lines << QStringLiteral("收银台：%1").arg(e.till);
    if (e.orderNumber > 0)
        lines << QStringLiteral("单号：%1").arg(e.orderNumber);
    lines << QString() << QStringLiteral("之前：")
          << (e.before.isEmpty() ? QStringLiteral("（无）") : e.before);
    lines << QString() << QStringLiteral("之后：")
          << (e.after.isEmpty() ? QStringLiteral("（无）") : e.after);
    return lines.join(QLatin1Char('\n'));
}

CsvExportResult exportAuditCsv(const Database& db, const AuditFilter& filter, const QString& path) {
    QString text = auditColumnTitles.join(QLatin1Char(','));
    const qint64 rows = countAudit(db, filter).value_or(-1);
    if (rows < 0)
        return {CsvExportResult::Status::Failed, db.lastError(), 0};
    // Pages of the paged reading keep the memory of one query small; the file is written once, whole.
    const int pageRows = 5000;
    for (qint64 first = 0; first < rows; first += pageRows) {
        const std::optional<QList<AuditRow>> page = loadAuditPage(db, filter, first, pageRows);
        if (!page)
            return {CsvExportResult::Status::Failed, db.lastError(), 0};
        for (auto it = page->crbegin(); it != page->crend(); ++it) {
            const AuditEvent& e = it->event;
            const QStringList fields = {QString::number(it->id),
                                        e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                        cleanCsvText(e.person),
                                        cleanCsvText(e.authoriser),
                                        cleanCsvText(e.till),
                                        cleanCsvText(e.action),
                                        orderText(e),
                                        cleanCsvText(e.before),
                                        cleanCsvText(e.after)};
            text += QLatin1String("\r\n");
            text += fields.join(QLatin1Char(','));
        }
    }
    CsvExportResult result = writeCsvFile(path, text);
    result.lines = rows;
    return result;
}

} // namespace qm
