#pragma once

#include <QString>

// What an operating-system error number means, for the user: the common causes named in Chinese, any
// other in the system's own words.
namespace qm {

QString systemErrorText(int error);

} // namespace qm
