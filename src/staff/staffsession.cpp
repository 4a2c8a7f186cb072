#include "staff/staffsession.h"

#include "core/platform.h"
#include "staff/secrethash.h"
#include "store/database.h"
#include "store/settings.h"

namespace qm {

namespace {

QString secretRule(Role role) {
    return role == Role::Owner ? QStringLiteral("店主密码至少8个字符。")
                               : QStringLiteral("PIN须为4到8位数字。");
}

bool secretFits(Role role, const QString& secret) {
    return role == Role::Owner ? isValidOwnerPassword(secret) : isValidPin(secret);
}

} // namespace

StaffSession::StaffSession(Database& db, Platform& platform, QObject* parent)
    : QObject(parent)
    , m_db(db)
    , m_platform(platform)
    , m_till(db.tillName()) {
    reload();
}

void StaffSession::reload() {
    m_enabled = RecordStore(m_db).read(staffModeKey) == QStringLiteral("1");
    m_current.reset();
    m_attempts.clear();
    emit signedInChanged();
}

QString StaffSession::statusText() const {
    if (!m_enabled)
        return {};
    if (!m_current)
        return QStringLiteral("未登录");
    return QStringLiteral("当前员工：%1（%2）").arg(m_current->name, roleName(m_current->role));
}

std::optional<AuditEvent> StaffSession::event(const Authorisation& who, const QString& action) const {
    if (!m_enabled)
        return std::nullopt;
    AuditEvent e;
    e.time = m_platform.now();
    e.person = who.person;
    e.authoriser = who.authoriser;
    e.till = m_till;
    e.action = action;
    return e;
}

bool StaffSession::record(const Authorisation& who, const QString& action, const QString& after) {
    std::optional<AuditEvent> e = event(who, action);
    if (!e)
        return true;
    e->after = after;
    return m_db.transaction([&] { return appendAudit(m_db, *e); });
}

QString StaffSession::enable(const QString& ownerName, const QString& password) {
    const QString name = ownerName.trimmed();
    if (name.isEmpty())
        return QStringLiteral("请输入店主姓名。");
    if (!isValidOwnerPassword(password))
        return secretRule(Role::Owner);
    const QString hash = hashSecret(password);
    if (hash.isEmpty())
        return QStringLiteral("无法生成密码散列。");
    const bool ok = m_db.transaction([&] {
        AuditEvent e;
        e.time = m_platform.now();
        e.person = name;
        e.till = m_till;
        e.action = QStringLiteral("开启员工模式");
        return saveStaffMember(m_db, {0, name, roleName(Role::Owner), hash}) &&
               RecordStore(m_db).write(staffModeKey, QStringLiteral("1")) && appendAudit(m_db, e);
    });
    if (!ok)
        return m_db.lastError();
    m_enabled = true;
    m_current = Person{name, Role::Owner};
    emit signedInChanged();
    return {};
}

QString StaffSession::disable(const QString& password) {
    if (!m_enabled)
        return {};
    const QList<StaffRow> staff = loadStaff(m_db);
    const StaffRow* owner = nullptr;
    for (const StaffRow& row : staff) {
        if (row.role == roleName(Role::Owner) && secretMatches(row.hash, password)) {
            owner = &row;
            break;
        }
    }
    if (!owner)
        return QStringLiteral("店主密码错误。");
    const std::optional<AuditEvent> e = event({owner->name, {}}, QStringLiteral("关闭员工模式"));
    const bool ok = m_db.transaction(
        [&] { return RecordStore(m_db).write(staffModeKey, QStringLiteral("0")) && appendAudit(m_db, *e); });
    if (!ok)
        return m_db.lastError();
    m_enabled = false;
    m_current.reset();
    emit signedInChanged();
    return {};
}

QString StaffSession::saveMember(const QString& name, Role role, const QString& secret) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("请输入员工姓名。");
    if (!secretFits(role, secret))
        return secretRule(role);
    const std::optional<StaffRow> old = loadStaffMember(m_db, trimmed);
    const QString hash = hashSecret(secret);
    if (hash.isEmpty())
        return QStringLiteral("无法生成密码散列。");
    std::optional<AuditEvent> e = event({m_current ? m_current->name : QString(), {}},
                                        old ? QStringLiteral("修改员工") : QStringLiteral("添加员工"));
    const bool ok = m_db.transaction([&] {
        if (!saveStaffMember(m_db, {0, trimmed, roleName(role), hash}))
            return false;
        if (!e)
            return true;
        // The record names the member and the role, never the PIN.
        e->before = old ? QStringLiteral("%1（%2）").arg(old->name, old->role) : QString();
        e->after = QStringLiteral("%1（%2）").arg(trimmed, roleName(role));
        return appendAudit(m_db, *e);
    });
    return ok ? QString() : m_db.lastError();
}

QString StaffSession::removeMember(const QString& name) {
    const std::optional<StaffRow> old = loadStaffMember(m_db, name);
    if (!old)
        return QStringLiteral("没有该员工。");
    if (old->role == roleName(Role::Owner)) {
        int owners = 0;
        for (const StaffRow& row : loadStaff(m_db))
            owners += row.role == old->role ? 1 : 0;
        if (owners <= 1)
            return QStringLiteral("至少保留一位店主。");
    }
    std::optional<AuditEvent> e =
        event({m_current ? m_current->name : QString(), {}}, QStringLiteral("删除员工"));
    const bool ok = m_db.transaction([&] {
        if (!removeStaffMember(m_db, name))
            return false;
        if (!e)
            return true;
        e->before = QStringLiteral("%1（%2）").arg(old->name, old->role);
        return appendAudit(m_db, *e);
    });
    return ok ? QString() : m_db.lastError();
}

