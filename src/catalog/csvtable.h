#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Reading and writing the spreadsheet files the dish and customer lists are brought in from and written
// to: CSV text in GBK or UTF-8 (with or without a byte-order mark), separated by commas, semicolons or
// tabs, fields in double quotes where they hold a separator, a quote or a line break.
namespace qm {

enum class CsvEncoding { Utf8, Utf8Bom, Gbk };

// What the bytes most likely are: a UTF-8 byte-order mark says so; text that decodes as UTF-8 without a
// fault is UTF-8; anything else is taken for GBK.
CsvEncoding detectCsvEncoding(const QByteArray& bytes);
// The bytes as text (a byte-order mark dropped).
QString decodeCsv(const QByteArray& bytes, CsvEncoding encoding);
QByteArray encodeCsv(const QString& text, CsvEncoding encoding);
// "GBK", "UTF-8", "UTF-8 (BOM)".
QString csvEncodingName(CsvEncoding encoding);

// The separator the first line uses most, outside quotes: ',', ';' or '\t'; ',' when it has none.
QChar detectCsvSeparator(const QString& text);

struct CsvRecord {
    int line = 0; // the file's line the record starts on, from 1
    QStringList fields;
};

struct CsvTable {
    QStringList header;    // the first record's fields, trimmed
    QList<CsvRecord> rows; // every later record; empty lines are left out
};

// Splits the text into records. Line ends are CR LF, LF or CR; inside quotes they belong to the field.
// A doubled quote inside quotes is one quote. A spreadsheet guard (an apostrophe before a leading =, +,
// - or @, as writeCsvField puts it) is taken off again.
CsvTable parseCsv(const QString& text, QChar separator);

// A file read with the encoding and separator chosen, or detected where none is chosen.
struct CsvFile {
    CsvEncoding encoding = CsvEncoding::Utf8;
    QChar separator = QLatin1Char(',');
    CsvTable table;
};
CsvFile readCsvFile(const QByteArray& bytes, std::optional<CsvEncoding> encoding = std::nullopt,
                    std::optional<QChar> separator = std::nullopt);

// One field as written: quoted when it holds the separator, a quote or a line break; a field beginning
// with =, +, - or @ (after any apostrophes) gets one more leading apostrophe, so that a spreadsheet shows
// it as text and never runs it as a formula.
QString writeCsvField(const QString& field, QChar separator);
// One record and its CR LF.
QString writeCsvRecord(const QStringList& fields, QChar separator);

} // namespace qm
