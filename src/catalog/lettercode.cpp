#include "catalog/lettercode.h"

#include "core/gbk.h"

#include <QFile>

namespace qm {

namespace {

constexpr int firstLead = 0xB0;
constexpr int lastLead = 0xF7;
constexpr int firstTrail = 0xA1;
constexpr int lastTrail = 0xFE;
constexpr int rowLength = lastTrail - firstTrail + 1;
constexpr int positions = (lastLead - firstLead + 1) * rowLength;

QByteArray loadInitials() {
    QFile file(QStringLiteral(":/pinyin/gb2312-initials.txt"));
    QByteArray table;
    if (file.open(QIODevice::ReadOnly)) {
        table = file.readAll();
        table.replace('\n', QByteArray());
    }
    // A damaged table gives no letters rather than wrong ones.
    if (table.size() != positions)
        table = QByteArray(positions, '-');
    return table;
}

char initialOf(int lead, int trail) {
    if (lead < firstLead || lead > lastLead || trail < firstTrail || trail > lastTrail)
        return 0;
    const char letter = pinyinInitials().at((lead - firstLead) * rowLength + (trail - firstTrail));
    return letter >= 'a' && letter <= 'z' ? letter : 0;
}

// The name in GBK, leaving out the characters GBK cannot hold (the encoder would put a stand-in byte such
// as "?" in their place).
QByteArray gbkBytesOf(const QString& name) {
    // Nearly every name is GBK throughout; only one that is not is walked character by character.
    if (QByteArray whole = toGbk(name); fromGbk(whole) == name)
        return whole;
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const qsizetype length = name.at(i).isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        const QString character = name.mid(i, length);
        i += length - 1;
        const QByteArray encoded = toGbk(character);
        if (fromGbk(encoded) == character)
            bytes += encoded;
    }
    return bytes;
}

} // namespace

const QByteArray& pinyinInitials() {
    static const QByteArray table = loadInitials();
    return table;
}

QString letterCode(const QString& name) {
    const QByteArray bytes = gbkBytesOf(name);
    QByteArray code;
    int lead = -1;
    for (const char c : bytes) {
        const int byte = static_cast<unsigned char>(c);
        if (lead >= 0) {
            if (const char letter = initialOf(lead, byte))
                code.append(letter);
            lead = -1;
        } else if (byte >= 0x81) {
            lead = byte;
        } else {
            code.append(c);
        }
    }
    return QString::fromLatin1(code);
}

} // namespace qm
