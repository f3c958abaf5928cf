// The backup and restore screen, against temporary folders standing for removable disks.
#include "app/frmMenu.h"
#include "app/layoutvars.h"
#include "app/screens.h"
#include "common/screenstest.h"
#include "common/scripteddialogs.h"
#include "common/testfolder.h"
#include "maintenance/frmBackup.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

const QString kRestoreQuestion = QStringLiteral(
    "Existing database will be replaced!  Please make sure you have the correct data disk in "
    "the source drive. Do you wish to proceed?");

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs SQL on a database file through a connection of the test's own.
QVariant sql(const QString& path, const QString& statement)
{
    QVariant result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (!q.exec(statement))
                qWarning("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
            if (q.next())
                result = q.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test"));
    return result;
}

// Writes fail beyond a small size for as long as it lives, as on a full disk.
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &before_);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &before_); }

private:
    rlimit before_{};
};

}  // namespace

class tst_backup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void keyboard_data();
    void keyboard();
    void roundTrip();
    void refusedBeforeAnything_data();
    void refusedBeforeAnything();
    void retryGoesOnFromTheFailedStep();
    void failedCopyKeepsEarlierBackup_data();
    void failedCopyKeepsEarlierBackup();
    void backupOntoItselfRefused();
    void restoreRefused_data();
    void restoreRefused();
    void restoreWithoutLiveFile();
    void typedDriveLetters_data();
    void typedDriveLetters();
    void browse_data();
    void browse();
    void exitFromTheMenu_data();
    void exitFromTheMenu();

private:
    frmBackup* openScreen();
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static void click(QPushButton* button, QLineEdit* box, const QString& folder);
    // Status labels shown, by name, in screen order.
    static QString shownLabels(frmBackup* form);

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<QTemporaryDir> disk_;
    int ends_ = 0;
};

void tst_backup::initTestCase()
{
    program::registerScreens();
    program::setToday(QDate(2024, 3, 12));
}

void tst_backup::init()
{
    folder_ = std::make_unique<TestFolder>();
    disk_ = std::make_unique<QTemporaryDir>();
    ends_ = 0;
    program::setEndHandler([this] { ++ends_; });
    ExitAfterBackup = false;
}

void tst_backup::cleanup()
{
    closeAllScreens();
    program::setEndHandler(nullptr);
    disk_.reset();
    folder_.reset();
}

frmBackup* tst_backup::openScreen()
{
    auto* form = static_cast<frmBackup*>(screens::show(Screen::Backup));
    if (!QTest::qWaitForWindowActive(form))
        qWarning("the backup screen is not active");
    return form;
}

// Types a drive into a box and clicks the button that acts on it.
void tst_backup::click(QPushButton* button, QLineEdit* box, const QString& folder)
{
    box->setText(folder);
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
}

QString tst_backup::shownLabels(frmBackup* form)
{
    QStringList shown;
    for (QLabel* l : {form->lblBacking, form->lblBackup, form->lblBackupComplete, form->lblRestoring,
                      form->lblRestoreComplete})
        if (l->isVisible())
            shown << l->objectName();
    return shown.join(' ');
}

void tst_backup::keyboard_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::newRow("Down") << "cmdBackup" << int(Qt::Key_Down) << "txtRestore";
    QTest::newRow("Up") << "CmdExit" << int(Qt::Key_Up) << "CmdRestore";
    QTest::newRow("Enter in the backup box") << "txtBackup" << int(Qt::Key_Return) << "cmdBackup";
    QTest::newRow("Enter in the restore box") << "txtRestore" << int(Qt::Key_Return) << "txtRestore";
}

void tst_backup::keyboard()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    frmBackup* form = openScreen();
    QCOMPARE(QApplication::focusWidget(), form->txtBackup);
    form->findChild<QWidget*>(from)->setFocus();
    typeKey(Qt::Key(key));
    QCOMPARE(QApplication::focusWidget()->objectName(), to);
}

