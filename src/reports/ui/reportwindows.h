#pragma once

class QWidget;

// The report windows as the main window opens them; each runs modally and returns once closed.
namespace qm {

class Database;
class Home;
class Platform;

// 收入报表 (toolbar "收入报表").
void openIncomeReport(QWidget* parent, Database& db, Platform& platform, const Home& home);
// 销售统计 (toolbar "销售统计").
void openSalesStatistics(QWidget* parent, Database& db, Platform& platform, const Home& home);

} // namespace qm
