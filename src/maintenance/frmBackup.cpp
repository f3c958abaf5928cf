#include "maintenance/frmBackup.h"

#include "app/layoutvars.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "platform/programfolder.h"
#include "storage/database.h"
#include "storage/file/databasefile.h"
#include "storage/server/server.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace {

// A drive letter and its colon, with at most one separator after it.
bool isDriveLetter(const QString& text)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]?$"));
    return drive.match(text).hasMatch();
}

QLabel* label(QWidget* parent, const char* name, const QString& text, bool shown = true)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    // A hidden status label keeps its room, so the screen does not jump as they come and go.
    QSizePolicy policy = l->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    l->setSizePolicy(policy);
    l->setVisible(shown);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QString withoutStop(QString text)
{
    text = text.trimmed();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString leftOutText(const storage::RestoreResult& loaded, const QString& source)
{
    return frmBackup::tr("%n page(s) of %1 is/are on the server now.", nullptr, loaded.pages)
               .arg(QDir::toNativeSeparators(source))
           + QLatin1Char(' ')
           + frmBackup::tr("%n older row(s) of a date that a newer row already holds was/were left out: the "
                           "server keeps one page per date, the newest, as the program reads it.",
                           nullptr, loaded.leftOut);
}

}  // namespace

QString driveFolder(const QString& driveText)
{
    QString folder = driveText.trimmed();
#if defined(Q_OS_WIN)
    if (isDriveLetter(folder))
        return folder.left(2) + QLatin1Char('/');
#endif
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    return folder;
}

frmBackup::frmBackup()
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(tr("Back-up /Restore Files"));
    setKeyPreview(true);

    Label1 = label(this, "Label1",
                   tr("To back-up files, please specify destination disk drive ( e.g. "
                                  "A: ),  and click Backup Button."));
    Label1->setWordWrap(true);
    txtBackup = new QLineEdit(QStringLiteral("A:"), this);
    txtBackup->setObjectName(QStringLiteral("txtBackup"));
    txtBackup->setAccessibleName(tr("Back-up drive or folder"));
    cmdBrowseBackup = button(this, "cmdBrowseBackup", QStringLiteral("\u2026"));
    cmdBrowseBackup->setAccessibleName(tr("Choose the back-up folder"));
    cmdBackup = button(this, "cmdBackup", tr("&BackUp"));
    lblBacking = label(this, "lblBacking", tr("Backing up files to"), false);
    lblBackup = label(this, "lblBackup", QString());
    lblBackupComplete =
        label(this, "lblBackupComplete", tr("Files back-up completed successfully."), false);

    Label4 = label(this, "Label4",
                   tr("To restore files after hard disk crash or program reinstallation, "
                                  "please specify source disk drive ( e.g. A: ),  and click Restore "
                                  "Button."));
    Label4->setWordWrap(true);
    txtRestore = new QLineEdit(QStringLiteral("A:"), this);
    txtRestore->setObjectName(QStringLiteral("txtRestore"));
    txtRestore->setAccessibleName(tr("Restore drive or folder"));
    cmdBrowseRestore = button(this, "cmdBrowseRestore", QStringLiteral("\u2026"));
    cmdBrowseRestore->setAccessibleName(tr("Choose the folder to restore from"));
    CmdRestore = button(this, "CmdRestore", tr("&Restore"));
    lblRestoring = label(this, "lblRestoring", tr("Restoring files to program..."), false);
    lblRestoreComplete =
        label(this, "lblRestoreComplete", tr("Files restored successfully."), false);
    CmdExit = button(this, "CmdExit", tr("&Exit"));

    // The "…" buttons stay out of the Tab chain of the five controls; F4 in a drive box
    // opens the same chooser, as it drops down a list.
    for (QPushButton* b : {cmdBrowseBackup, cmdBrowseRestore}) {
        b->setFocusPolicy(Qt::ClickFocus);
        b->setToolTip(tr("Choose a folder (F4)"));
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("\u2026")) + 24);
    }

    // A status line under each drive box: the work under way, or its end (never both).
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(0, 1);
    grid->addWidget(Label1, 0, 0, 1, 3);
    grid->addWidget(txtBackup, 1, 0);
    grid->addWidget(cmdBrowseBackup, 1, 1);
    grid->addWidget(cmdBackup, 1, 2);
    auto* backing = new QHBoxLayout;
    backing->addWidget(lblBacking);
    backing->addWidget(lblBackup, 1);
    grid->addLayout(backing, 2, 0, 1, 3);
    grid->addWidget(lblBackupComplete, 2, 0, 1, 3);
    grid->setRowMinimumHeight(3, 16);
    grid->addWidget(Label4, 4, 0, 1, 3);
    grid->addWidget(txtRestore, 5, 0);
    grid->addWidget(cmdBrowseRestore, 5, 1);
    grid->addWidget(CmdRestore, 5, 2);
    grid->addWidget(lblRestoring, 6, 0, 1, 3);
    grid->addWidget(lblRestoreComplete, 6, 0, 1, 3);
    grid->setRowMinimumHeight(7, 16);
    grid->addWidget(CmdExit, 8, 2);

    setTabOrder(txtBackup, cmdBackup);
    setTabOrder(cmdBackup, txtRestore);
    setTabOrder(txtRestore, CmdRestore);
    setTabOrder(CmdRestore, CmdExit);

    connect(cmdBackup, &QPushButton::clicked, this, &frmBackup::cmdBackup_Click);
    connect(CmdRestore, &QPushButton::clicked, this, &frmBackup::CmdRestore_Click);
    connect(CmdExit, &QPushButton::clicked, this, &frmBackup::cmdExit_Click);
    connect(cmdBrowseBackup, &QPushButton::clicked, this,
            [this] { browse(txtBackup, tr("Back up to the folder")); });
    connect(cmdBrowseRestore, &QPushButton::clicked, this,
            [this] { browse(txtRestore, tr("Restore from the folder")); });
    // A drive letter typed in lower case arrives in upper case; a path stays as typed.
    for (QLineEdit* box : {txtBackup, txtRestore})
        connect(box, &QLineEdit::textEdited, box, [box](const QString& text) {
            if (isDriveLetter(text) && text.at(0).isLower()) {
                const int cursor = box->cursorPosition();
                box->setText(text.at(0).toUpper() + text.mid(1));
                box->setCursorPosition(cursor);
            }
        });

    txtBackup->setFocus();
    setFixedSize(sizeHint().expandedTo(QSize(560, 0)));
    centreOnScreen();
}

