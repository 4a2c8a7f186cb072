#include "reports/periods.h"

#include <QRegularExpression>

namespace qm {

QStringList pickerYears(int currentYear) {
    QStringList years;
    for (int year = currentYear; year >= 2010 || year == currentYear; --year)
        years << QString::number(year);
    return years;
}

QString monthPeriodText(const QString& year, const QString& month) {
    return year + QLatin1Char('-') + month.rightJustified(2, QLatin1Char('0'));
}

QDate parseDayText(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,4})年(\\d{1,2})月(\\d{1,2})日$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

QDate parseMonthPeriod(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), 1);
}

int parseYear(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^\\d{4}$"));
    if (!form.match(text).hasMatch())
        return 0;
    const int year = text.toInt();
    return QDate(year, 1, 1).isValid() ? year : 0;
}

} // namespace qm