// Backed up twice without a question, changed, and restored: the database is the second
// backup byte for byte, and the replaced file stays beside it until the next restore.
void tst_backup::roundTrip()
{
    ScriptedDialogs dialogs;
    frmBackup* form = openScreen();
    click(form->cmdBackup, form->txtBackup, disk_->path());
    sql(folder_->databasePath(), "UPDATE tbl_Setup SET bookno = 'second'");
    form->cmdBackup->setFocus();
    typeKey(Qt::Key_Return);
    const QByteArray atBackup = bytes(folder_->databasePath());
    QCOMPARE(dialogs.messages.size(), 0);
    QCOMPARE(shownLabels(form), QStringLiteral("lblBackupComplete"));
    QCOMPARE(form->lblBackupComplete->text(), QStringLiteral("Files back-up completed successfully."));
    QCOMPARE(bytes(disk_->filePath("db.mdb")), atBackup);
    QCOMPARE(QDir(disk_->path()).entryList(QDir::Files), QStringList{"db.mdb"});
    QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);

    sql(folder_->databasePath(), "UPDATE tbl_Setup SET bookno = 'after the backup'");
    const QByteArray afterBackup = bytes(folder_->databasePath());
    dialogs.answerMessage(dialogs::Answer::Yes);
    form->txtRestore->setText(disk_->path());
    form->CmdRestore->setFocus();
    typeKey(Qt::Key_Return);
    settle();
    QCOMPARE(dialogs.messages.size(), 1);
    const dialogs::Prompt& question = dialogs.messages[0];
    QCOMPARE(question.text, kRestoreQuestion);
    QCOMPARE(question.title, QStringLiteral("Restore files"));
    QCOMPARE(question.buttons, dialogs::Buttons::YesNo);
    QCOMPARE(question.defaultButton, std::optional(dialogs::Answer::No));
    QCOMPARE(shownLabels(form), QStringLiteral("lblRestoreComplete"));
    QCOMPARE(bytes(folder_->databasePath()), atBackup);
    QCOMPARE(bytes(folder_->databasePath() + ".bak"), afterBackup);
    QVERIFY(!QFile::exists(folder_->databasePath() + ".restore"));
    QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(form->dataConnected());
}

void tst_backup::refusedBeforeAnything_data()
{
    QTest::addColumn<bool>("restore");
    QTest::addColumn<bool>("proceed");  // the answer to the restore question
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("message");  // the last one
    for (bool restore : {false, true}) {
        const char* way = restore ? "restore" : "backup";
        QTest::addRow("%s: a drive letter names no folder here", way)
            << restore << true << "A:"
            << "There is no drive A: on this computer; give the folder of the disk, such as "
               "/media/usb. Retry?";
        QTest::addRow("%s: a folder that is not there", way)
            << restore << true << "/media/no-such-disk" << "The folder /media/no-such-disk cannot be found. Retry?";
    }
    QTest::newRow("backup: nothing typed") << false << true << "" << "No drive or folder is given. Retry?";
    QTest::newRow("restore: No to the question") << true << false << "%disk" << kRestoreQuestion;
}

// A drive that is not there, or a No, comes before any screen is closed: everything stays as it was.
void tst_backup::refusedBeforeAnything()
{
    QFETCH(bool, restore);
    QFETCH(bool, proceed);
    QFETCH(QString, drive);
    QFETCH(QString, message);
    drive.replace("%disk", disk_->path());
    QVERIFY(QFile::copy(folder_->databasePath(), disk_->filePath("db.mdb")));
    sql(folder_->databasePath(), "UPDATE tbl_Setup SET bookno = 'since the backup'");
    ScriptedDialogs dialogs;
    if (restore)
        dialogs.answerMessage(proceed ? dialogs::Answer::Yes : dialogs::Answer::No);
    dialogs.answerMessage(dialogs::Answer::No);
    screens::show(Screen::Menu);
    screens::show(Screen::Appt);
    frmBackup* form = openScreen();
    const QByteArray live = bytes(folder_->databasePath());
    click(restore ? form->CmdRestore : form->cmdBackup, restore ? form->txtRestore : form->txtBackup, drive);

    QCOMPARE(dialogs.messages.size(), restore && proceed ? 2 : 1);
    QCOMPARE(dialogs.messages.last().text, message);
    QCOMPARE(dialogs.messages.last().buttons, dialogs::Buttons::YesNo);
    QVERIFY(screens::loaded(Screen::Menu));
    QVERIFY(screens::loaded(Screen::Appt));
    QCOMPARE(shownLabels(form), QString());
    QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(bytes(folder_->databasePath()), live);
}

