#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The periods the report pickers offer and the texts they hand on.
namespace qm {

enum class PickerKind { Year, Quarter, Month, Day };

// What a picker hands on when confirmed, as texts.
struct PickedPeriod {
    PickerKind kind = PickerKind::Year;
    QString year;    // "2016"
    QString part;    // the quarter "1".."4" or the month "1".."12"
    QString dayText; // the day picker's date as "%d年%d月%d日"
};

// The years of the year lists: the current year down to 2010, newest first. A clock before 2010 still
// offers its own year.
QStringList pickerYears(int currentYear);
// The month period of the sales statistics: year + "-" + the month padded to two digits ("2016-05").
QString monthPeriodText(const QString& year, const QString& month);
// Reads "%d年%d月%d日"; an invalid date when the text is not one.
QDate parseDayText(const QString& text);
// Reads "yyyy-mm"; an invalid date (else the first of the month) when the text is not one.
QDate parseMonthPeriod(const QString& text);
// Reads a year text; 0 when it is not a year.
int parseYear(const QString& text);

} // namespace qm
