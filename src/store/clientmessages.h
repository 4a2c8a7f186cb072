#pragma once

#include <QString>

// The words of the PostgreSQL client library (and of its programs pg_dump and pg_restore) told as the
// cashier reads them.
namespace qm {

// The cause, in Chinese, of a failure the client library reported in `text`: 服务器未运行或拒绝连接,
// 密码错误, 数据库或用户不存在, …; empty when none is known.
QString serverClientCause(const QString& text);

} // namespace qm
