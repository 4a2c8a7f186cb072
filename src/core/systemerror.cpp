#include "core/systemerror.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace qm {

QString systemErrorText(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("没有权限");
    case EROFS:
        return QStringLiteral("磁盘只读");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("磁盘已满");
    case EFBIG:
        return QStringLiteral("文件太大");
    case ENOENT:
        return QStringLiteral("此文件或文件夹不存在");
    case ENOTDIR:
        return QStringLiteral("路径中有一项不是文件夹");
    case EISDIR:
        return QStringLiteral("这是一个文件夹");
    case EIO:
        return QStringLiteral("读写出错（设备故障或已拔出）");
    case ENAMETOOLONG:
        return QStringLiteral("文件名太长");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString fileErrorText(const QFileDevice& file) {
    return errno != 0 ? systemErrorText(errno) : file.errorString();
}

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return fileErrorText(file);
    // A small file sits in the buffer until the flush: its write fails only there, and commit() would not
    // say so.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString error = fileErrorText(file);
        file.cancelWriting();
        return error;
    }
    errno = 0;
    if (!file.commit())
        return fileErrorText(file);
    return {};
}

} // namespace qm
