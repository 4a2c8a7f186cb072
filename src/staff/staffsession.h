#pragma once

#include "staff/permissions.h"
#include "store/staffstore.h"

#include <QHash>
#include <QObject>

#include <optional>

// Staff mode: who is signed in at this till, sign-in with the lock after five wrong PINs, what they may do
// (asking for a 店长's or 店主's PIN when they may not), and the events of the record of changes. Off until
// the owner sets a password; then every action goes through authorise().
namespace qm {

class Database;
class Platform;

inline const QString authorisationTitle = QStringLiteral("需要店长授权");
inline const QString authorisationPrompt = QStringLiteral("请店长或店主输入PIN：");
inline const QString authorisationRefused = QStringLiteral("授权失败，操作未执行。");
inline const QString auditTamperedMessage = QStringLiteral("操作记录已被改动");
// The 记录 key that tells staff mode is on ("1").
inline const QString staffModeKey = QStringLiteral("员工模式");
// The 记录 key of the discount amount above which a discount needs a 店长 (empty or 0: no limit).
inline const QString largeDiscountKey = QStringLiteral("减免授权金额");
// The 记录 key of the minutes without input after which the till locks (empty or 0: never).
inline const QString idleLockKey = QStringLiteral("空闲锁屏分钟");
inline constexpr int signInAttempts = 5;
inline constexpr int signInLockSeconds = 60;

struct Person {
    QString name;
    Role role = Role::Cashier;
};

// Who does an allowed action: the person signed in and, when their role may not, who allowed it.
struct Authorisation {
    QString person;
    QString authoriser;
};

enum class SignInStatus { SignedIn, WrongSecret, Locked, UnknownName };
struct SignInResult {
    SignInStatus status = SignInStatus::UnknownName;
    QString message; // what the cashier is told; empty when signed in
};

class StaffSession : public QObject {
    Q_OBJECT
public:
    StaffSession(Database& db, Platform& platform, QObject* parent = nullptr);

    bool enabled() const { return m_enabled; }
    // Reads staff mode from the database again (after a restore replaced it); signs out.
    void reload();
    std::optional<Person> current() const { return m_current; }
    QString till() const { return m_till; }
    void setTill(const QString& till) { m_till = till; }
    // The status line's text: "当前员工：name（role）"; empty with staff mode off.
    QString statusText() const;

    // Turns staff mode on with the owner and their password; the reason when it cannot.
    QString enable(const QString& ownerName, const QString& password);
    // Turns it off; needs the owner's password.
    QString disable(const QString& password);
    // Adds a member or sets a new role and PIN (the owner: a password); the reason when it cannot.
    QString saveMember(const QString& name, Role role, const QString& secret);
    QString removeMember(const QString& name);

    // The staff as the sign-in box and the staff window list them.
    QList<StaffRow> members() const;
    // The minutes without input after which the till locks; 0: never.
    int idleLockMinutes() const;
    QString setIdleLockMinutes(int minutes);

    SignInResult signIn(const QString& name, const QString& secret);
    // Shows the sign-in box until someone signs in; false when the cashier chose to leave the program.
    bool signInAtTill();
    void signOut();
    // The record's acknowledgement of a broken chain, by the owner (signed in).
    bool acknowledgeTampering(qint64 firstBrokenRow);
    // The first row where the record's chain breaks, while the owner has not acknowledged that break; no
    // value when the chain holds or the break was acknowledged.
    std::optional<qint64> unacknowledgedBreak() const;

    // Staff mode off: allowed, naming nobody. Otherwise allowed when the signed-in person's role may;
    // else the PIN box "需要店长授权" asks for a 店长's or 店主's PIN, which allows this one action. No value
    // when refused (the person was told; nothing may change).
    std::optional<Authorisation> authorise(Action action);

    // An event of the record for this till and now; with staff mode off no event is recorded (no value).
    std::optional<AuditEvent> event(const Authorisation& who, const QString& action) const;
    // Appends an event that changes nothing else, in a transaction of its own.
    bool record(const Authorisation& who, const QString& action, const QString& after = {});

signals:
    void signedInChanged();

private:
    struct Attempts {
        int wrong = 0;
        QDateTime lockedUntil;
    };
    // Checks a secret against one member, counting wrong ones towards the lock.
    SignInResult check(const StaffRow& member, const QString& secret);

    Database& m_db;
    Platform& m_platform;
    bool m_enabled = false;
    std::optional<Person> m_current;
    QString m_till;
    QHash<QString, Attempts> m_attempts;
};

} // namespace qm
