#pragma once

#include <QString>

namespace qm {

// The text of the about window: program name, version and what the program is for.
QString aboutText();

} // namespace qm
