#pragma once
// The backup and restore screen: copies db.mdb to a removable disk (or any folder) and back.
#include "app/form.h"
#include "app/screens.h"

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace storage {
class Database;
}

class frmBackup : public Form {
    Q_OBJECT
public:
    frmBackup();
    ~frmBackup() override;

    // Connects Data1 to the program's database. The screen opens (true) even where the
    // database cannot be opened: that is when a restore is needed most.
    bool Form_Load();

    QLabel* Label1;
    QLineEdit* txtBackup;
    QPushButton* cmdBrowseBackup;
    QPushButton* cmdBackup;
    QLabel* lblBacking;
    QLabel* lblBackup;
    QLabel* lblBackupComplete;
    QLabel* Label4;
    QLineEdit* txtRestore;
    QPushButton* cmdBrowseRestore;
    QPushButton* CmdRestore;
    QLabel* lblRestoring;
    QLabel* lblRestoreComplete;
    QPushButton* CmdExit;

    void cmdBackup_Click();
    void CmdRestore_Click();
    void cmdExit_Click();

    // Whether Data1 holds its connection to the database.
    bool dataConnected() const { return Data1 != nullptr; }

protected:
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_KeyPress(int& keyAscii) override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;

private:
    void connectData();
    void releaseData();
    // Runs one step; a failure asks "<what went wrong>. Retry?", and Yes runs the same step
    // again. False when the user answered No.
    bool attempt(const std::function<void()>& step);
    // Fails as a missing drive does when the text names no folder that can be reached.
    static void ChDrive(const QString& driveText);
    // Unloads the screens in turn; false when one stays open (the rest are then left as well).
    bool closeOtherScreens(std::initializer_list<Screen> screens);
    void browse(QLineEdit* box, const QString& title);
    // Shows what the labels say now, before the copy holds the screen.
    void showProgress();

    std::unique_ptr<storage::Database> Data1;
};

// The folder a drive text names: a drive letter with its colon is the drive's root on a
// system with drive letters; a trailing slash or backslash is dropped, so the file name
// follows one separator.
QString driveFolder(const QString& driveText);
