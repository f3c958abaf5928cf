#include "maintenance/frmReadme.h"

#include "app/screens.h"
#include "maintenance/documentbox.h"
#include "platform/colours.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "platform/programfolder.h"
#include "storage/database.h"
#include "storage/settings.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// &HC0FFFF: light yellow.
const QColor kText{255, 255, 192};
}  // namespace

frmReadme::frmReadme()
{
    setObjectName(QStringLiteral("frmReadme"));
    setWindowTitle(tr("Readme/Licence Agreement"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    Command1 = new QPushButton(tr("License Agreement"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->installEventFilter(this);
    row->addWidget(Command1);
    row->addStretch(1);
    layout->addLayout(row);
    Text1 = makeDocumentBox(this, tr("Readme text"));
    colours::paint(Text1, colours::Black, kText);
    layout->addWidget(Text1, 1);
    setTabOrder(Command1, Text1);
    connect(Command1, &QPushButton::clicked, this, &frmReadme::Command1_Click);
    sizeToText(this, Text1);
}

frmReadme::~frmReadme() = default;

bool frmReadme::Form_Load()
{
    try {
        db_ = std::make_unique<storage::Database>(program::bookLocation());
        Text1->setPlainText(storage::readSettings(*db_).readme);
    } catch (const storage::StorageError& e) {
        dialogs::message(this, e.message(), tr("Readme"), dialogs::Buttons::Ok,
                         dialogs::Icon::Critical);
        return false;
    }
    setWindowTitle(tr("Readme"));
    Text1->setAccessibleName(tr("Readme text"));
    Command1->setText(tr("License Agreement"));
    showingLicence_ = false;
    centreOnScreen();
    return true;
}

void frmReadme::Command1_Click()
{
    // Its caption names the page the next press shows: the licence from the readme.
    if (showingLicence_) {
        screens::show(Screen::Menu);
        Unload();
        return;
    }
    QString licence;
    try {
        licence = storage::readSettings(*db_).licence;
    } catch (const storage::StorageError& e) {
        // The readme page stays; the button can be pressed again.
        dialogs::message(this, e.message(), tr("License"), dialogs::Buttons::Ok,
                         dialogs::Icon::Critical);
        return;
    }
    setWindowTitle(tr("License"));
    Text1->setPlainText(licence);
    Text1->setAccessibleName(tr("Licence agreement text"));
    Command1->setText(tr("Main Menu"));
    showingLicence_ = true;
}

void frmReadme::Form_QueryUnload(bool&, UnloadMode mode)
{
    // Closed by the user from either page, the viewer goes back to the menu, as every
    // screen opened from the menu does.
    if (mode == ByUser)
        screens::show(Screen::Menu);
}

bool frmReadme::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Command1 && event->type() == QEvent::KeyPress
        && keys::keyAscii(static_cast<QKeyEvent*>(event)) == 13) {
        Command1_Click();
        return true;
    }
    return Form::eventFilter(watched, event);
}
