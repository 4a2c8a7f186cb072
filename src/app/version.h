#pragma once

#include <QString>

namespace qm {

inline const QString versionText = QStringLiteral("3.2");
inline const QString productName = QStringLiteral("Quillmenu");
// "Quillmenu 3.2": the main window's title and what --version prints.
inline QString productTitle() {
    return productName + QLatin1Char(' ') + versionText;
}

} // namespace qm
