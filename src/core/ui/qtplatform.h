#pragma once

#include "core/platform.h"

#include <QInputDialog>
#include <QPointer>

class QValidator;
class QWidget;

namespace qm {

// The platform seam on Qt: message boxes, input box, file dialogs, print dialog, desktop services, clock.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    void showMessage(const QString& text, MessageIcon icon, const QString& caption = {}) override;
    bool askYesNo(const QString& text, MessageIcon icon = MessageIcon::Question,
                  const QString& caption = {}) override;
    bool askYesNoDefaultNo(const QString& text, MessageIcon icon, const QString& caption = {}) override;
    void showMessageWithDetails(const QString& text, const QString& details, MessageIcon icon) override;
    bool askYesNoWithDetails(const QString& text, const QString& details, MessageIcon icon) override;
    std::optional<QString> askText(const QString& title, const QString& prompt, const QString& initial,
                                   bool decimal) override;
    std::optional<QString> askSecret(const QString& title, const QString& prompt) override;
    std::optional<SignInAnswer> askSignIn(const QStringList& names, const QString& notice) override;
    QString openFileName(const QString& title, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& suggested) override;
    QString chooseFolder(const QString& title) override;
    std::unique_ptr<Progress> startProgress(const QString& title, const QString& label, int maximum) override;
    std::unique_ptr<ReceiptPrinter> choosePrinter(const PrintRequest& request) override;
    bool openDocument(const QString& path) override;
    bool openUrl(const QUrl& url) override;
    QDateTime now() const override;

private:
    static void showMessageWithDetails(const QString& text, const QString& details, MessageIcon icon,
                                       const QString& caption);
    // Dialogs are owned by the window in front, so they stay above it.
    static QWidget* owner();
    static bool ask(const QString& text, MessageIcon icon, const QString& caption, bool defaultNo,
                    const QString& details = {});

    // The one input box, made at its first use and used again for every later prompt: a busy day asks
    // thousands of quantities, and a new dialog each time leaves memory behind. It belongs to the window
    // in front; when that window goes, the box goes with it and the next prompt makes a new one.
    QPointer<QInputDialog> m_prompt;
    QValidator* m_decimalValidator = nullptr; // owned by the prompt's edit box
};

} // namespace qm