void tst_backup::retryGoesOnFromTheFailedStep()
{
    // The user inserts the disk while the question stands, and answers Yes.
    const QString stick = disk_->filePath("stick");
    ScriptedDialogs dialogs;
    dialogs.whenAsked = [&](const dialogs::Prompt&) { QDir().mkpath(stick); };
    dialogs.answerMessage(dialogs::Answer::Yes);
    // The day page and the menu, left open by the digit keys, are closed by the backup; the
    // page typed on them is in the backup.
    screens::show(Screen::Menu);
    static_cast<frmAppt*>(screens::show(Screen::Appt))->Grid1->setTextMatrix(5, 1, QStringLiteral("Smith"));
    frmBackup* form = openScreen();
    click(form->cmdBackup, form->txtBackup, stick);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QStringLiteral("The folder %1 cannot be found. Retry?").arg(stick));
    QCOMPARE(shownLabels(form), QStringLiteral("lblBackupComplete"));
    QCOMPARE(bytes(stick + "/db.mdb"), bytes(folder_->databasePath()));
    QVERIFY(!screens::loaded(Screen::Menu));
    QVERIFY(!screens::loaded(Screen::Appt));
    QCOMPARE(sql(stick + "/db.mdb", "SELECT count(*) FROM tbl_Appt WHERE Data LIKE '%Smith%'").toInt(), 1);
}

void tst_backup::failedCopyKeepsEarlierBackup_data()
{
    QTest::addColumn<bool>("full");
    QTest::newRow("full disk") << true;
    QTest::newRow("write-protected disk") << false;
}

void tst_backup::failedCopyKeepsEarlierBackup()
{
    QFETCH(bool, full);
    const QString earlier = disk_->filePath("db.mdb");
    QVERIFY(QFile::copy(folder_->databasePath(), earlier));
    sql(folder_->databasePath(), "UPDATE tbl_Setup SET bookno = 'newer'");
    const QByteArray earlierBytes = bytes(earlier);

    std::unique_ptr<FullDisk> fullDisk;
    if (full) {
        fullDisk = std::make_unique<FullDisk>(4096);
    } else {
        QFile::setPermissions(disk_->path(), QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(disk_->path()).isWritable())
            QSKIP("the superuser writes on a write-protected folder");
    }
    ScriptedDialogs dialogs;
    dialogs.answerMessage(dialogs::Answer::No);
    frmBackup* form = openScreen();
    Qt::CursorShape whileAsked = Qt::ArrowCursor;
    dialogs.whenAsked = [&](const dialogs::Prompt&) { whileAsked = form->cursor().shape(); };
    click(form->cmdBackup, form->txtBackup, disk_->path());
    fullDisk.reset();
    QFile::setPermissions(disk_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // The system's words for a full disk vary with the way it copies.
    QCOMPARE(dialogs.messages.size(), 1);
    const QString why = full ? QString() : QStringLiteral("Permission denied");
    const QString& prompt = dialogs.messages[0].text;
    QVERIFY2(prompt.startsWith(QStringLiteral("The backup %1 could not be written: %2").arg(earlier, why)),
             qPrintable(prompt));
    QVERIFY(prompt.endsWith(". Retry?"));
    // The hourglass stands while the copy runs, and goes with the No.
    QCOMPARE(whileAsked, Qt::WaitCursor);
    QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(shownLabels(form), QString());
    QCOMPARE(bytes(earlier), earlierBytes);
    QCOMPARE(QDir(disk_->path()).entryList(QDir::Files), QStringList{"db.mdb"});
}

void tst_backup::backupOntoItselfRefused()
{
    ScriptedDialogs dialogs;
    frmBackup* form = openScreen();
    const QByteArray live = bytes(folder_->databasePath());
    click(form->cmdBackup, form->txtBackup, folder_->path() + "/");
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QStringLiteral("The backup %1 would be the database itself; choose another "
                                                      "drive or folder. Retry?").arg(folder_->databasePath()));
    QCOMPARE(bytes(folder_->databasePath()), live);
}

