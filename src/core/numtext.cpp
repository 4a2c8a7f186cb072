#include "core/numtext.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>

namespace qm {

bool isZero(double value) {
    return std::fabs(value) <= zeroTolerance;
}

QString doubleText(double value) {
    if (value == 0.0)
        return QStringLiteral("0");
    return QString::number(value, 'g', 13);
}

QString singleText(double value) {
    const float single = static_cast<float>(value);
    if (single == 0.0f)
        return QStringLiteral("0");
    return QString::number(static_cast<double>(single), 'g', 6);
}

QString foldFullWidth(const QString& text) {
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFF01 + 0x21));
        else if (u == 0x3000)
            c = QLatin1Char(' ');
        else if (u == 0xFFE5)
            c = QLatin1Char('$');
        else if (u == 0xFFE3)
            c = QLatin1Char('~');
    }
    return folded;
}

namespace {

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The folded text as ASCII bytes; anything else becomes a byte that ends every number.
std::string asciiOf(const QString& text) {
    const QString folded = foldFullWidth(text);
    std::string out;
    out.reserve(size_t(folded.size()));
    for (QChar c : folded)
        out.push_back(c.unicode() < 0x80 ? char(c.unicode()) : '\x7f');
    return out;
}

} // namespace

namespace {

// The leading number of the text as C atof reads it; `overflow` tells a number beyond what a double holds.
double leadingNumber(const QString& text, bool& overflow) {
    overflow = false;
    const std::string s = asciiOf(text);
    size_t i = 0;
    while (i < s.size() && isCSpace(s[i]))
        ++i;
    const size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            i = j;
        }
    }
    size_t from = start;
    if (s[from] == '+')
        ++from;
    double value = 0.0;
    const auto result = std::from_chars(s.data() + from, s.data() + i, value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        overflow = result.ec == std::errc::result_out_of_range || !std::isfinite(value);
        return 0.0;
    }
    return value;
}

} // namespace

double textToNumber(const QString& text) {
    bool overflow = false;
    return leadingNumber(text, overflow);
}

bool fitsRange(const QString& text, double limit) {
    bool overflow = false;
    const double value = leadingNumber(text, overflow);
    return !overflow && std::fabs(value) <= limit;
}

QString outOfRangeMessage(const QString& what, double limit) {
    return QStringLiteral("%1超出设定，请将%1控制在 %2 以内。").arg(what, doubleText(limit));
}

int textToInt(const QString& text) {
    const std::string s = asciiOf(text);
    size_t i = 0;
    while (i < s.size() && isCSpace(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long long value = 0;
    while (i < s.size() && isDigit(s[i])) {
        value = value * 10 + (s[i++] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double roundHalfAway(double value, int places) {
    const double scale = std::pow(10.0, places);
    // A value too large to scale has no digits after the point to round: it stays as it is, not infinity.
    if (!std::isfinite(std::fabs(value) * scale))
        return value;
    const double magnitude = std::floor(std::fabs(value) * scale + 1e-12 + 0.5) / scale;
    return value < 0 ? -magnitude : magnitude;
}

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c.unicode() == 0x3000;
}

bool isBlankOrLineBreak(QChar c) {
    return isBlank(c) || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

QString trimWhere(const QString& text, bool (*trimmed)(QChar)) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && trimmed(text.at(begin)))
        ++begin;
    while (end > begin && trimmed(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QString trimBlanks(const QString& text) {
    return trimWhere(text, isBlank);
}

QString trimBlanksAndLineBreaks(const QString& text) {
    return trimWhere(text, isBlankOrLineBreak);
}

QString oneLineText(const QString& text) {
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

} // namespace qm
