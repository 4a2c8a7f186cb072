#include "catalog/csvtable.h"

#include "core/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace qm {

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

bool isFormulaStart(QChar c) {
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('@');
}

// The number of apostrophes the field begins with when a formula character follows them, else 0.
qsizetype guardLength(const QString& field) {
    qsizetype n = 0;
    while (n < field.size() && field[n] == QLatin1Char('\''))
        ++n;
    return n < field.size() && isFormulaStart(field[n]) ? n : -1;
}

} // namespace

CsvEncoding detectCsvEncoding(const QByteArray& bytes) {
    if (bytes.startsWith(utf8Bom))
        return CsvEncoding::Utf8Bom;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? CsvEncoding::Gbk : CsvEncoding::Utf8;
}

QString decodeCsv(const QByteArray& bytes, CsvEncoding encoding) {
    if (encoding == CsvEncoding::Gbk)
        return fromGbk(bytes);
    const QByteArray body = bytes.startsWith(utf8Bom) ? bytes.mid(utf8Bom.size()) : bytes;
    return QString::fromUtf8(body);
}

QByteArray encodeCsv(const QString& text, CsvEncoding encoding) {
    switch (encoding) {
    case CsvEncoding::Gbk:
        return toGbk(text);
    case CsvEncoding::Utf8Bom:
        return utf8Bom + text.toUtf8();
    case CsvEncoding::Utf8:
        break;
    }
    return text.toUtf8();
}

QString csvEncodingName(CsvEncoding encoding) {
    switch (encoding) {
    case CsvEncoding::Gbk:
        return QStringLiteral("GBK");
    case CsvEncoding::Utf8Bom:
        return QStringLiteral("UTF-8 (BOM)");
    case CsvEncoding::Utf8:
        break;
    }
    return QStringLiteral("UTF-8");
}

QChar detectCsvSeparator(const QString& text) {
    int commas = 0;
    int semicolons = 0;
    int tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
        else if (!quoted && c == QLatin1Char('\t'))
            ++tabs;
    }
    if (tabs > commas && tabs >= semicolons)
        return QLatin1Char('\t');
    if (semicolons > commas)
        return QLatin1Char(';');
    return QLatin1Char(',');
}

CsvTable parseCsv(const QString& text, QChar separator) {
    CsvTable table;
    QList<CsvRecord> records;
    CsvRecord record;
    QString field;
    bool quoted = false;     // inside a quoted field
    bool wasQuoted = false;  // the field began with a quote
    bool recordEmpty = true; // nothing but a line end so far
    int line = 1;
    record.line = 1;
    auto endField = [&] {
        if (guardLength(field) > 0)
            field.remove(0, 1);
        record.fields.append(field);
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        endField();
        // A line of separators only, as spreadsheets leave below a table, is no record either.
        const bool blank = std::all_of(record.fields.cbegin(), record.fields.cend(),
                                       [](const QString& f) { return f.trimmed().isEmpty(); });
        if (!recordEmpty && !blank)
            records.append(std::move(record));
        record = CsvRecord();
        recordEmpty = true;
    };
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < size && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n') ||
                    (c == QLatin1Char('\r') && (i + 1 >= size || text[i + 1] != '\n')))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = true;
            wasQuoted = true;
            recordEmpty = false;
        } else if (c == separator) {
            recordEmpty = false;
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < size && text[i + 1] == QLatin1Char('\n'))
                ++i;
            endRecord();
            record.line = ++line;
        } else {
            field += c;
            recordEmpty = false;
        }
    }
    if (!recordEmpty || !field.isEmpty())
        endRecord();
    if (records.isEmpty())
        return table;
    for (const QString& title : records.first().fields)
        table.header.append(title.trimmed());
    records.removeFirst();
    table.rows = std::move(records);
    return table;
}

CsvFile readCsvFile(const QByteArray& bytes, std::optional<CsvEncoding> encoding,
                    std::optional<QChar> separator) {
    CsvFile file;
    file.encoding = encoding.value_or(detectCsvEncoding(bytes));
    const QString text = decodeCsv(bytes, file.encoding);
    file.separator = separator.value_or(detectCsvSeparator(text));
    file.table = parseCsv(text, file.separator);
    return file;
}

QString writeCsvField(const QString& field, QChar separator) {
    QString text = field;
    if (guardLength(text) >= 0)
        text.prepend(QLatin1Char('\''));
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString writeCsvRecord(const QStringList& fields, QChar separator) {
    QString text;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += separator;
        text += writeCsvField(fields[i], separator);
    }
    text += QLatin1String("\r\n");
    return text;
}

} // namespace qm
