#pragma once

#include "core/platform.h"

#include <QList>
#include <QQueue>

namespace qm {

// The scripted platform of the tests: records every message, question and dialog, and answers from
// queues. An unanswered question gets No / cancel and is counted, so a test can fail on it.
class FakePlatform : public Platform {
public:
    enum class Kind {
        Message,
        Question,
        Input,
        Secret,
        SignIn,
        OpenFile,
        SaveFile,
        Folder,
        Progress,
        PrintDialog
    };
    struct Shown {
        Kind kind;
        QString text; // message or prompt
        MessageIcon icon = MessageIcon::None;
        QString caption;        // as shown: the default caption when none was given
        bool defaultNo = false; // a question whose default answer is No
        QString details = {};   // behind the box's details button
    };

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
    QDateTime now() const override { return clock; }

    // Texts of the messages and questions shown, in order.
    QStringList texts() const;

    QList<Shown> shown;
    QQueue<bool> yesNoAnswers;
    QQueue<std::optional<QString>> textAnswers;
    // Answers of the PIN and password boxes, in order; an empty queue cancels (and is counted).
    QQueue<std::optional<QString>> secretAnswers;
    // Answers of the sign-in box, in order; an empty queue leaves the program (and is counted). Its
    // notice is recorded as the Shown text, the names offered in signInNames.
    QQueue<std::optional<SignInAnswer>> signInAnswers;
    QList<QStringList> signInNames;
    // Answers of the open-file, save-file and folder dialogs, in order; an empty queue cancels.
    QQueue<QString> fileAnswers;
    // A progress window is cancelled when it is advanced to this value or beyond; -1 never.
    int cancelProgressAt = -1;
    // The highest value each progress window was advanced to, in the order they were started.
    QList<int> progressReached;
    // Printers handed out by choosePrinter(), in order; an empty queue means the dialog was cancelled.
    QQueue<std::function<std::unique_ptr<ReceiptPrinter>(const PrintRequest&)>> printers;
    QList<PrintRequest> printRequests;
    QStringList openedDocuments;
    bool documentsOpen = true; // false: no program to open a document with
    QList<QUrl> openedUrls;
    QDateTime clock = QDateTime(QDate(2026, 3, 14), QTime(12, 30));
    int unanswered = 0;
};

} // namespace qm
