#pragma once

#include <QMainWindow>

namespace qm {

class Database;
class Home;
class Platform;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Database& db, Platform& platform, const Home& home, QWidget* parent = nullptr);
};

} // namespace qm
