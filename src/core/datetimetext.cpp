#include "core/datetimetext.h"

#include "core/numtext.h"

#include <QRegularExpression>

namespace qm {

QString dateText(const QDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

QString timeText(const QTime& time) {
    return QStringLiteral("%1时%2分%3秒").arg(time.hour()).arg(time.minute()).arg(time.second());
}

QString dateTimeText(const QDateTime& value) {
    const QTime t = value.time();
    QString text = dateText(value.date());
    if (t.second() != 0)
        text += timeText(t);
    else if (t.minute() != 0)
        text += QStringLiteral("%1时%2分").arg(t.hour()).arg(t.minute());
    else if (t.hour() != 0)
        text += QStringLiteral("%1时").arg(t.hour());
    return text;
}

int normalizedTimeFormat(int format) {
    return format == 1 || format == 2 ? format : 0;
}

QString displayTime(const QDateTime& value, int format) {
    switch (normalizedTimeFormat(format)) {
    case 1:
        return value.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    case 2:
        return value.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    default:
        return value.toString(QStringLiteral("MM-dd HH:mm"));
    }
}

std::optional<QDateTime> parseDisplayTime(const QString& text, int currentYear) {
    static const QRegularExpression full(
        QStringLiteral(R"(^\s*(\d{4})([/-])(\d{1,2})\2(\d{1,2})\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*$)"));
    static const QRegularExpression shortForm(
        QStringLiteral(R"(^\s*(\d{1,2})-(\d{1,2})\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*$)"));
    const QString folded = foldFullWidth(text);
    int y = currentYear, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (const auto m = full.match(folded); m.hasMatch()) {
        y = m.captured(1).toInt();
        mo = m.captured(3).toInt();
        d = m.captured(4).toInt();
        h = m.captured(5).toInt();
        mi = m.captured(6).toInt();
        s = m.captured(7).toInt();
    } else if (const auto m2 = shortForm.match(folded); m2.hasMatch()) {
        mo = m2.captured(1).toInt();
        d = m2.captured(2).toInt();
        h = m2.captured(3).toInt();
        mi = m2.captured(4).toInt();
        s = m2.captured(5).toInt();
    } else {
        return std::nullopt;
    }
    const QDate date(y, mo, d);
    const QTime time(h, mi, s);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

QString isoText(const QDateTime& value) {
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString isoDate(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

namespace {

// The number written in `count` digits from `from`; -1 when one of them is no digit.
int digitsAt(const QString& text, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// "YYYY-MM-DD HH:MM:SS" read digit by digit. QDateTime::fromString() takes tens of microseconds a text, as
// its parser converts to the local time several times; the lines of a busy day are read by the hundred.
std::optional<QDateTime> parseStoredForm(const QString& text) {
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' || text[13] != u':' ||
        text[16] != u':')
        return std::nullopt;
    const QDate date(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
    const QTime time(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    QDateTime value(date, time);
    if (!value.isValid())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<QDateTime> parseIso(const QString& text) {
    if (const std::optional<QDateTime> stored = parseStoredForm(text))
        return stored;
    QDateTime value = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!value.isValid())
        value = QDateTime(QDate::fromString(text, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    if (!value.isValid())
        return std::nullopt;
    return value;
}

} // namespace qm
