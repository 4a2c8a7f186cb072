#pragma once

#include "catalog/importsession.h"
#include "core/ui/runmodal.h"

#include <QDialog>
#include <QList>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The window of an import (导入菜单, 导入客户): the file's encoding, separator and columns, what to do with
// rows already stored, the first rows of the file and every row that cannot be taken, with its reason.
// "导入" stores the rows in one transaction behind a progress window with Cancel.
namespace qm {

class Database;
class Platform;

class ImportDialog : public QDialog {
    Q_OBJECT
public:
    ImportDialog(ImportSession& session, Database& db, Platform& platform, const QString& fileName,
                 QWidget* parent = nullptr);

    // "导入": true when the rows were stored (the dialog is then accepted).
    bool importRows();

private:
    void fillColumnChoices();
    void showSummary();

    ImportSession& m_session;
    Database& m_db;
    Platform& m_platform;
    QComboBox* m_encoding;
    QComboBox* m_separator;
    QList<QComboBox*> m_columns;
    QButtonGroup* m_existing;
    QTableWidget* m_preview;
    QTableWidget* m_refusals;
    QLabel* m_summary;
    QPushButton* m_import;
};

// 导入…: asks for the file, reads it into `session` and shows the import window. True when rows were
// stored.
bool runImport(QWidget* parent, ImportSession& session, Database& db, Platform& platform,
               const RunModal& runModal = execModal);

} // namespace qm
