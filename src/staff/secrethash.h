#pragma once

#include <QString>

// PINs and the owner's password as they are kept: an Argon2id hash string (salt and limits inside), made
// and checked by libsodium. The clear text is never stored.
namespace qm {

// The Argon2id limits: two passes over 32 MiB, chosen so that one check stays well under 0.3 s on a slow
// shop PC (measured by the bench).
inline constexpr unsigned long long secretOpsLimit = 2;
inline constexpr unsigned long long secretMemLimit = 32ull * 1024 * 1024;

// The hash string of `secret`; empty when it could not be made (out of memory).
QString hashSecret(const QString& secret);
// True when `secret` matches `hash`.
bool secretMatches(const QString& hash, const QString& secret);

// A staff PIN: 4 to 8 digits. The owner's password: at least 8 characters.
bool isValidPin(const QString& pin);
bool isValidOwnerPassword(const QString& password);

} // namespace qm
