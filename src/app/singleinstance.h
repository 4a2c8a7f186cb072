#pragma once

#include <QString>

// One running copy per program home: a lock file in the home, locked (flock) for as long as the program
// runs. The operating system releases the lock with the process, so only a copy running on this computer
// ever holds it: a file left by a crash or a power cut, an empty or garbled one, or one copied from
// another computer, blocks nothing, whatever it contains.
namespace qm {

class Home;

class SingleInstance {
public:
    enum class State {
        Free,    // not tried yet
        Held,    // this object holds the lock
        Running, // another running copy holds it
        Failed,  // the lock file cannot be made or opened (see failure())
    };

    explicit SingleInstance(const Home& home);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock without waiting; false when another running copy holds it or when the lock file
    // cannot be made (state() tells which). Creates the home when it is missing. Taking it again while
    // held by this object succeeds.
    bool acquire();
    bool held() const { return m_state == State::Held; }
    State state() const { return m_state; }
    // Why the lock file could not be made, in Chinese; empty unless the state is Failed.
    QString failure() const { return m_failure; }
    QString lockPath() const { return m_path; }

    // The lock file's name inside the program home.
    static QString fileName();

private:
    bool fail(const QString& what, int error);

    QString m_root;
    QString m_path;
    int m_fd = -1;
    State m_state = State::Free;
    QString m_failure;
};

} // namespace qm
