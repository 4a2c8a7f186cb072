#include "core/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace qm {

// GBK has no shift states, so one converter per thread serves every call; opening one costs far more than
// converting a dish name.
QByteArray toGbk(const QString& text) {
    thread_local QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

QString fromGbk(const QByteArray& bytes) {
    thread_local QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

qsizetype gbkLength(const QString& text) {
    return toGbk(text).size();
}

} // namespace qm
