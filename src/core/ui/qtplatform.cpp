#include "core/ui/qtplatform.h"

#include "core/startfolders.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <cstdio>

namespace qm {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString captionOrDefault(const QString& caption) {
    return caption.isEmpty() ? defaultCaption : caption;
}

// Without a screen (offscreen or minimal platform) no one can answer a modal box: messages go to the
// standard error and questions are answered No, so the program never waits for ever.
bool headless() {
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}

class QtProgress : public Progress {
public:
    QtProgress(const QString& title, const QString& label, int maximum, QWidget* owner)
        : m_dialog(label, QStringLiteral("取消"), 0, maximum, owner) {
        m_dialog.setWindowTitle(title);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(300);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
    }
    bool advance(int value) override {
        m_dialog.setValue(value);
        QCoreApplication::processEvents();
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

// Runs a modal dialog and gives the window behind it back its place in front. Without a window manager
// (a till on a bare X server) nothing else does, and the window's function keys would stay silent.
int runModal(QDialog& dialog, QWidget* owner) {
    const int result = dialog.exec();
    if (owner && owner->isVisible())
        owner->window()->activateWindow();
    return result;
}

void report(const QString& caption, const QString& text) {
    std::fprintf(stderr, "%s %s\n", qPrintable(captionOrDefault(caption)), qPrintable(text));
}

} // namespace

QWidget* QtPlatform::owner() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

void QtPlatform::showMessage(const QString& text, MessageIcon icon, const QString& caption) {
    showMessageWithDetails(text, QString(), icon, caption);
}

void QtPlatform::showMessageWithDetails(const QString& text, const QString& details, MessageIcon icon) {
    showMessageWithDetails(text, details, icon, QString());
}

void QtPlatform::showMessageWithDetails(const QString& text, const QString& details, MessageIcon icon,
                                        const QString& caption) {
    if (headless()) {
        report(caption, details.isEmpty() ? text : text + QLatin1Char('\n') + details);
        return;
    }
    QMessageBox box(qtIcon(icon), captionOrDefault(caption), text, QMessageBox::Ok, owner());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.setDetailedText(details);
    runModal(box, box.parentWidget());
}

bool QtPlatform::askYesNoWithDetails(const QString& text, const QString& details, MessageIcon icon) {
    return ask(text, icon, QString(), false, details);
}

bool QtPlatform::askYesNo(const QString& text, MessageIcon icon, const QString& caption) {
    return ask(text, icon, caption, false);
}

bool QtPlatform::askYesNoDefaultNo(const QString& text, MessageIcon icon, const QString& caption) {
    return ask(text, icon, caption, true);
}

bool QtPlatform::ask(const QString& text, MessageIcon icon, const QString& caption, bool defaultNo,
                     const QString& details) {
    if (headless()) {
        report(caption, details.isEmpty() ? text : text + QLatin1Char('\n') + details);
        return false;
    }
    QMessageBox box(qtIcon(icon), captionOrDefault(caption), text, QMessageBox::Yes | QMessageBox::No,
                    owner());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    if (defaultNo)
        box.setDefaultButton(QMessageBox::No);
    box.setDetailedText(details);
    return runModal(box, box.parentWidget()) == QMessageBox::Yes;
}

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() {
    delete m_prompt.data();
}

std::optional<QString> QtPlatform::askText(const QString& title, const QString& prompt,
                                           const QString& initial, bool decimal) {
    QWidget* parent = owner();
    if (!m_prompt) {
        m_prompt = new QInputDialog(parent);
        m_prompt->setOkButtonText(QStringLiteral("确定"));
        m_prompt->setCancelButtonText(QStringLiteral("取消"));
        m_prompt->setTextValue(QString()); // makes the edit box
        if (auto* edit = m_prompt->findChild<QLineEdit*>()) {
            m_decimalValidator = new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral(R"([-+]?\d*\.?\d*)")), edit);
        }
    } else if (m_prompt->parentWidget() != parent) {
        m_prompt->setParent(parent, m_prompt->windowFlags());
    }
    QInputDialog& dialog = *m_prompt;
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    if (auto* edit = dialog.findChild<QLineEdit*>())
        edit->setValidator(decimal ? m_decimalValidator : nullptr);
    dialog.setTextValue(initial);
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        edit->selectAll();
        edit->setFocus();
    }
    const bool accepted = runModal(dialog, parent) == QDialog::Accepted;
    const QString answer = dialog.textValue();
    if (!accepted)
        return std::nullopt;
    return answer;
}

std::optional<QString> QtPlatform::askSecret(const QString& title, const QString& prompt) {
    // A box of its own each time: the shared input box keeps its last text, a secret must not stay.
    QInputDialog dialog(owner());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtPlatform::openFileName(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(owner(), title, userStartFolder(), filter);
}

QString QtPlatform::saveFileName(const QString& title, const QString& filter, const QString& suggested) {
    const QString start =
        QDir::isAbsolutePath(suggested) ? suggested : QDir(userStartFolder()).filePath(suggested);
    return QFileDialog::getSaveFileName(owner(), title, start, filter);
}

QString QtPlatform::chooseFolder(const QString& title) {
    return QFileDialog::getExistingDirectory(owner(), title, backupStartFolder());
}

std::unique_ptr<Progress> QtPlatform::startProgress(const QString& title, const QString& label, int maximum) {
    return std::make_unique<QtProgress>(title, label, maximum, owner());
}

bool QtPlatform::openDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtPlatform::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QDateTime QtPlatform::now() const {
    return QDateTime::currentDateTime();
}

} // namespace qm
