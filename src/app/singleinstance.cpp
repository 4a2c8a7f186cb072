#include "app/singleinstance.h"

#include "core/home.h"

#include <QDir>

namespace qm {

SingleInstance::SingleInstance(const Home& home)
    : m_root(home.root())
    , m_path(home.filePath(fileName()))
    , m_lock(m_path) {
    // Age never makes a lock stale: a copy left open for days still holds it. Only a lock whose process
    // no longer runs is taken over.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (m_lock.isLocked())
        m_lock.unlock();
}

bool SingleInstance::acquire() {
    if (m_lock.isLocked())
        return true;
    QDir().mkpath(m_root);
    return m_lock.tryLock(0);
}

QString SingleInstance::fileName() {
    return QStringLiteral("quillmenu.lock");
}

} // namespace qm
