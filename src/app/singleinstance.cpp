#include "app/singleinstance.h"

#include "core/home.h"
#include "core/systemerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qm {

namespace {

QString causeOf(int error) {
    if (error == ENOTDIR || error == EEXIST)
        return QStringLiteral("程序目录不是文件夹");
    return systemErrorText(error);
}

} // namespace

SingleInstance::SingleInstance(const Home& home)
    : m_root(home.root())
    , m_path(home.filePath(fileName())) {}

SingleInstance::~SingleInstance() {
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock; the file stays, its content means nothing
}

bool SingleInstance::fail(const QString& what, int error) {
    m_state = State::Failed;
    m_failure = QStringLiteral("%1：%2（%3）").arg(what, QDir::toNativeSeparators(m_root), causeOf(error));
    return false;
}

bool SingleInstance::acquire() {
    if (m_state == State::Held)
        return true;
    m_failure.clear();
    const QFileInfo root(m_root);
    if (root.exists() && !root.isDir())
        return fail(QStringLiteral("无法使用程序目录"), ENOTDIR);
    if (!QDir().mkpath(m_root))
        return fail(QStringLiteral("无法创建程序目录"), errno ? errno : EACCES);

    const QByteArray path = QFile::encodeName(m_path);
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // A lock file that cannot be written (a read-only home) still takes a lock when it exists.
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(QStringLiteral("无法在程序目录中建立文件"), errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            m_state = State::Running;
            return false;
        }
        return fail(QStringLiteral("无法锁定程序目录中的文件"), error);
    }
    // The holder's process ID, for whoever looks; the lock itself never reads it.
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) == 0) {
        const ssize_t written = ::write(fd, pid.constData(), size_t(pid.size()));
        Q_UNUSED(written) // a full disk leaves the file empty: the lock holds all the same
    }
    m_fd = fd;
    m_state = State::Held;
    return true;
}

QString SingleInstance::fileName() {
    return QStringLiteral("quillmenu.lock");
}

} // namespace qm
