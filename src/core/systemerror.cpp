#include "core/systemerror.h"

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
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

} // namespace qm
