#include "navigation/PageCommands.h"

#include "app/language.h"
#include "app/screens.h"
#include "page/FlexGrid.h"
#include "page/daycalendar.h"
#include "page/frmAppt.h"
#include "platform/colours.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "platform/paintlock.h"
#include "platform/programfolder.h"
#include "platform/serveraddress.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QDir>
#include <QIcon>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>

namespace {

const char* const kHomePage = "https://calvora.example.org";

// The four demo pages in the order F2 shows them.
const QDate kDemoRing[] = {QDate(1998, 10, 10), QDate(1998, 11, 11), QDate(1998, 9, 9), QDate(1998, 8, 8)};
constexpr int kDemoPages = int(std::size(kDemoRing));

// The desktop's icon of each button; where the desktop has none, the nearest picture the
// style has.
struct ToolButton {
    const char* key;      // its Key, and its caption in English
    const char* command;  // the objectName of the menu command it runs
    const char* themeIcon;
    QStyle::StandardPixmap fallback;
};
const ToolButton kToolButtons[] = {
    {QT_TRANSLATE_NOOP("PageCommands", "Open"), "mnuPageOpen", "document-open", QStyle::SP_DialogOpenButton},
    {QT_TRANSLATE_NOOP("PageCommands", "Print"), "mnuPagePrint", "document-print", QStyle::SP_FileDialogDetailedView},
    {QT_TRANSLATE_NOOP("PageCommands", "Cut"), "mnuEditCut", "edit-cut", QStyle::SP_DialogCloseButton},
    {QT_TRANSLATE_NOOP("PageCommands", "Copy"), "mnuEditCopy", "edit-copy", QStyle::SP_FileLinkIcon},
    {QT_TRANSLATE_NOOP("PageCommands", "Paste"), "mnuEditPaste", "edit-paste", QStyle::SP_DialogOkButton},
    {QT_TRANSLATE_NOOP("PageCommands", "Delete"), "mnuEditDelete", "edit-delete", QStyle::SP_TrashIcon},
    {QT_TRANSLATE_NOOP("PageCommands", "Search"), "mnuSearchClient", "edit-find", QStyle::SP_FileDialogContentsView},
    {QT_TRANSLATE_NOOP("PageCommands", "Help"), "mnuHelpContent", "help-contents", QStyle::SP_MessageBoxQuestion},
};

}  // namespace

PageCommands::PageCommands(frmAppt& form) : QObject(&form), form_(form)
{
    setObjectName(QStringLiteral("PageCommands"));
    cmdDemo = new QPushButton(tr("Demo %1").arg(1), &form);
    cmdDemo->setObjectName(QStringLiteral("cmdDemo"));
    cmdDemo->setFocusPolicy(Qt::NoFocus);
    connect(cmdDemo, &QPushButton::clicked, this, &PageCommands::cmdDemo_Click);
    buildToolBar();

    form.addCommand(form.mnuHelp, "mnuHelpAbout", tr("About"), [this] { mnuHelpAbout_Click(); });
    form.addCommand(form.mnuHelp, "mnuHelpContent", tr("Contents\tF1"), [this] { mnuHelpContent_Click(); });
    form.addKeyHandler([this](int keyCode, int shift) { return handleKey(keyCode, shift); });
}

void PageCommands::buildToolBar()
{
    tbToolBar = new QToolBar(&form_);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setAccessibleName(tr("Toolbar"));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setIconSize(QSize(16, 16));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const QStyle* style = tbToolBar->style();
    for (const ToolButton& b : kToolButtons) {
        const QString key = QString::fromLatin1(b.key);
        const QIcon icon = QIcon::fromTheme(QString::fromLatin1(b.themeIcon), style->standardIcon(b.fallback));
        const QString caption = tr(b.key);
        QAction* button = tbToolBar->addAction(icon, caption);
        button->setObjectName(key);
        button->setProperty("Key", key);
        button->setToolTip(caption);
        connect(button, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }
    tbToolBar->addSeparator();
    tbToolBar->addWidget(cmdDemo);
    // Under the menu bar, above the page.
    if (auto* root = qobject_cast<QBoxLayout*>(form_.layout()))
        root->insertWidget(0, tbToolBar);
}

bool PageCommands::handleKey(int keyCode, int shift)
{
    if (shift != 0)
        return false;
    switch (keyCode) {
    case keys::F1: mnuHelpContent_Click(); return true;
    case keys::F2: cmdDemo_Click(); return true;
    case keys::F3: flipPageLock(); return true;
    // F5 has nothing to refresh: the page on screen is always the stored one.
    case keys::F5: return true;
    default: return false;
    }
}

void PageCommands::tbToolBar_ButtonClick(const QString& key)
{
    for (const ToolButton& b : kToolButtons) {
        if (key != QLatin1String(b.key))
            continue;
        QAction* command = form_.findChild<QAction*>(QString::fromLatin1(b.command));
        if (!command)
            return;
        // A command that fails tells the user itself; the toolbar goes on.
        try {
            command->trigger();
        } catch (const std::exception&) {
        }
        return;
    }
}

void PageCommands::flipPageLock()
{
    form_.Check2->setChecked(!form_.Check2->isChecked());
    form_.Check2_Click();
}

void PageCommands::cmdDemo_Click()
{
    const QDate demo = kDemoRing[nextDemo_];
    DayCalendar& calendar = *form_.calendar();
    PaintLock lock(&form_);
    bool& updating = calendar.Updating();
    updating = true;
    // Stepping from one demo page to the next stores nothing of the demo page; any other
    // page on screen (the user's own, whatever the caption says) is saved first.
    const bool save = nextDemo_ == 0 || form_.PageDate != shownDemo_;
    calendar.setDayColour(calendar.SelDay(), colours::Cream);
    if (form_.switchPage(demo, save)) {
        nextDemo_ = (nextDemo_ + 1) % kDemoPages;
        cmdDemo->setText(tr("Demo %1").arg(nextDemo_ + 1));
        form_.PageDate = demo;
        shownDemo_ = demo;
        calendar.DrawMonth(demo);
        form_.showDateCaptions(demo);
    }
    updating = false;
    calendar.setDayColour(calendar.SelDay(), colours::LightGrey);
    form_.Grid1->setFocus();
}

QString PageCommands::aboutText(const QString& connectedTo)
{
    const program::BookLocation book = program::bookLocation();
    // Which book this desk works on: the file, or the practice server and its database, and
    // of the servers its connection text lists the one it reached.
    QString inUse = book.onServer()
        ? tr("Database in use: %1").arg(program::describeServer(book.server))
        : tr("Database file in use: %1").arg(QDir::toNativeSeparators(book.file));
    if (!connectedTo.isEmpty())
        inUse += QLatin1Char('\n') + tr("Connected to: %1").arg(connectedTo);
    return tr("Calvora Version %1.%2.%3.  Please visit Norlyn Software's Homepage at  %4  to find "
              "out about the latest software updates and bug fixes.\n\n%5\n\n%6")
        .arg(CALVORA_VERSION_MAJOR)
        .arg(CALVORA_VERSION_MINOR)
        .arg(CALVORA_VERSION_PATCH)
        .arg(QString::fromLatin1(kHomePage), tr("Language: %1").arg(language::nativeName(language::current())),
             inUse);
}

void PageCommands::mnuHelpAbout_Click()
{
    dialogs::message(&form_, aboutText(form_.database().connectedTo()), dialogs::appTitle());
}

void PageCommands::mnuHelpContent_Click()
{
    screens::show(Screen::Help);
}
