#include "core/filllist.h"

namespace qm {

FilledList fillListFromTable(const QStringList& column, const QString& currentText) {
    FilledList filled;
    filled.items.append(QString());
    for (const QString& text : column) {
        filled.items.append(text);
        if (text == currentText)
            filled.selected = int(filled.items.size()) - 1;
    }
    return filled;
}

} // namespace qm
