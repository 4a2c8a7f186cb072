#pragma once

#include <QString>

class QFileDevice;

// What an operating-system error number means, for the user: the common causes named in Chinese, any
// other in the system's own words.
namespace qm {

QString systemErrorText(int error);
// The cause of the file operation that just failed on `file`: errno named as above when the system set
// one (clear errno before the operation), else the file's own text.
QString fileErrorText(const QFileDevice& file);
// Writes `bytes` as the whole new content of `path`: the old file stays until the new one is complete
// (a save file), and a write that fails only at the last flush is caught too. Empty on success, else the
// cause as fileErrorText() tells it.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

} // namespace qm
