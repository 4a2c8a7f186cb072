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

} // namespace

const QByteArray& pinyinInitials() {
    static const QByteArray table = loadInitials();
    return table;
}

QString letterCode(const QString& name) {
    const QByteArray bytes = toGbk(name);
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
