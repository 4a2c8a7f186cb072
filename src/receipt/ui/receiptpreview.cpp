#include "receipt/ui/receiptpreview.h"

#include "receipt/ui/previewwindow.h"

namespace qm {

ReceiptPreview::ReceiptPreview(QWidget* mainWindow, const Database& db, const Home& home,
                               std::function<ReceiptContent()> content,
                               std::function<void(int qtKey)> onFunctionKey)
    : QObject(mainWindow)
    , m_main(mainWindow)
    , m_db(db)
    , m_home(home)
    , m_content(std::move(content))
    , m_onFunctionKey(std::move(onFunctionKey)) {}

ReceiptPreview::~ReceiptPreview() {
    delete m_window;
}

// A closed preview is deleted later; until then it exists but is hidden, and counts as closed.
bool ReceiptPreview::isOpen() const {
    return m_window && m_window->isVisible();
}

void ReceiptPreview::open() {
    if (isOpen()) {
        m_window->render();
        return;
    }
    m_window = new PreviewWindow(m_main, m_db, m_home, m_content);
    m_window->onFunctionKey = m_onFunctionKey;
    m_window->show();
}

void ReceiptPreview::close() {
    if (isOpen())
        m_window->close();
}

void ReceiptPreview::toggle() {
    if (isOpen())
        close();
    else
        open();
}

void ReceiptPreview::refresh() {
    if (isOpen())
        m_window->render();
}

} // namespace qm
