#include "core/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace qm {

QByteArray toGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QString fromGbk(const QByteArray& bytes) {
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

qsizetype gbkLength(const QString& text) {
    return toGbk(text).size();
}

} // namespace qm