void tst_backup::restoreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("ending");  // of the drive text
    QTest::addColumn<QString>("message");  // how it starts; %1: the disk's db.mdb
    QTest::addColumn<QString>("why");
    const QString refused = QStringLiteral("The file %1 cannot be restored, and the database is unchanged: ");
    // The file looked for has one separator before its name.
    const QString missing = QStringLiteral("The backup %1 cannot be found. Retry?");
    QTest::newRow("no backup, the drive ending in a slash") << "none" << "/" << missing << "";
    QTest::newRow("no backup, the drive ending in a backslash") << "none" << "\\" << missing << "";
    QTest::newRow("a text file named db.mdb") << "text" << "" << refused << ": file is not a database. Retry?";
    QTest::newRow("a truncated database") << "truncated" << "" << refused << "database disk image is malformed";
    QTest::newRow("a database of another program") << "other" << "" << refused << "The table tbl_Setup is missing";
    QTest::newRow("a field missing") << "field" << "" << refused << "The table tbl_Appt lacks the field(s) Memo";
    QTest::newRow("no settings row") << "no settings" << "" << refused << "The table tbl_Setup has no settings row";
}

void tst_backup::restoreRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, ending);
    QFETCH(QString, message);
    QFETCH(QString, why);
    const QString source = disk_->filePath("db.mdb");
    if (kind == "text") {
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Dear Dr. Marwick,\nplease find the appointments for March attached.\n");
    } else if (kind == "other") {
        sql(source, "CREATE TABLE invoices (number INTEGER, amount REAL)");
    } else if (kind != "none") {
        QVERIFY(QFile::copy(folder_->databasePath(), source));
        QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner);
        if (kind == "truncated") {
            // A backup whose copy broke off: pages of a large database missing at its end.
            sql(source, "INSERT INTO tbl_Appt (CalDate, Data) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                        "SELECT i + 1 FROM n WHERE i < 2000) SELECT '2024-01-01', printf('%0500d', i) FROM n");
            QFile f(source);
            QVERIFY(f.resize(f.size() / 2));
        } else {
            sql(source, kind == "field" ? "ALTER TABLE tbl_Appt DROP COLUMN Memo" : "DELETE FROM tbl_Setup");
        }
    }

    ScriptedDialogs dialogs;
    dialogs.answerMessage(dialogs::Answer::Yes);
    dialogs.answerMessage(dialogs::Answer::No);
    frmBackup* form = openScreen();
    const QByteArray live = bytes(folder_->databasePath());
    click(form->CmdRestore, form->txtRestore, disk_->path() + ending);

    QCOMPARE(dialogs.messages.size(), 2);
    const QString refusal = dialogs.messages[1].text;
    QVERIFY2(refusal.startsWith(message.arg(source)) && refusal.contains(why) && refusal.endsWith(". Retry?"),
             qPrintable(refusal));
    QCOMPARE(bytes(folder_->databasePath()), live);
    QVERIFY(!QFile::exists(folder_->databasePath() + ".bak"));
    QVERIFY(!QFile::exists(folder_->databasePath() + ".restore"));
    QCOMPARE(shownLabels(form), QString());
}

void tst_backup::restoreWithoutLiveFile()
{
    // After a disk crash the program's folder holds no database: the screen opens, and the
    // restore brings it back.
    ScriptedDialogs dialogs;
    QVERIFY(QFile::copy(folder_->databasePath(), disk_->filePath("db.mdb")));
    QFile::remove(folder_->databasePath());
    frmBackup* form = openScreen();
    QVERIFY(!form->dataConnected());
    dialogs.answerMessage(dialogs::Answer::Yes);
    click(form->CmdRestore, form->txtRestore, disk_->path());
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(bytes(folder_->databasePath()), bytes(disk_->filePath("db.mdb")));
    QVERIFY(form->dataConnected());
}

