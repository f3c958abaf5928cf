// The backup and restore screen, against temporary folders standing for removable disks.
#include "app/frmMenu.h"
#include "app/layoutvars.h"
#include "app/screens.h"
#include "common/files.h"
#include "common/screenstest.h"
#include "common/scripteddialogs.h"
#include "common/testfolder.h"
#include "maintenance/frmBackup.h"
#include "page/FlexGrid.h"
#include "common/readonlyfiles.h"
#include "page/frmAppt.h"
#include "platform/clock.h"
#include "platform/durablefile.h"
#include "platform/programfolder.h"
#include "program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <sys/mount.h>
#include <unistd.h>

namespace {

const QString kRestoreQuestion = QStringLiteral(
    "Existing database will be replaced!  Please make sure you have the correct data disk in "
    "the source drive. Do you wish to proceed?");

// The files' contents by path; a missing file reads as null.
QMap<QString, QByteArray> contents(const QStringList& paths)
{
    QMap<QString, QByteArray> result;
    for (const QString& path : paths)
        result[path] = QFileInfo::exists(path) ? readAll(path) : QByteArray();
    return result;
}

// A small disk of its own mounted on `folder`, where the test may mount one (as the superuser).
class SmallDisk {
public:
    SmallDisk(const QString& folder, qint64 size) : folder_(QFile::encodeName(folder))
    {
        QDir().mkpath(folder);
        const QByteArray options = "size=" + QByteArray::number(size);
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }

private:
    QByteArray folder_;
    bool mounted_ = false;
};

// A database left as a crash in the middle of a change of 300 pages leaves it.
void crashInTheMiddleOfAChange(const QString& path)
{
    fileSql(path, "INSERT INTO tbl_Appt (CalDate, Data) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                  "SELECT i + 1 FROM n WHERE i < 300) SELECT '2023-01-01', printf('%0900d', i) FROM n");
    crashInTheMiddleOf(path, "UPDATE tbl_Appt SET Data = 'half-done ' || Data");
}

// Damages the leaf page of tbl_Appt that holds a page with the text `marker`: the settings
// still read, so only a check of every page finds it.
void damagePageHolding(const QString& path, const QByteArray& marker)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        qFatal("cannot open %s", qPrintable(path));
    const QByteArray bytes = file.readAll();
    const qsizetype at = bytes.indexOf(marker);
    if (at < 0)
        qFatal("the marker is not in %s", qPrintable(path));
    const int size = (uchar(bytes[16]) << 8 | uchar(bytes[17])) == 1 ? 65536 : (uchar(bytes[16]) << 8 | uchar(bytes[17]));
    const qint64 page = at / size;
    file.seek(page * size + (page == 0 ? 100 : 0));
    file.write(QByteArray(8, '\xff'));  // the page's header: no kind of page SQLite knows
    file.close();
}

}  // namespace

