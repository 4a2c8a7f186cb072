#pragma once

#include <QLockFile>
#include <QString>

// One running copy per program home: a lock file in the home, held for as long as the program runs.
// The operating system ends the hold with the process, so a lock left by a crashed or killed copy is
// recognised as stale (its process is gone) and taken over by the next start.
namespace qm {

class Home;

class SingleInstance {
public:
    explicit SingleInstance(const Home& home);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock without waiting; false when another running copy holds it. Creates the home when
    // it is missing. Taking it again while held by this object succeeds.
    bool acquire();
    bool held() const { return m_lock.isLocked(); }
    QString lockPath() const { return m_path; }

    // The lock file's name inside the program home.
    static QString fileName();

private:
    QString m_root;
    QString m_path;
    QLockFile m_lock;
};

} // namespace qm
