#pragma once

#include <QString>

// The program home: the folder that holds the database, the pictures, the configuration file and the
// files the program writes for other programs (help documents, chart data).
namespace qm {

class Home {
public:
    explicit Home(const QString& root);

    // --home DIR, else $QUILLMENU_HOME, else the per-user application data folder.
    static QString chooseRoot(const QString& commandLineHome);

    QString root() const { return m_root; }
    QString dataDir() const;
    QString databasePath() const;
    QString configPath() const;
    // What belongs to this till alone: its name, the database server it uses, its printer (收银机.ini).
    QString tillPath() const;
    QString topPicturePath() const;
    QString bottomPicturePath() const;
    // A file directly inside the home.
    QString filePath(const QString& name) const;

private:
    QString m_root;
};

} // namespace qm
