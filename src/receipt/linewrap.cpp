#include "receipt/linewrap.h"

#include <QList>

namespace qm {

namespace {

// One character of the text with the columns it takes in GBK.
struct Unit {
    QString text;
    int bytes = 1;

    bool wide() const { return bytes == 2; }
    bool is(char16_t c) const { return text.size() == 1 && text.front().unicode() == c; }
};

QList<Unit> unitsOf(const QString& text) {
    QList<Unit> units;
    units.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            units.append({text.mid(i, 2), 2});
            ++i;
        } else {
            units.append({QString(c), c.unicode() < 0x80 ? 1 : 2});
        }
    }
    return units;
}

bool isOpeningMark(const Unit& unit) {
    static const QString marks = QStringLiteral("《（“〈‘");
    return unit.wide() && unit.text.size() == 1 && marks.contains(unit.text.front());
}

bool isClosingMark(const Unit& unit) {
    static const QString marks = QStringLiteral("》）”〉，。？：’；、");
    return unit.wide() && unit.text.size() == 1 && marks.contains(unit.text.front());
}

bool isLineBreakAt(const QList<Unit>& units, qsizetype i) {
    return i + 1 < units.size() && units[i].is(u'\r') && units[i + 1].is(u'\n');
}

} // namespace

QString wrapText(const QString& text, int width) {
    const QList<Unit> units = unitsOf(text);
    // restBytes[i]: the columns of the text from character i to the end.
    QList<int> restBytes(units.size() + 1, 0);
    for (qsizetype i = units.size() - 1; i >= 0; --i)
        restBytes[i] = restBytes[i + 1] + units[i].bytes;

    QString out;
    qsizetype start = 0;
    while (start < units.size()) {
        if (restBytes[start] <= width) {
            for (qsizetype i = start; i < units.size(); ++i)
                out += units[i].text;
            break;
        }

        // Scan up to the width; `end` is the first character of the next line, `h` the columns before it.
        qsizetype end = start;
        int h = 0;
        int wordStart = 0; // columns before the word the width may cut; 0 = none or the line's first word
        qsizetype wordStartUnit = start;
        bool inWord = false;
        bool forced = false;
        while (h < width) {
            const Unit& unit = units[end];
            if (unit.wide()) {
                wordStart = 0;
                inWord = false;
                if (h == width - 1)
                    break;
                h += 2;
                ++end;
            } else if (unit.is(u' ')) {
                wordStart = 0;
                inWord = false;
                h += 1;
                ++end;
            } else if (isLineBreakAt(units, end)) {
                h += 2;
                end += 2;
                forced = true;
                break;
            } else {
                if (!inWord) {
                    wordStart = h;
                    wordStartUnit = end;
                    inWord = true;
                }
                h += 1;
                ++end;
            }
        }

        if (!forced) {
            // A word cut by the width moves down whole, unless it starts the line or a wide character
            // follows.
            if (h >= width && wordStart != 0 && !units[end].wide())
                end = wordStartUnit;
            if (end > start && isOpeningMark(units[end - 1]))
                --end;
            else if (end > start && end < units.size() && isClosingMark(units[end]))
                --end;
            if (end == start)
                ++end;
            // A break already in the text right after the cut ends this line; it is not doubled.
            if (isLineBreakAt(units, end))
                end += 2;
        }

        QString line;
        for (qsizetype i = start; i < end; ++i)
            line += units[i].text;
        out += line;
        if (end < units.size() && !line.endsWith(QStringLiteral("\r\n")))
            out += QStringLiteral("\r\n");
        start = end;
    }
    return out;
}

} // namespace qm