frmBackup::~frmBackup() = default;

bool frmBackup::Form_Load()
{
    connectData();
    return true;
}

void frmBackup::connectData()
{
    try {
        Data1 = std::make_unique<storage::Database>(program::bookLocation());
    } catch (const storage::StorageError&) {
        // A missing or damaged file is told when the user backs it up; a restore mends it.
        Data1.reset();
    }
}

void frmBackup::releaseData()
{
    Data1.reset();
}

bool frmBackup::attempt(const std::function<void()>& step)
{
    for (;;) {
        try {
            step();
            return true;
        } catch (const storage::StorageError& e) {
            const dialogs::Answer answer = dialogs::message(
                this, tr("%1. Retry?").arg(withoutStop(e.message())), dialogs::appTitle(),
                dialogs::Buttons::YesNo, dialogs::Icon::Question);
            if (answer != dialogs::Answer::Yes)
                return false;
        }
    }
}

void frmBackup::ChDrive(const QString& driveText)
{
    const QString text = driveText.trimmed();
    if (text.isEmpty())
        throw storage::StorageError(tr("No drive or folder is given"));
#if !defined(Q_OS_WIN)
    if (isDriveLetter(text))
        throw storage::StorageError(
            tr("There is no drive %1 on this computer; give the folder of the disk, "
                           "such as /media/usb")
                .arg(text.left(2).toUpper()));
#endif
    const QString folder = driveFolder(text);
    if (!QFileInfo(folder).isDir())
        throw storage::StorageError(isDriveLetter(text)
            ? tr("The drive %1 is not ready or does not exist").arg(text.left(2).toUpper())
            : tr("The folder %1 cannot be found").arg(QDir::toNativeSeparators(folder)));
}

bool frmBackup::closeOtherScreens(std::initializer_list<Screen> list)
{
    bool closed = true;
    for (Screen s : list) {
        screens::unload(s);
        // The day page stays when its page could not be stored and the user chose to stay:
        // then the rest stay open too, as they were.
        if (screens::loaded(s)) {
            closed = false;
            break;
        }
    }
    // Unloaded screens go at once, and with them their connections to the file.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The window that had the keyboard may have been one of them.
    activateWindow();
    return closed;
}

void frmBackup::showProgress()
{
    // The copy holds the screen until it ends: the labels are painted before it starts.
    repaint();
}

void frmBackup::cmdBackup_Click()
{
    connectData();
    lblRestoring->hide();
    lblRestoreComplete->hide();
    const QString drive = txtBackup->text();
    auto abandon = [this] {
        unsetCursor();
        lblBackup->hide();
        lblBacking->hide();
        lblBackupComplete->hide();
    };
    if (!attempt([&] { ChDrive(drive); }))
        return abandon();

    // A backup without the page on screen would not be the book the user sees. The day page
    // goes first, as it alone may refuse to go.
    if (!closeOtherScreens({Screen::Appt, Screen::Menu, Screen::Setup, Screen::Splash}))
        return abandon();
    releaseData();
    const QString source = program::databasePath();
    const QString destination = QDir(driveFolder(drive)).filePath(QStringLiteral("db.mdb"));
    // An earlier backup's success is not this one's.
    lblBackupComplete->hide();
    lblBacking->show();
    lblBackup->setText(drive);
    lblBackup->show();
    setCursor(Qt::WaitCursor);
    showProgress();
    // On a server the backup is written from one snapshot of the server's book.
    const program::BookLocation book = program::bookLocation();
    if (!attempt([&] {
            if (book.onServer())
                storage::backupServer(book.server, destination);
            else
                storage::backupDatabase(source, destination);
        }))
        return abandon();
    unsetCursor();
    lblBackup->hide();
    lblBacking->hide();
    lblBackupComplete->show();
    connectData();
}