SignInResult StaffSession::check(const StaffRow& member, const QString& secret) {
    Attempts& attempts = m_attempts[member.name];
    const QDateTime now = m_platform.now();
    if (attempts.lockedUntil.isValid() && now < attempts.lockedUntil) {
        return {SignInStatus::Locked, QStringLiteral("“%1”连续%2次输入错误，已锁定，请%3秒后再试。")
                                          .arg(member.name)
                                          .arg(signInAttempts)
                                          .arg(std::max<qint64>(1, now.secsTo(attempts.lockedUntil)))};
    }
    if (secretMatches(member.hash, secret)) {
        attempts = {};
        return {SignInStatus::SignedIn, {}};
    }
    ++attempts.wrong;
    record({member.name, {}}, QStringLiteral("登录失败"), QStringLiteral("第%1次").arg(attempts.wrong));
    if (attempts.wrong >= signInAttempts) {
        attempts.wrong = 0;
        attempts.lockedUntil = now.addSecs(signInLockSeconds);
        return {SignInStatus::Locked,
                QStringLiteral("“%1”连续%2次输入错误，已锁定一分钟。").arg(member.name).arg(signInAttempts)};
    }
    return {SignInStatus::WrongSecret,
            QStringLiteral("PIN错误，还可再试%1次。").arg(signInAttempts - attempts.wrong)};
}

SignInResult StaffSession::signIn(const QString& name, const QString& secret) {
    const std::optional<StaffRow> member = loadStaffMember(m_db, name.trimmed());
    if (!member)
        return {SignInStatus::UnknownName, QStringLiteral("没有该员工。")};
    const SignInResult result = check(*member, secret);
    if (result.status == SignInStatus::SignedIn) {
        m_current = Person{member->name, roleFromName(member->role).value_or(Role::Cashier)};
        emit signedInChanged();
    }
    return result;
}

QList<StaffRow> StaffSession::members() const {
    return loadStaff(m_db);
}

int StaffSession::idleLockMinutes() const {
    return std::max(0, RecordStore(m_db).read(idleLockKey).toInt());
}

QString StaffSession::setIdleLockMinutes(int minutes) {
    if (minutes < 0 || minutes > 240)
        return QStringLiteral("空闲锁屏须为0到240分钟。");
    const int old = idleLockMinutes();
    if (minutes == old)
        return {};
    const std::optional<AuditEvent> e =
        event({m_current ? m_current->name : QString(), {}}, QStringLiteral("修改设置"));
    const bool ok = m_db.transaction([&] {
        if (!RecordStore(m_db).write(idleLockKey, QString::number(minutes)))
            return false;
        if (!e)
            return true;
        AuditEvent changed = *e;
        changed.before = QStringLiteral("空闲锁屏：%1分钟").arg(old);
        changed.after = QStringLiteral("空闲锁屏：%1分钟").arg(minutes);
        return appendAudit(m_db, changed);
    });
    return ok ? QString() : m_db.lastError();
}

bool StaffSession::signInAtTill() {
    QString notice;
    while (true) {
        QStringList names;
        for (const StaffRow& member : members())
            names << member.name;
        const std::optional<SignInAnswer> answer = m_platform.askSignIn(names, notice);
        if (!answer)
            return false;
        const SignInResult result = signIn(answer->name, answer->secret);
        if (result.status == SignInStatus::SignedIn)
            return true;
        notice = result.message;
    }
}

void StaffSession::signOut() {
    m_current.reset();
    emit signedInChanged();
}

namespace {
const QString acknowledgedAction = QStringLiteral("确认操作记录被改动");
QString acknowledgedText(qint64 row) {
    return QStringLiteral("第一处改动：第%1条").arg(row);
}
} // namespace

bool StaffSession::acknowledgeTampering(qint64 firstBrokenRow) {
    if (!m_current || m_current->role != Role::Owner)
        return false;
    return record({m_current->name, {}}, acknowledgedAction, acknowledgedText(firstBrokenRow));
}

std::optional<qint64> StaffSession::unacknowledgedBreak() const {
    const std::optional<qint64> broken = firstBrokenAuditRow(m_db);
    if (!broken)
        return std::nullopt;
    AuditFilter filter;
    filter.action = acknowledgedAction;
    const qint64 count = countAudit(m_db, filter).value_or(0);
    const std::optional<QList<AuditRow>> rows =
        loadAuditPage(m_db, filter, 0, int(std::min<qint64>(count, 10000)));
    for (const AuditRow& row : rows.value_or(QList<AuditRow>())) {
        if (row.id > *broken && row.event.after == acknowledgedText(*broken))
            return std::nullopt;
    }
    return broken;
}

std::optional<Authorisation> StaffSession::authorise(Action action) {
    if (!m_enabled)
        return Authorisation{};
    const QString person = m_current ? m_current->name : QString();
    if (m_current && roleMay(m_current->role, action))
        return Authorisation{person, {}};
    const std::optional<QString> pin =
        m_platform.askSecret(authorisationTitle, authorisationPrompt + QStringLiteral("\n（") +
                                                     actionName(action) + QStringLiteral("）"));
    if (pin) {
        const QDateTime now = m_platform.now();
        for (const StaffRow& member : loadStaff(m_db)) {
            const std::optional<Role> role = roleFromName(member.role);
            const Attempts attempts = m_attempts.value(member.name);
            if (!role || !roleMay(*role, action) ||
                (attempts.lockedUntil.isValid() && now < attempts.lockedUntil))
                continue;
            if (secretMatches(member.hash, *pin))
                return Authorisation{person, member.name};
        }
        record({person, {}}, QStringLiteral("授权失败"), actionName(action));
    }
    m_platform.showMessage(authorisationRefused, MessageIcon::Warning, authorisationTitle);
    return std::nullopt;
}

} // namespace qm