class tst_backup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        program::registerScreens();
        program::setToday(QDate(2024, 3, 12));
    }

    void init()
    {
        folder_ = std::make_unique<TestFolder>();
        disk_ = std::make_unique<QTemporaryDir>();
        dialogs = std::make_unique<ScriptedDialogs>();
        ends_ = 0;
        program::setEndHandler([this] { ++ends_; });
        ExitAfterBackup = false;
    }

    void cleanup()
    {
        closeAllScreens();
        program::setEndHandler(nullptr);
        dialogs.reset();
        disk_.reset();
        folder_.reset();
    }

    void keyboard_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");
        QTest::newRow("Down") << "cmdBackup" << int(Qt::Key_Down) << "txtRestore";
        QTest::newRow("Up") << "CmdExit" << int(Qt::Key_Up) << "CmdRestore";
        QTest::newRow("Enter in the backup box") << "txtBackup" << int(Qt::Key_Return) << "cmdBackup";
        QTest::newRow("Enter in the restore box") << "txtRestore" << int(Qt::Key_Return) << "txtRestore";
    }

    void keyboard()
    {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(QString, to);
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        QCOMPARE(QApplication::focusWidget(), form->txtBackup);
        form->findChild<QWidget*>(from)->setFocus();
        typeKey(Qt::Key(key));
        QCOMPARE(QApplication::focusWidget()->objectName(), to);
    }

    // Backed up twice without a question, changed, and restored: the database is the second
    // backup byte for byte, and the replaced file stays beside it until the next restore.
    void roundTrip()
    {
        // A database that every user of the computer could read, as earlier versions left it.
        QFile::setPermissions(folder_->databasePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                           QFile::ReadOther);
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        click(form->cmdBackup, form->txtBackup, disk_->path());
        fileSql(folder_->databasePath(), "UPDATE tbl_Setup SET bookno = 'second'");
        form->cmdBackup->setFocus();
        typeKey(Qt::Key_Return);
        const QByteArray atBackup = readAll(folder_->databasePath());
        QCOMPARE(dialogs->messages.size(), 0);
        QCOMPARE(shownLabels(form), QStringLiteral("lblBackupComplete"));
        QCOMPARE(form->lblBackupComplete->text(), QStringLiteral("Files back-up completed successfully."));
        QCOMPARE(readAll(disk_->filePath("db.mdb")), atBackup);
        QCOMPARE(QDir(disk_->path()).entryList(QDir::Files), QStringList{"db.mdb"});
        QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);

        fileSql(folder_->databasePath(), "UPDATE tbl_Setup SET bookno = 'after the backup'");
        const QByteArray afterBackup = readAll(folder_->databasePath());
        dialogs->answerMessage(dialogs::Answer::Yes);
        form->txtRestore->setText(disk_->path());
        form->CmdRestore->setFocus();
        typeKey(Qt::Key_Return);
        settle();
        QCOMPARE(dialogs->messages.size(), 1);
        const dialogs::Prompt& question = dialogs->messages[0];
        QCOMPARE(question.text, kRestoreQuestion);
        QCOMPARE(question.title, QStringLiteral("Restore files"));
        QCOMPARE(question.buttons, dialogs::Buttons::YesNo);
        QCOMPARE(question.defaultButton, std::optional(dialogs::Answer::No));
        QCOMPARE(shownLabels(form), QStringLiteral("lblRestoreComplete"));
        QCOMPARE(readAll(folder_->databasePath()), atBackup);
        QCOMPARE(readAll(folder_->databasePath() + ".bak"), afterBackup);
        for (const QString& file : {disk_->filePath("db.mdb"), folder_->databasePath(), folder_->databasePath() + ".bak"})
            QCOMPARE(fileMode(file), 0600);
        QVERIFY(!QFile::exists(folder_->databasePath() + ".restore"));
        QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(form->dataConnected());
    }

    void refusedBeforeAnything_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<bool>("proceed");  // the answer to the restore question
        QTest::addColumn<QString>("drive");
        QTest::addColumn<bool>("pageStays");  // the day page cannot store its page, and Cancel stays
        QTest::addColumn<QString>("message");  // how the last one ends
        for (bool restore : {false, true}) {
            const char* way = restore ? "restore" : "backup";
            QTest::addRow("%s: a drive letter names no folder here", way)
                << restore << true << "A:" << false
                << "There is no drive A: on this computer; give the folder of the disk, such as "
                   "/media/usb. Retry?";
            QTest::addRow("%s: a folder that is not there", way)
                << restore << true << "/media/no-such-disk" << false
                << "The folder /media/no-such-disk cannot be found. Retry?";
            QTest::addRow("%s: the day page stays open", way)
                << restore << true << "%disk" << true
                << "Retry stores the page again. Discard leaves without storing the page of 12 Mar 2024. "
                   "Cancel stays on the page.";
        }
        QTest::newRow("backup: nothing typed") << false << true << "" << false << "No drive or folder is given. Retry?";
        QTest::newRow("restore: No to the question") << true << false << "%disk" << false << kRestoreQuestion;
    }

    // A drive that is not there, a No, or a page that stays comes before any screen is closed:
    // everything stays as it was, and nothing is copied either way.
    void refusedBeforeAnything()
    {
        QFETCH(bool, restore);
        QFETCH(bool, proceed);
        QFETCH(QString, drive);
        QFETCH(bool, pageStays);
        QFETCH(QString, message);
        drive.replace("%disk", disk_->path());
        const QString earlier = disk_->filePath("db.mdb");
        QVERIFY(QFile::copy(folder_->databasePath(), earlier));
        fileSql(folder_->databasePath(), "UPDATE tbl_Setup SET bookno = 'since the backup'");
        ReadOnlyFiles readOnly;
        if (pageStays)
            readOnly.add(folder_->databasePath());
        screens::show(Screen::Menu);
        auto* page = static_cast<frmAppt*>(screens::show(Screen::Appt));
        page->Grid1->setTextMatrix(5, 1, QStringLiteral("Smith"));
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        dialogs->messages.clear();  // the note that the file is read-only
        if (restore)
            dialogs->answerMessage(proceed ? dialogs::Answer::Yes : dialogs::Answer::No);
        dialogs->answerMessage(pageStays ? dialogs::Answer::Cancel : dialogs::Answer::No);
        const QByteArray live = readAll(folder_->databasePath());
        const QByteArray earlierBytes = readAll(earlier);
        click(restore ? form->CmdRestore : form->cmdBackup, restore ? form->txtRestore : form->txtBackup, drive);

        QCOMPARE(dialogs->messages.size(), restore && proceed ? 2 : 1);
        QVERIFY2(dialogs->messages.last().text.endsWith(message), qPrintable(dialogs->messages.last().text));
        QCOMPARE(dialogs->messages.last().buttons,
                 pageStays ? dialogs::Buttons::RetryDiscardCancel : dialogs::Buttons::YesNo);
        QVERIFY(screens::loaded(Screen::Menu));
        QVERIFY(screens::loaded(Screen::Appt));
        QCOMPARE(page->Grid1->TextMatrix(5, 1), QStringLiteral("Smith"));
        QCOMPARE(shownLabels(form), QString());
        QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(readAll(folder_->databasePath()), live);
        QCOMPARE(readAll(earlier), earlierBytes);
        QCOMPARE(QDir(disk_->path()).entryList(QDir::Files), QStringList{"db.mdb"});
    }

    void retryGoesOnFromTheFailedStep()
    {
        // The user inserts the disk while the question stands, and answers Yes.
        const QString stick = disk_->filePath("stick");
        dialogs->whenAsked = [&](const dialogs::Prompt&) { QDir().mkpath(stick); };
        dialogs->answerMessage(dialogs::Answer::Yes);
        // The day page and the menu, left open by the digit keys, are closed by the backup; the
        // page typed on them is in the backup.
        screens::show(Screen::Menu);
        static_cast<frmAppt*>(screens::show(Screen::Appt))->Grid1->setTextMatrix(5, 1, QStringLiteral("Smith"));
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        click(form->cmdBackup, form->txtBackup, stick);
        QCOMPARE(dialogs->messages.size(), 1);
        QCOMPARE(dialogs->messages[0].text, QStringLiteral("The folder %1 cannot be found. Retry?").arg(stick));
        QCOMPARE(shownLabels(form), QStringLiteral("lblBackupComplete"));
        QCOMPARE(readAll(stick + "/db.mdb"), readAll(folder_->databasePath()));
        QVERIFY(!screens::loaded(Screen::Menu));
        QVERIFY(!screens::loaded(Screen::Appt));
        QCOMPARE(fileSql(stick + "/db.mdb", "SELECT count(*) FROM tbl_Appt WHERE Data LIKE '%Smith%'").toInt(), 1);
    }

    void failedCopyKeepsEarlierBackup_data()
    {
        QTest::addColumn<QString>("disk");
        QTest::addColumn<QString>("why");
        // A small disk of its own where the test may mount one, else a disk that fails as one does.
        QTest::newRow("a disk that fills part way") << "full" << "the disk is full";
        QTest::newRow("a write-protected disk") << "protected" << "Permission denied";
        // The first read of the live file passes; the check of the copy finds the damage.
        QTest::newRow("a damaged page in the live file") << "damaged" << "";
        // The disk said the copy was written, and gives back another byte in it.
        QTest::newRow("a disk that gives back other bytes") << "changed" << "";
    }

    void failedCopyKeepsEarlierBackup()
    {
        QFETCH(QString, disk);
        QFETCH(QString, why);
        const QString folder = disk_->filePath("stick");
        std::unique_ptr<SmallDisk> small;
        if (disk == "full")
            small = std::make_unique<SmallDisk>(folder, 36 * 1024);  // room for the earlier backup and half a new one
        QDir().mkpath(folder);
        const QString earlier = folder + "/db.mdb";
        QVERIFY(QFile::copy(folder_->databasePath(), earlier));
        fileSql(folder_->databasePath(), "UPDATE tbl_Setup SET bookno = 'newer'");
        const QByteArray earlierBytes = readAll(earlier);
        if (disk == "damaged") {
            fileSql(folder_->databasePath(), "INSERT INTO tbl_Appt (CalDate, Data) VALUES ('2031-01-01', 'a page to damage')");
            damagePageHolding(folder_->databasePath(), "a page to damage");
        }

        if (disk == "protected") {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            if (QFileInfo(folder).isWritable())
                QSKIP("the superuser writes on a write-protected folder");
        } else if (small && !small->mounted()) {
            durable::failStepForTesting(2, ENOSPC);  // the first write
        } else if (disk == "changed") {
            durable::changeCopyForTesting(5000);
        }
        dialogs->answerMessage(dialogs::Answer::No);
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        Qt::CursorShape whileAsked = Qt::ArrowCursor;
        dialogs->whenAsked = [&](const dialogs::Prompt&) { whileAsked = form->cursor().shape(); };
        click(form->cmdBackup, form->txtBackup, folder);
        durable::failStepForTesting(0, 0);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(dialogs->messages.size(), 1);
        if (disk == "damaged")
            QVERIFY2(dialogs->messages[0].text.startsWith(
                         QStringLiteral("The backup %1 was written but does not read back as a database: ").arg(earlier)),
                     qPrintable(dialogs->messages[0].text));
        else if (disk == "changed")
            QCOMPARE(dialogs->messages[0].text,
                     QStringLiteral("The backup %1 was written but cannot be read back: what the disk gives back "
                                    "differs from the database from byte 5000 on. Retry?").arg(earlier));
        else
            QCOMPARE(dialogs->messages[0].text, QStringLiteral("The backup %1 could not be written: %2. Retry?").arg(earlier, why));
        // The hourglass stands while the copy runs, and goes with the No.
        QCOMPARE(whileAsked, Qt::WaitCursor);
        QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(shownLabels(form), QString());
        QCOMPARE(readAll(earlier), earlierBytes);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"db.mdb"});
    }

    void backupOntoItselfRefused()
    {
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        const QByteArray live = readAll(folder_->databasePath());
        click(form->cmdBackup, form->txtBackup, folder_->path() + "/");
        QCOMPARE(dialogs->messages.size(), 1);
        QCOMPARE(dialogs->messages[0].text, QStringLiteral("The backup %1 would be the database itself; choose another "
                                                           "drive or folder. Retry?").arg(folder_->databasePath()));
        QCOMPARE(readAll(folder_->databasePath()), live);
    }

    void restoreRefused_data()
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
        // Sound page by page, but an index whose entries are not its rows' (only the full check
        // reads them both).
        QTest::newRow("an index that does not match its rows") << "index" << "" << refused
                                                               << "row 1 missing from index idx_Appt_CalDate";
    }

    void restoreRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, ending);
        QFETCH(QString, message);
        QFETCH(QString, why);
        const QString source = disk_->filePath("db.mdb");
        if (kind == "text") {
            writeFile(source, "Dear Dr. Marwick,\nplease find the appointments for March attached.\n");
        } else if (kind == "other") {
            fileSql(source, "CREATE TABLE invoices (number INTEGER, amount REAL)");
        } else if (kind != "none") {
            QVERIFY(QFile::copy(folder_->databasePath(), source));
            QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner);
            if (kind == "index")
                fileRows(source, {"PRAGMA writable_schema = ON", "UPDATE sqlite_master SET sql = replace(sql, "
                                  "'(CalDate, id)', '(Data, id)') WHERE name = 'idx_Appt_CalDate'"});
        }
        if (kind == "truncated") {
            // A backup whose copy broke off: pages of a large database missing at its end.
            fileSql(source, "INSERT INTO tbl_Appt (CalDate, Data) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                        "SELECT i + 1 FROM n WHERE i < 2000) SELECT '2024-01-01', printf('%0500d', i) FROM n");
            QFile f(source);
            QVERIFY(f.resize(f.size() / 2));
        }

        dialogs->answerMessage(dialogs::Answer::Yes);
        dialogs->answerMessage(dialogs::Answer::No);
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        const QByteArray live = readAll(folder_->databasePath());
        click(form->CmdRestore, form->txtRestore, disk_->path() + ending);

        QCOMPARE(dialogs->messages.size(), 2);
        const QString refusal = dialogs->messages[1].text;
        QVERIFY2(refusal.startsWith(message.arg(source)) && refusal.contains(why) && refusal.endsWith(". Retry?"),
                 qPrintable(refusal));
        QCOMPARE(readAll(folder_->databasePath()), live);
        QVERIFY(!QFile::exists(folder_->databasePath() + ".bak"));
        QVERIFY(!QFile::exists(folder_->databasePath() + ".restore"));
        QCOMPARE(shownLabels(form), QString());
    }

    void restoreWithoutLiveFile_data()
    {
        QTest::addColumn<bool>("journal");  // the lost database's journal is still there
        QTest::newRow("restored") << false;
        QTest::newRow("refused while the lost database's journal is there") << true;
    }

    void restoreWithoutLiveFile()
    {
        // After a disk crash the program's folder holds no database: the screen opens, and the
        // restore brings it back. A journal of the lost file would be applied to the restored one.
        QFETCH(bool, journal);
        const QString live = folder_->databasePath();
        QVERIFY(QFile::copy(live, disk_->filePath("db.mdb")));
        if (journal)
            crashInTheMiddleOfAChange(live);
        const QByteArray journalBytes = readAll(live + "-journal");
        QFile::remove(live);
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        QVERIFY(!form->dataConnected());
        dialogs->answerMessage(dialogs::Answer::Yes);
        dialogs->answerMessage(dialogs::Answer::No);
        click(form->CmdRestore, form->txtRestore, disk_->path());
        QCOMPARE(dialogs->messages.size(), journal ? 2 : 1);
        if (journal) {
            QCOMPARE(dialogs->messages[1].text,
                     QStringLiteral("The journal %1-journal holds an unfinished change of a database that is no "
                                    "longer there, and would be applied to the restored file; move it out of "
                                    "the folder and restore again. The folder is unchanged. Retry?").arg(live));
            QVERIFY(!QFile::exists(live));
            QCOMPARE(readAll(live + "-journal"), journalBytes);
            return;
        }
        QCOMPARE(readAll(live), readAll(disk_->filePath("db.mdb")));
        QCOMPARE(fileMode(live), 0600);
        QVERIFY(form->dataConnected());
    }

    void readOnlySources_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::newRow("backup of a read-only db.mdb in a read-only folder") << false;
        QTest::newRow("restore from a write-protected disk") << true;
    }

    // A read-only file is copied as the user's own: the copy can be written and synced, and
    // it is the user's alone.
    void readOnlySources()
    {
        QFETCH(bool, restore);
        const QString live = folder_->databasePath();
        const QString backup = disk_->filePath("db.mdb");
        if (restore) {
            QVERIFY(QFile::copy(live, backup));
            fileSql(backup, "UPDATE tbl_Setup SET bookno = 'on the disk'");
        }
        const QString source = restore ? backup : live;
        const QString target = restore ? live : backup;
        const QByteArray sourceBytes = readAll(source);
        const QString sourceFolder = QFileInfo(source).path();
        QVERIFY(QFile::setPermissions(source, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(sourceFolder, QFile::ReadOwner | QFile::ExeOwner));
        dialogs->answerMessage(dialogs::Answer::Yes);
        dialogs->answerMessage(dialogs::Answer::No);
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        click(restore ? form->CmdRestore : form->cmdBackup, restore ? form->txtRestore : form->txtBackup,
              disk_->path());
        QFile::setPermissions(sourceFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(dialogs->messages.size(), restore ? 1 : 0);
        QCOMPARE(shownLabels(form), restore ? QStringLiteral("lblRestoreComplete") : QStringLiteral("lblBackupComplete"));
        QCOMPARE(readAll(target), sourceBytes);
        QCOMPARE(fileMode(target), 0600);
        QCOMPARE(fileMode(source), 0444);
    }

    void leftoverJournal_data()
    {
        QTest::addColumn<bool>("readOnly");  // the database file may not be written
        QTest::newRow("the unfinished change is undone first") << false;
        QTest::newRow("refused while it cannot be undone, then retried") << true;
    }

    // A crash in the middle of a change left a journal beside the database: the change is undone
    // before the file is replaced, and never carried over to the restored file.
    void leftoverJournal()
    {
        QFETCH(bool, readOnly);
        const QString live = folder_->databasePath();
        QVERIFY(QFile::copy(live, disk_->filePath("db.mdb")));
        fileSql(live, "UPDATE tbl_Setup SET bookno = 'before the crash'");
        writeFile(live + ".bak", "an earlier copy");
        crashInTheMiddleOfAChange(live);
        const auto before = contents({live, live + "-journal", live + ".bak"});
        ReadOnlyFiles readOnlyFiles;
        if (readOnly) {
            QFile::setPermissions(live, QFile::ReadOwner);
            readOnlyFiles.add(live);
        }
        dialogs->answerMessage(dialogs::Answer::Yes);
        QMap<QString, QByteArray> whileAsked;
        dialogs->whenAsked = [&](const dialogs::Prompt&) {
            if (dialogs->messages.size() < 2)
                return;
            // The user makes the file writable and answers Retry.
            whileAsked = contents({live, live + "-journal", live + ".bak"});
            QFile::setPermissions(live, QFile::ReadOwner | QFile::WriteOwner);
            readOnlyFiles.remove(live);
        };
        dialogs->answerMessage(dialogs::Answer::Yes);
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        click(form->CmdRestore, form->txtRestore, disk_->path());

        QCOMPARE(dialogs->messages.size(), readOnly ? 2 : 1);
        if (readOnly) {
            QCOMPARE(dialogs->messages[1].text,
                     QStringLiteral("The database %1 holds an unfinished change in %1-journal that could not be "
                                    "undone, and is unchanged: the database file is read-only, so the change "
                                    "cannot be undone; make it writable and restore again. Retry?").arg(live));
            QCOMPARE(whileAsked, before);
        }
        QCOMPARE(shownLabels(form), QStringLiteral("lblRestoreComplete"));
        QCOMPARE(readAll(live), readAll(disk_->filePath("db.mdb")));
        QVERIFY(!QFile::exists(live + "-journal"));
        // The replaced file is kept as it stood before the crash: whole, and without the change.
        const QString kept = live + ".bak";
        QCOMPARE(fileSql(kept, "PRAGMA integrity_check").toString(), "ok");
        QCOMPARE(fileSql(kept, "SELECT bookno FROM tbl_Setup").toString(), "before the crash");
        QCOMPARE(fileSql(kept, "SELECT count(*) FROM tbl_Appt WHERE Data LIKE 'half-done%'").toInt(), 0);
        QCOMPARE(fileSql(kept, "SELECT count(*) FROM tbl_Appt WHERE CalDate = '2023-01-01'").toInt(), 300);
    }

    void injectedFailures_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::newRow("backup") << false;
        QTest::newRow("restore") << true;
    }

    // Each step of the copy fails in turn, until one runs with none failing. After every failure
    // the user is told and nothing claims success; the database, its journal, its earlier copy
    // and the earlier backup are as they were; and Retry, the fault gone, goes through.
    void injectedFailures()
    {
        QFETCH(bool, restore);
        const QString live = folder_->databasePath();
        const QString backup = disk_->filePath("db.mdb");
        QMap<QString, QByteArray> before;
        for (const char* book : {"earlier backup", "earlier copy", "live"}) {
            fileSql(live, QStringLiteral("UPDATE tbl_Setup SET bookno = '%1'").arg(book));
            before[book] = readAll(live);
        }
        // An empty journal, as one that was cut short leaves it: nothing to undo, nothing to touch.
        const QMap<QString, QByteArray> baseline{{live, before["live"]},
                                                 {live + "-journal", QByteArray("")},
                                                 {live + ".bak", before["earlier copy"]},
                                                 {backup, before["earlier backup"]}};
        int step = 1;
        for (;; ++step) {
            for (auto [path, content] : baseline.asKeyValueRange())
                writeFile(path, content);
            ScriptedDialogs dialogs;
            if (restore)
                dialogs.answerMessage(dialogs::Answer::Yes);
            dialogs.answerMessage(dialogs::Answer::Yes);
            frmBackup* form = showScreen<frmBackup>(Screen::Backup);
            QMap<QString, QByteArray> whileAsked;
            QString integrity, labels;
            dialogs.whenAsked = [&](const dialogs::Prompt& p) {
                if (p.title != dialogs::appTitle())
                    return;
                whileAsked = contents(baseline.keys());
                integrity = fileSql(live, "PRAGMA integrity_check").toString();
                labels = shownLabels(form);
            };
            durable::failStepForTesting(step, EIO);
            click(restore ? form->CmdRestore : form->cmdBackup, restore ? form->txtRestore : form->txtBackup,
                  disk_->path());
            const bool failed = durable::failedForTesting();
            durable::failStepForTesting(0, 0);

            QCOMPARE(dialogs.messages.size(), (restore ? 1 : 0) + (failed ? 1 : 0));
            QCOMPARE(shownLabels(form), restore ? QStringLiteral("lblRestoreComplete") : QStringLiteral("lblBackupComplete"));
            auto after = baseline;
            if (restore) {
                after[live] = before["earlier backup"];
                after[live + ".bak"] = before["live"];
            } else {
                after[backup] = before["live"];
            }
            QCOMPARE(contents(baseline.keys()), after);
            QCOMPARE(QDir(disk_->path()).entryList(QDir::Files), QStringList{"db.mdb"});
            QCOMPARE(QDir(folder_->path()).entryList(QDir::Files),
                     (QStringList{"db.mdb", "db.mdb-journal", "db.mdb.bak"}));
            if (!failed)
                break;
            const QString& told = dialogs.messages.last().text;
            QVERIFY2(told.contains("Input/output error") && told.endsWith(". Retry?"), qPrintable(told));
            QCOMPARE(labels, restore ? QStringLiteral("lblRestoring") : QStringLiteral("lblBacking lblBackup"));
            QCOMPARE(integrity, QStringLiteral("ok"));
            QCOMPARE(whileAsked, baseline);
        }
        // Every step was reached: the copy's creation, write and flush, the links, the renames and
        // the folder sync.
        QVERIFY2(step > (restore ? 8 : 6), qPrintable(QString::number(step)));
    }

    void typedDriveLetters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("drive letter") << "a:" << "A:";
        QTest::newRow("drive letter and backslash") << "e:\\" << "E:\\";
        QTest::newRow("a path") << "/media/usb" << "/media/usb";
        QTest::newRow("a path ending like a drive") << "/media/a:" << "/media/a:";
    }

    void typedDriveLetters()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        for (QLineEdit* box : {form->txtBackup, form->txtRestore}) {
            box->setFocus();
            box->selectAll();
            typeKey(Qt::Key_Delete);
            QTest::keyClicks(box, typed);
            QCOMPARE(box->text(), shown);
        }
    }

    void browse_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("backup, button, chosen") << false << false << true;
        QTest::newRow("restore, F4, cancelled") << true << true << false;
    }

    void browse()
    {
        QFETCH(bool, restore);
        QFETCH(bool, byKey);
        QFETCH(bool, chosen);
        dialogs->answerFolder(chosen ? std::optional(disk_->path()) : std::nullopt);
        frmBackup* form = showScreen<frmBackup>(Screen::Backup);
        QLineEdit* box = restore ? form->txtRestore : form->txtBackup;
        box->setText(folder_->path());
        if (byKey) {
            box->setFocus();
            typeKey(Qt::Key_F4);
        } else {
            QTest::mouseClick(restore ? form->cmdBrowseRestore : form->cmdBrowseBackup, Qt::LeftButton);
        }
        QCOMPARE(dialogs->folders.size(), 1);
        // The chooser opens on the folder the box names.
        QCOMPARE(dialogs->folders[0].startFolder, folder_->path());
        QCOMPARE(box->text(), chosen ? disk_->path() : folder_->path());
        QCOMPARE(dialogs->messages.size(), 0);
    }

    void exitFromTheMenu_data()
    {
        QTest::addColumn<bool>("fromExit");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("the menu's Exit, Yes: Exit ends the program") << true << false;
        QTest::newRow("the menu's Exit, Yes: the close box ends the program") << true << true;
        QTest::newRow("entry 4: Exit returns to a new menu") << false << false;
        QTest::newRow("entry 4: the close box returns to a new menu") << false << true;
    }

    void exitFromTheMenu()
    {
        QFETCH(bool, fromExit);
        QFETCH(bool, closeBox);
        dialogs->answerMessage(dialogs::Answer::Yes);
        auto* menu = showScreen<frmMenu>(Screen::Menu);
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
        QCOMPARE(dialogs->messages.size(), fromExit ? 1 : 0);
    }

private:
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Types a drive into a box and clicks the button that acts on it.
    static void click(QPushButton* button, QLineEdit* box, const QString& folder)
    {
        box->setText(folder);
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }
    // Status labels shown, by name, in screen order.

    static QString shownLabels(frmBackup* form)
    {
        QStringList shown;
        for (QLabel* l : {form->lblBacking, form->lblBackup, form->lblBackupComplete, form->lblRestoring,
                          form->lblRestoreComplete})
            if (l->isVisible())
                shown << l->objectName();
        return shown.join(' ');
    }

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<QTemporaryDir> disk_;
    std::unique_ptr<ScriptedDialogs> dialogs;
    int ends_ = 0;
};

QTEST_MAIN(tst_backup)
#include "tst_backup.moc"
