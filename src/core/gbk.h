#pragma once

#include <QByteArray>
#include <QString>

// GBK (code page 936), used only where bytes are counted or GBK files are written.
namespace qm {

QByteArray toGbk(const QString& text);
QString fromGbk(const QByteArray& bytes);
// Length of the text in GBK bytes (a Chinese character takes two).
qsizetype gbkLength(const QString& text);

} // namespace qm
