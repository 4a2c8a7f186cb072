#pragma once

#include "app/shopsetup.h"
#include "core/ui/runmodal.h"

#include <QWizard>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// "开店向导": a new shop's names and telephone line, its receipt printer, the receipt pictures and the
// menu, one page each. Every page can be left with its defaults; "跳过" ends the set-up with nothing more
// changed. Each page's choices are stored when it is left forward.
namespace qm {

class Database;
class Home;
class Platform;
class PrinterFields;

class SetupWizard : public QWizard {
    Q_OBJECT
public:
    enum Page { ShopPage, PrinterPage, PicturePage, MenuPage };

    // `afterPage` runs after each page stored its choices (the preview redraws, the form reloads).
    SetupWizard(Database& db, const Home& home, Platform& platform, std::function<void()> afterPage,
                const RunModal& runModal = execModal, QWidget* parent = nullptr);

    bool validateCurrentPage() override;
    void done(int result) override;

private:
    QWizardPage* buildShopPage();
    QWizardPage* buildPrinterPage();
    QWizardPage* buildPicturePage();
    QWizardPage* buildMenuPage();
    bool storePage(int page);
    void choosePicture(PicturePick& pick, QLabel* label);

    Database& m_db;
    Platform& m_platform;
    RunModal m_runModal;
    std::function<void()> m_afterPage;
    ShopSetup m_setup;

    QPlainTextEdit* m_shopNames;
    QPlainTextEdit* m_ticketHeaders;
    QCheckBox* m_replaceSamples;
    QLineEdit* m_telephone;
    PrinterFields* m_printer;
    QComboBox* m_paper;
    QButtonGroup* m_pictures;
    PicturePick m_top;
    PicturePick m_bottom;
    QLabel* m_topName;
    QLabel* m_bottomName;
    QButtonGroup* m_menu;
};

} // namespace qm
