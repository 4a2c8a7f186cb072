#include "core/ui/qtplatform.h"

#include "core/startfolders.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

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

namespace {

// The sign-in box: it covers the whole main window, so nothing behind it can be read or clicked, and
// Escape does not take it away; only signing in or leaving the program does.
class SignInCover : public QDialog {
public:
    using QDialog::QDialog;
    void reject() override {}
};

QWidget* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(widget) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

} // namespace

std::optional<SignInAnswer> QtPlatform::askSignIn(const QStringList& names, const QString& notice) {
    QWidget* under = mainWindow();
    SignInCover cover(under ? under : owner());
    cover.setObjectName(QStringLiteral("登录"));
    cover.setWindowTitle(QStringLiteral("登录"));
    cover.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    cover.setStyleSheet(QStringLiteral("QDialog#登录 { background: #2b3a4a; } QLabel { color: white; }"));
    auto* nameBox = new QComboBox(&cover);
    nameBox->setObjectName(QStringLiteral("登录_姓名"));
    nameBox->addItems(names);
    auto* pinEdit = new QLineEdit(&cover);
    pinEdit->setObjectName(QStringLiteral("登录_PIN"));
    pinEdit->setEchoMode(QLineEdit::Password);
    auto* noticeLabel = new QLabel(notice, &cover);
    noticeLabel->setObjectName(QStringLiteral("登录_提示"));
    noticeLabel->setStyleSheet(QStringLiteral("color: #ffb0b0; font-weight: bold;"));
    noticeLabel->setVisible(!notice.isEmpty());
    auto* signIn = new QPushButton(QStringLiteral("登录"), &cover);
    signIn->setObjectName(QStringLiteral("按钮_登录"));
    signIn->setDefault(true);
    auto* leave = new QPushButton(QStringLiteral("退出程序"), &cover);
    leave->setObjectName(QStringLiteral("按钮_退出程序"));
    QObject::connect(signIn, &QPushButton::clicked, &cover, &QDialog::accept);
    QObject::connect(leave, &QPushButton::clicked, &cover, [&cover] { cover.done(2); });

    auto* panel = new QVBoxLayout;
    auto* title = new QLabel(QStringLiteral("请选择姓名并输入PIN"), &cover);
    title->setStyleSheet(QStringLiteral("color: white; font-size: 16pt;"));
    panel->addWidget(title);
    panel->addWidget(new QLabel(QStringLiteral("姓名："), &cover));
    panel->addWidget(nameBox);
    panel->addWidget(new QLabel(QStringLiteral("PIN："), &cover));
    panel->addWidget(pinEdit);
    panel->addWidget(noticeLabel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(signIn);
    buttons->addWidget(leave);
    panel->addLayout(buttons);
    auto* centre = new QHBoxLayout;
    centre->addStretch();
    centre->addLayout(panel);
    centre->addStretch();
    auto* layout = new QVBoxLayout(&cover);
    layout->addStretch();
    layout->addLayout(centre);
    layout->addStretch();
    if (under)
        cover.setGeometry(under->geometry());
    else
        cover.resize(480, 320);
    pinEdit->setFocus();
    if (cover.exec() != QDialog::Accepted)
        return std::nullopt;
    return SignInAnswer{nameBox->currentText(), pinEdit->text()};
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
