#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Date-time texts: the Chinese long form, the three display formats of the order time, and the ISO text
// in which the database keeps every date-time.
namespace qm {

// "<year>年<month>月<day>日" followed by the time with its trailing zero parts left out.
QString dateTimeText(const QDateTime& value);
// "<year>年<month>月<day>日", numbers without leading zeros.
QString dateText(const QDate& date);
// "<h>时<m>分<s>秒".
QString timeText(const QTime& time);

// The display time format: 0 "MM-DD hh:mm", 1 "YYYY/MM/DD hh:mm", 2 "YYYY-MM-DD hh:mm".
// Any other value counts as 0.
int normalizedTimeFormat(int format);
QString displayTime(const QDateTime& value, int format);
// Reads a text in any of the three display forms (digits may lack their leading zero). The short form
// takes `currentYear`. A text that fits none gives no value.
std::optional<QDateTime> parseDisplayTime(const QString& text, int currentYear);

// The stored form: "YYYY-MM-DD HH:MM:SS".
QString isoText(const QDateTime& value);
QString isoDate(const QDate& date);
std::optional<QDateTime> parseIso(const QString& text);

} // namespace qm
