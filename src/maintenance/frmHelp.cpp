#include "maintenance/frmHelp.h"

#include "maintenance/documentbox.h"
#include "platform/colours.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "storage/database.h"
#include "storage/documents.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmHelp::frmHelp()
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(tr("Help File"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    cmdExit = new QPushButton(tr("Exit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    row->addWidget(cmdExit);
    row->addStretch(1);
    layout->addLayout(row);
    Text1 = makeDocumentBox(this, tr("Help text"));
    colours::paint(Text1, colours::Cream);
    layout->addWidget(Text1, 1);
    setTabOrder(cmdExit, Text1);
    connect(cmdExit, &QPushButton::clicked, this, &frmHelp::cmdExit_Click);
    sizeToText(this, Text1);
}

frmHelp::~frmHelp() = default;

bool frmHelp::Form_Load()
{
    try {
        db_ = std::make_unique<storage::Database>(program::bookLocation());
        Text1->setPlainText(storage::readHelp(*db_));
    } catch (const storage::StorageError& e) {
        dialogs::message(this, e.message(), tr("Help File"), dialogs::Buttons::Ok,
                         dialogs::Icon::Critical);
        return false;
    }
    centreOnScreen();
    return true;
}

void frmHelp::cmdExit_Click()
{
    Unload();
}

bool frmHelp::event(QEvent* event)
{
    // Each time the viewer becomes the active window, Exit has the focus.
    if (event->type() == QEvent::WindowActivate)
        cmdExit->setFocus();
    return Form::event(event);
}
