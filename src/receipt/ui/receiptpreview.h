#pragma once

#include "receipt/receiptcontent.h"
#include "receipt/ui/previewwindow.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace qm {

class Database;
class Home;

// The main window's handle on the preview window: opens, closes and refreshes it. While the preview is
// closed a refresh costs nothing.
class ReceiptPreview : public QObject {
    Q_OBJECT
public:
    // `content` reads the order form; `onFunctionKey` runs the main window's function key (F1 to F12)
    // when it is pressed in the preview.
    ReceiptPreview(QWidget* mainWindow, const Database& db, const Home& home,
                   std::function<ReceiptContent()> content, std::function<void(int qtKey)> onFunctionKey);
    ~ReceiptPreview() override;

    bool isOpen() const;
    PreviewWindow* window() const { return m_window; }
    // Opens the preview beside the main window (drawn at once), or redraws it when it is open already.
    void open();
    void close();
    // The "预览" button: closes an open preview, else opens it.
    void toggle();
    // Redraws the preview when it is open, else does nothing.
    void refresh();

private:
    QWidget* m_main;
    const Database& m_db;
    const Home& m_home;
    std::function<ReceiptContent()> m_content;
    std::function<void(int)> m_onFunctionKey;
    QPointer<PreviewWindow> m_window;
};

} // namespace qm
