#include "orderbench.h"

#include "benchutil.h"

#include "app/programdatabase.h"
#include "app/ui/mainwindow.h"
#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "order/orderform.h"
#include "store/database.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <memory>

namespace qm::bench {

namespace {

QString randomLetters(QRandomGenerator& random, int length) {
    QString letters;
    for (int i = 0; i < length; ++i)
        letters += QChar(char16_t(u'a' + random.bounded(26)));
    return letters;
}

bool fillCatalogue(Database& db, int dishes, int customers) {
    QRandomGenerator random(3110);
    return db.transaction([&] {
        for (int i = 0; i < dishes; ++i) {
            if (!db.exec(
                    QStringLiteral("INSERT INTO 菜单 (代码, 字母, 菜名, 价格, 单位) VALUES (?, ?, ?, ?, ?)"),
                    {QStringLiteral("%1").arg(i + 1000, 5, 10, QLatin1Char('0')),
                     randomLetters(random, 2 + random.bounded(5)), QStringLiteral("菜品%1").arg(i),
                     10 + random.bounded(50), QStringLiteral("份")}))
                return false;
        }
        for (int i = 0; i < customers; ++i) {
            if (!db.exec(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES (?, ?, ?)"),
                         {QStringLiteral("139%1").arg(i * 7919 % 100000000, 8, 10, QLatin1Char('0')),
                          QStringLiteral("顾客%1").arg(i), QStringLiteral("幸福路 %1 号").arg(i % 300)}))
                return false;
        }
        return true;
    });
}

// Mean time per keystroke of typing each text character by character into a field.
double perKeystrokeMs(OrderForm& form, OrderField field, const QStringList& texts, int rounds) {
    int keystrokes = 0;
    for (const QString& text : texts)
        keystrokes += int(text.size());
    return meanMs(rounds,
                  [&] {
                      for (const QString& text : texts) {
                          for (int n = 1; n <= text.size(); ++n)
                              form.setText(field, text.left(n));
                      }
                  }) /
           keystrokes;
}

} // namespace

void benchOrderEntry() {
    QTemporaryDir dir;
    const Home home(dir.path());
    OpenedDatabase opened = openProgramDatabase(home);
    if (!opened.db || !fillCatalogue(*opened.db, 10000, 100000)) {
        std::fprintf(stderr, "order entry bench: cannot fill the catalogue\n");
        return;
    }
    QtPlatform platform;
    MainWindow window(*opened.db, platform, home, opened.quantityDecimals);
    window.show();
    QApplication::processEvents();
    OrderForm& form = window.orderForm();
    auto* candidates = window.findChild<QAbstractItemView*>(QStringLiteral("超级列表框2"));

    const QStringList codes = {QStringLiteral("1"), QStringLiteral("0123"), QStringLiteral("10999")};
    const QStringList letters = {QStringLiteral("a"), QStringLiteral("abc"), QStringLiteral("xyz")};
    figure(QStringLiteral("dish search per keystroke, number code (10,000 dishes)"),
           perKeystrokeMs(form, OrderField::DishCode, codes, 20), "ms");
    figure(QStringLiteral("dish search per keystroke, letter code (10,000 dishes)"),
           perKeystrokeMs(form, OrderField::DishCode, letters, 20), "ms");
    form.setText(OrderField::DishCode, QStringLiteral("1"));
    figure(QStringLiteral("  candidates listed for \"1\""), candidates->model()->rowCount(), "rows");
    figure(QStringLiteral("dish search \"1\" with the list repainted"),
           meanMs(20,
                  [&] {
                      form.setText(OrderField::DishCode, QStringLiteral("1"));
                      candidates->viewport()->repaint();
                  }),
           "ms");

    const QStringList telephones = {QStringLiteral("13900007919"), QStringLiteral("13912345678")};
    figure(QStringLiteral("telephone auto-fill per keystroke (100,000 customers)"),
           perKeystrokeMs(form, OrderField::Telephone, telephones, 20), "ms");
    {
        // Another program holds the database: the keystroke gives up at once instead of waiting.
        std::unique_ptr<Database> other = Database::connect(home.databasePath());
        other->exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        other->exec(QStringLiteral("BEGIN EXCLUSIVE"));
        other->exec(QStringLiteral("UPDATE 记录 SET 记录信息 = 记录信息 WHERE 1 = 0"));
        figure(QStringLiteral("telephone keystroke while another program holds the file"),
               perKeystrokeMs(form, OrderField::Telephone, {QStringLiteral("1391234")}, 2), "ms");
        other->exec(QStringLiteral("ROLLBACK"));
    }
    window.close();
}

void benchMainWindowStart(const Home& home) {
    OpenedDatabase opened = openBenchDatabase(home, "main window bench");
    if (!opened.db)
        return;
    QtPlatform platform;
    figure(QStringLiteral("main window created and shown"),
           meanMs(3,
                  [&] {
                      MainWindow window(*opened.db, platform, home, opened.quantityDecimals);
                      window.show();
                      QApplication::processEvents();
                  }),
           "ms");
}

} // namespace qm::bench