void tst_backup::typedDriveLetters_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("drive letter") << "a:" << "A:";
    QTest::newRow("drive letter and backslash") << "e:\\" << "E:\\";
    QTest::newRow("a path") << "/media/usb" << "/media/usb";
    QTest::newRow("a path ending like a drive") << "/media/a:" << "/media/a:";
}

void tst_backup::typedDriveLetters()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    frmBackup* form = openScreen();
    for (QLineEdit* box : {form->txtBackup, form->txtRestore}) {
        box->setFocus();
        box->selectAll();
        typeKey(Qt::Key_Delete);
        QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), shown);
    }
}

void tst_backup::browse_data()
{
    QTest::addColumn<bool>("restore");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("backup, button, chosen") << false << false << true;
    QTest::newRow("restore, F4, cancelled") << true << true << false;
}

void tst_backup::browse()
{
    QFETCH(bool, restore);
    QFETCH(bool, byKey);
    QFETCH(bool, chosen);
    ScriptedDialogs dialogs;
    dialogs.answerFolder(chosen ? std::optional(disk_->path()) : std::nullopt);
    frmBackup* form = openScreen();
    QLineEdit* box = restore ? form->txtRestore : form->txtBackup;
    box->setText(folder_->path());
    if (byKey) {
        box->setFocus();
        typeKey(Qt::Key_F4);
    } else {
        QTest::mouseClick(restore ? form->cmdBrowseRestore : form->cmdBrowseBackup, Qt::LeftButton);
    }
    QCOMPARE(dialogs.folders.size(), 1);
    QCOMPARE(dialogs.folders[0].title,
             restore ? QStringLiteral("Restore from the folder") : QStringLiteral("Back up to the folder"));
    // The chooser opens on the folder the box names.
    QCOMPARE(dialogs.folders[0].startFolder, folder_->path());
    QCOMPARE(box->text(), chosen ? disk_->path() : folder_->path());
    QCOMPARE(dialogs.messages.size(), 0);
}

void tst_backup::exitFromTheMenu_data()
{
    QTest::addColumn<bool>("fromExit");
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("the menu's Exit, Yes: Exit ends the program") << true << false;
    QTest::newRow("the menu's Exit, Yes: the close box ends the program") << true << true;
    QTest::newRow("entry 4: Exit returns to a new menu") << false << false;
    QTest::newRow("entry 4: the close box returns to a new menu") << false << true;
}

void tst_backup::exitFromTheMenu()
{
    QFETCH(bool, fromExit);
    QFETCH(bool, closeBox);
    ScriptedDialogs dialogs;
    dialogs.answerMessage(dialogs::Answer::Yes);
    auto* menu = static_cast<frmMenu*>(screens::show(Screen::Menu));
    QVERIFY(QTest::qWaitForWindowActive(menu));
    QTest::mousePress(fromExit ? menu->Option6 : menu->Option4, Qt::LeftButton);
    settle();
    auto* form = static_cast<frmBackup*>(screens::loaded(Screen::Backup));
    QVERIFY(form);
    QVERIFY(!screens::loaded(Screen::Menu));
    click(form->cmdBackup, form->txtBackup, disk_->path());
    QCOMPARE(shownLabels(form), QStringLiteral("lblBackupComplete"));
    if (closeBox)
        form->close();
    else
        QTest::mouseClick(form->CmdExit, Qt::LeftButton);
    settle();
    QVERIFY(!screens::loaded(Screen::Backup));
    QCOMPARE(ends_, fromExit ? 1 : 0);
    Form* newMenu = screens::loaded(Screen::Menu);
    QCOMPARE(newMenu != nullptr, !fromExit);
    QVERIFY(!newMenu || newMenu->isVisible());
    QCOMPARE(dialogs.messages.size(), fromExit ? 1 : 0);
}

QTEST_MAIN(tst_backup)
#include "tst_backup.moc"
