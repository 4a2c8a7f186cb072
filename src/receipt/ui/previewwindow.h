#pragma once

#include "receipt/receiptcontent.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>

class QGroupBox;
class QScrollBar;

namespace qm {

class Database;
class Home;

// The window "打印预览": the receipt of the current order at screen scale, docked at the right edge of
// the main window and 5 pixels taller. The receipt is drawn once onto an off-screen board as tall as it
// needs; scrolling only copies from that board.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    // `content` gives the order form's values at the moment of drawing.
    PreviewWindow(QWidget* mainWindow, const Database& db, const Home& home,
                  std::function<ReceiptContent()> content);

    // Draws the receipt afresh from the stored settings and the order form.
    void render();

    // Receives the function keys pressed in this window, after the main window has been activated.
    std::function<void(int qtKey)> onFunctionKey;

    // The off-screen board, its size in pixels of the receipt, and the height of the part that shows.
    const QImage& board() const { return m_board; }
    QSize boardSize() const { return m_board.deviceIndependentSize().toSize(); }
    int visibleHeight() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    class BoardView;

    void dockToMainWindow();
    void updateScrollRange();
    void functionKey(int qtKey);

    QPointer<QWidget> m_main;
    const Database& m_db;
    const Home& m_home;
    std::function<ReceiptContent()> m_content;
    QImage m_board; // 画板2
    int m_drawnHeight = 0;
    QGroupBox* m_group;
    BoardView* m_view;
    QScrollBar* m_scroll;
};

} // namespace qm
