#include "catalog/ui/catalogwindows.h"

#include "catalog/ui/dishcatalogwindow.h"
#include "catalog/ui/namedlistwindow.h"
#include "catalog/ui/tablecodewindow.h"

namespace qm {

void openDishCatalog(QWidget* parent, Database& db, Platform& platform,
                     std::function<void(const QString& path)> exported) {
    DishCatalogWindow window(db, platform, execModal, parent);
    window.setExported(std::move(exported));
    window.exec();
}

void openTableCodes(QWidget* parent, const Database& db, Platform& platform) {
    TableCodeWindow window(db, platform, execModal, parent);
    window.exec();
}

void openNamedList(NamedList which, QWidget* parent, const Database& db, Platform& platform) {
    NamedListWindow window(which, db, platform, parent);
    window.exec();
}

} // namespace qm