void frmBackup::CmdRestore_Click()
{
    lblBackup->hide();
    lblBacking->hide();
    lblBackupComplete->hide();
    const dialogs::Answer answer = dialogs::message(
        this,
        tr("Existing database will be replaced!  Please make sure you have the correct "
                       "data disk in the source drive. Do you wish to proceed?"),
        tr("Restore files"), dialogs::Buttons::YesNo, dialogs::Icon::Critical,
        dialogs::Answer::No);
    if (answer != dialogs::Answer::Yes)
        return;

    const QString drive = txtRestore->text();
    auto abandon = [this] {
        unsetCursor();
        lblRestoring->hide();
        lblRestoreComplete->hide();
        connectData();
    };
    if (!attempt([&] { ChDrive(drive); }))
        return abandon();

    // A screen still open would go on writing into the file that the restore replaces.
    if (!closeOtherScreens({Screen::Appt, Screen::Configure, Screen::Help, Screen::Menu, Screen::Readme,
                            Screen::Setup, Screen::Splash}))
        return abandon();
    releaseData();
    const QString source = QDir(driveFolder(drive)).filePath(QStringLiteral("db.mdb"));
    const QString destination = program::databasePath();
    setCursor(Qt::WaitCursor);
    lblRestoring->show();
    lblRestoreComplete->hide();
    showProgress();
    const program::BookLocation book = program::bookLocation();
    storage::RestoreResult loaded;
    if (!attempt([&] {
            if (book.onServer())
                loaded = storage::restoreServer(source, book.server);
            else
                storage::restoreDatabase(source, destination);
        }))
        return abandon();
    lblRestoreComplete->show();
    lblRestoring->hide();
    unsetCursor();
    connectData();
    // The server keeps one page per date: the user hears of the older rows it did not take.
    if (loaded.leftOut > 0)
        dialogs::message(this, leftOutText(loaded, source), dialogs::appTitle(), dialogs::Buttons::Ok,
                         dialogs::Icon::Information);
}

void frmBackup::cmdExit_Click()
{
    if (ExitAfterBackup) {
        Unload();
        program::end();
        return;
    }
    screens::show(Screen::Menu);
    Unload();
}

void frmBackup::browse(QLineEdit* box, const QString& title)
{
    const QString current = driveFolder(box->text());
    const QString start = !current.isEmpty() && QFileInfo(current).isDir() ? current : QDir::homePath();
    if (const std::optional<QString> chosen = dialogs::folder(this, title, start)) {
        box->setText(QDir::toNativeSeparators(*chosen));
        box->setFocus();
    }
}

void frmBackup::Form_KeyDown(int& keyCode, int)
{
    QWidget* focus = focusWidget();
    if (keyCode == keys::F4 && (focus == txtBackup || focus == txtRestore)) {
        keyCode = 0;
        (focus == txtBackup ? cmdBrowseBackup : cmdBrowseRestore)->click();
        return;
    }
    // Up and Down move between the controls, top to bottom.
    struct Move {
        QWidget* from;
        QWidget* up;
        QWidget* down;
    };
    const Move moves[] = {
        {txtBackup, nullptr, cmdBackup},
        {cmdBackup, txtBackup, txtRestore},
        {txtRestore, cmdBackup, CmdRestore},
        {CmdRestore, txtRestore, CmdExit},
        {CmdExit, CmdRestore, nullptr},
    };
    if (keyCode != keys::Up && keyCode != keys::Down)
        return;
    for (const Move& m : moves)
        if (m.from == focus) {
            if (QWidget* to = keyCode == keys::Up ? m.up : m.down)
                to->setFocus();
            keyCode = 0;
            return;
        }
}

void frmBackup::Form_KeyPress(int& keyAscii)
{
    if (keyAscii != keys::Enter)
        return;
    QWidget* focus = focusWidget();
    if (focus == txtBackup) {
        cmdBackup->setFocus();
    } else if (focus == cmdBackup) {
        keyAscii = 0;
        cmdBackup_Click();
        return;
    } else if (focus == CmdRestore) {
        keyAscii = 0;
        CmdRestore_Click();
        return;
    } else {
        return;
    }
    keyAscii = 0;
}

void frmBackup::Form_QueryUnload(bool&, UnloadMode mode)
{
    if (mode != ByCode)
        cmdExit_Click();
}
