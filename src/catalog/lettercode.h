#pragma once

#include <QByteArray>
#include <QString>

// The letter code of a dish: the pinyin initials of its name, searched by order entry.
namespace qm {

// The initials of the GB2312 hanzi block, one byte per position from B0A1 to F7FE (94 per lead byte):
// a lowercase letter, or '-' where the character has no reading.
const QByteArray& pinyinInitials();

// The letter code of a name, walked over its GBK bytes: a GB2312 hanzi gives the first letter of its first
// reading (nothing when it has none), any other two-byte character gives nothing, and every single byte
// (letters, digits, blanks, punctuation) is kept as it is.
QString letterCode(const QString& name);

} // namespace qm
