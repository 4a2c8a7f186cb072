#include "receipt/ui/previewwindow.h"

#include "core/home.h"
#include "core/ui/functionkeys.h"
#include "receipt/paintersurface.h"
#include "receipt/receiptlayout.h"
#include "receipt/receiptpictures.h"
#include "receipt/receiptsettings.h"
#include "store/settings.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>
#include <tuple>
#include <utility>

namespace qm {

namespace {

struct PreviewWidths {
    int board;
    int window;
};

PreviewWidths widthsFor(ReceiptType type) {
    return type == ReceiptType::Mm58 ? PreviewWidths{194, 233} : PreviewWidths{267, 306};
}

// A board of `width` × `height` pixels of the receipt, with `ratio` device pixels to each of them so that
// the receipt stays sharp on a scaled screen.
QImage whiteBoard(int width, int height, qreal ratio = 1) {
    QImage board(int(std::ceil(width * ratio)), int(std::ceil(std::max(1, height) * ratio)),
                 QImage::Format_RGB32);
    board.setDevicePixelRatio(ratio);
    board.fill(Qt::white);
    return board;
}

} // namespace

// 画板1: shows the rows of the board from the scroll position down.
class PreviewWindow::BoardView : public QWidget {
public:
    BoardView(const QImage& board, QScrollBar& scroll, QWidget* parent)
        : QWidget(parent)
        , m_board(board)
        , m_scroll(scroll) {
        setObjectName(QStringLiteral("画板1"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const qreal ratio = m_board.devicePixelRatio();
        painter.drawImage(QRectF(0, 0, width(), height()), m_board,
                          QRectF(0, m_scroll.value() * ratio, width() * ratio, height() * ratio));
    }
    void wheelEvent(QWheelEvent* event) override { QCoreApplication::sendEvent(&m_scroll, event); }

private:
    const QImage& m_board;
    QScrollBar& m_scroll;
};

PreviewWindow::PreviewWindow(QWidget* mainWindow, const Database& db, const Home& home,
                             std::function<ReceiptContent()> content)
    : QWidget(mainWindow, Qt::Tool)
    , m_main(mainWindow)
    , m_db(db)
    , m_home(home)
    , m_content(std::move(content))
    , m_board(whiteBoard(widthsFor(ReceiptType::Mm58).board, 1)) {
    setObjectName(QStringLiteral("打印预览"));
    setWindowTitle(QStringLiteral("打印预览"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_group = new QGroupBox(this);
    m_group->setObjectName(QStringLiteral("分组框1"));
    m_scroll = new QScrollBar(Qt::Vertical, m_group);
    m_scroll->setObjectName(QStringLiteral("纵向滚动条1"));
    m_scroll->setRange(0, 0);
    m_view = new BoardView(m_board, *m_scroll, m_group);
    m_view->setFixedWidth(widthsFor(ReceiptType::Mm58).board);
    m_view->installEventFilter(this);

    auto* inner = new QHBoxLayout(m_group);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->setSpacing(2);
    inner->addWidget(m_view);
    inner->addWidget(m_scroll);
    inner->addStretch();
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addWidget(m_group);

    connect(m_scroll, &QScrollBar::valueChanged, m_view, qOverload<>(&QWidget::update));
    new FunctionKeys(this, [this](int key) { functionKey(key); });

    resize(233, 742);
    if (m_main) {
        m_main->installEventFilter(this);
        resize(width(), m_main->height() + 5);
        dockToMainWindow();
    }
    render();
}

int PreviewWindow::visibleHeight() const {
    return m_view->height();
}

void PreviewWindow::render() {
    m_scroll->setValue(0);
    const RecordStore records(m_db);
    const ReceiptSettings settings = loadReceiptSettings(records, ConfigFile(m_home.configPath()), false);
    const PreviewWidths widths = widthsFor(settings.type);

    const QImage top = settings.topPicture ? loadPreviewPicture(m_home, PicturePlace::Top) : QImage();
    const QImage bottom =
        settings.bottomPicture ? loadPreviewPicture(m_home, PicturePlace::Bottom) : QImage();
    const ReceiptContent content = m_content ? m_content() : ReceiptContent();

    // The board is as tall as the receipt. It is drawn once on a board of room enough for the last receipt
    // and then some, and cut to the height drawn; only a receipt taller than that room is drawn again.
    const qreal ratio = devicePixelRatioF();
    const auto draw = [&](int room) {
        QImage board = whiteBoard(widths.board, room, ratio);
        QPainter painter(&board);
        PainterSurface surface(&board, &painter, widths.board, ReceiptSurface::Kind::Preview);
        const int height = drawReceipt(surface, settings, content, &top, &bottom);
        painter.end();
        return std::pair(std::move(board), height);
    };
    const int room = std::max(m_drawnHeight, 1200) + 400;
    auto [board, drawn] = draw(room);
    if (drawn > room)
        std::tie(board, drawn) = draw(drawn);
    m_drawnHeight = drawn;
    m_board = board.copy(0, 0, board.width(), int(std::ceil(std::max(1, drawn) * ratio)));

    if (m_view->width() != widths.board) {
        m_view->setFixedWidth(widths.board);
        m_group->layout()->activate();
        layout()->activate();
    }
    if (width() != widths.window)
        resize(widths.window, height());
    updateScrollRange();
    m_view->update();
}

void PreviewWindow::updateScrollRange() {
    m_scroll->setRange(0, std::max(0, m_drawnHeight - visibleHeight()));
    m_scroll->setPageStep(std::max(1, visibleHeight()));
    m_scroll->setSingleStep(20);
}

void PreviewWindow::dockToMainWindow() {
    if (!m_main)
        return;
    const QPoint target(m_main->x() + m_main->frameGeometry().width(), m_main->y());
    if (pos() != target)
        move(target);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_main && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        dockToMainWindow();
    else if (watched == m_view && event->type() == QEvent::Resize)
        updateScrollRange();
    return QWidget::eventFilter(watched, event);
}

void PreviewWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!m_main)
        return;
    // The main window follows, so that its right edge meets this window's left edge.
    const QPoint target(x() - m_main->frameGeometry().width(), y());
    if (m_main->pos() != target)
        m_main->move(target);
}

void PreviewWindow::functionKey(int qtKey) {
    if (m_main) {
        m_main->raise();
        m_main->activateWindow();
    }
    if (onFunctionKey)
        onFunctionKey(qtKey);
}

} // namespace qm
