#include "app/frmMenu.h"

#include "app/layoutvars.h"
#include "app/screens.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "platform/programfolder.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

Screen screenOf(int entry)
{
    switch (entry) {
    case 1: return Screen::Appt;
    case 2: return Screen::Setup;
    case 3: return Screen::Configure;
    default: return Screen::Backup;
    }
}

}  // namespace

frmMenu::frmMenu()
{
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(tr("Main Menu"));
    setKeyPreview(true);

    auto* v = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Calvora"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont titleFont(QStringLiteral("Arial"), 24);
    titleFont.setBold(true);
    Label1->setFont(titleFont);
    v->addWidget(Label1);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* options = new QVBoxLayout(Frame1);
    QFont optionFont(QStringLiteral("Arial"), 12);
    optionFont.setBold(true);
    auto option = [&](const char* name, const QString& caption) {
        auto* o = new QRadioButton(QStringLiteral("     %1     ").arg(caption), Frame1);
        o->setObjectName(QString::fromLatin1(name));
        o->setFont(optionFont);
        o->installEventFilter(this);
        options->addWidget(o);
        return o;
    };
    Option1 = option("Option1", tr("1.   Appointments"));
    Option2 = option("Option2", tr("2.   Setup Page"));
    Option3 = option("Option3", tr("3.   Customize Templates"));
    Option4 = option("Option4", tr("4.   Back-up / Restore Files"));
    Option6 = option("Option6", tr("6.   Exit"));
    v->addWidget(Frame1);

    Command1 = new QPushButton(tr("&Readme / License Agreement"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &frmMenu::Command1_Click);
    v->addWidget(Command1);

    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Option3);
    setTabOrder(Option3, Option4);
    setTabOrder(Option4, Option6);
    setTabOrder(Option6, Command1);
    Option1->setChecked(true);
    Option1->setFocus();

    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
    centreOnScreen();
}

void frmMenu::chooseOption(int entry)
{
    if (entry == 4)
        ExitAfterBackup = false;
    // A screen that could not open (its message said why) leaves the menu as it was.
    if (screens::show(screenOf(entry)))
        Unload();
}

void frmMenu::chooseByDigit(int entry)
{
    screens::show(screenOf(entry));
}

void frmMenu::Command1_Click()
{
    if (screens::show(Screen::Readme))
        Unload();
}

void frmMenu::Option6_KeyPress(int keyAscii)
{
    if (keyAscii != 13 && keyAscii != 32)
        return;
    if (exiting_)
        return;
    exiting_ = true;
    const dialogs::Answer answer = dialogs::message(
        this,
        tr("Would you like to back-up your files now? Regular files back-up will "
           "minimize loss of data in case your hard disk crashes."),
        tr("Back-up Files"), dialogs::Buttons::YesNo, dialogs::Icon::Question);
    // The day page stores its page as it goes; when that fails the user may choose to stay
    // on it, and then the program does not end.
    screens::unload(Screen::Appt);
    if (screens::loaded(Screen::Appt)) {
        exiting_ = false;
        return;
    }
    if (answer == dialogs::Answer::Yes) {
        ExitAfterBackup = true;
        screens::show(Screen::Backup);
        Unload();
        exiting_ = false;
        return;
    }
    Unload();
    program::end();
}

void frmMenu::Form_KeyDown(int& keyCode, int)
{
    switch (keyCode) {
    case keys::Digit0 + 1: chooseByDigit(1); break;
    case keys::Digit0 + 2: chooseByDigit(2); break;
    case keys::Digit0 + 3: chooseByDigit(3); break;
    case keys::Digit0 + 4: chooseByDigit(4); break;
    case keys::Digit0 + 6: Option6_KeyPress(13); break;
    default: return;
    }
    keyCode = 0;
}

void frmMenu::Form_QueryUnload(bool&, UnloadMode mode)
{
    if (mode != ByCode)
        Option6_KeyPress(13);
}

bool frmMenu::eventFilter(QObject* watched, QEvent* event)
{
    const QList<QRadioButton*> options{Option1, Option2, Option3, Option4, Option6};
    const int which = options.indexOf(qobject_cast<QRadioButton*>(watched));
    if (which < 0)
        return Form::eventFilter(watched, event);
    const int entry = which == 4 ? 6 : which + 1;
    if (event->type() == QEvent::MouseButtonPress) {
        if (entry == 6)
            Option6_KeyPress(13);
        else
            chooseOption(entry);
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int ascii = keys::keyAscii(static_cast<QKeyEvent*>(event));
        if (ascii == 13 || ascii == 32) {
            if (entry == 6)
                Option6_KeyPress(ascii);
            else
                chooseOption(entry);
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}
