// A bare Qt Widgets program showing one label: the yardstick the program's start-up is measured against.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("bare window"));
    label.setWindowTitle(QStringLiteral("barewindow"));
    label.show();
    return app.exec();
}
