#pragma once

#include "store/catalogstore.h"

#include <functional>

class QWidget;

// The master-data windows as the main window opens them. Each runs modally and returns once closed.
namespace qm {

class Database;
class Platform;

// 菜单设置 (toolbar "商品管理"). Afterwards the caller reloads its dish cache and the grid's name list.
// `exported` is told the file of each dish export written.
void openDishCatalog(QWidget* parent, Database& db, Platform& platform,
                     std::function<void(const QString& path)> exported = {});
// 桌号设置 (toolbar "桌号管理"). Afterwards the caller reloads its table-code cache.
void openTableCodes(QWidget* parent, const Database& db, Platform& platform);
// 票头设置, 店铺名称设置 or 优惠减免设置 (menus "票头设置", "店名设置", "减免设置"). Nothing to reload: the
// main window's choice lists refill themselves when they drop down.
void openNamedList(NamedList which, QWidget* parent, const Database& db, Platform& platform);

} // namespace qm
