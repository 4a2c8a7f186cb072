#include "staff/secrethash.h"

#include <QRegularExpression>

#include <sodium.h>

namespace qm {

namespace {
bool sodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}
} // namespace

QString hashSecret(const QString& secret) {
    if (!sodiumReady())
        return {};
    QByteArray clear = secret.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    const int status = crypto_pwhash_str(out, clear.constData(), size_t(clear.size()), secretOpsLimit,
                                         size_t(secretMemLimit));
    sodium_memzero(clear.data(), size_t(clear.size()));
    return status == 0 ? QString::fromLatin1(out) : QString();
}

bool secretMatches(const QString& hash, const QString& secret) {
    if (!sodiumReady() || hash.isEmpty())
        return false;
    const QByteArray stored = hash.toLatin1();
    QByteArray clear = secret.toUtf8();
    const bool ok =
        crypto_pwhash_str_verify(stored.constData(), clear.constData(), size_t(clear.size())) == 0;
    sodium_memzero(clear.data(), size_t(clear.size()));
    return ok;
}

bool isValidPin(const QString& pin) {
    static const QRegularExpression digits(QStringLiteral(R"(^[0-9]{4,8}$)"));
    return digits.match(pin).hasMatch();
}

bool isValidOwnerPassword(const QString& password) {
    return password.size() >= 8;
}

} // namespace qm
