#include "program.h"

#include "app/screens.h"
#include "maintenance/frmBackup.h"
#include "maintenance/frmHelp.h"
#include "maintenance/frmReadme.h"
#include "navigation/CellHistory.h"
#include "navigation/ClientSearch.h"
#include "navigation/EditCommands.h"
#include "navigation/MemoPanel.h"
#include "navigation/MonthCalendar.h"
#include "navigation/PageCommands.h"
#include "navigation/PageNavigation.h"
#include "page/OfflineDesk.h"
#include "page/OtherDesks.h"
#include "page/frmAppt.h"
#include "printing/PrintPanel.h"
#include "setup/frmConfigure.h"
#include "setup/frmSetup.h"

Form* createDayPage()
{
    auto* form = new frmAppt;
    auto* calendar = new MonthCalendar(form);
    form->setCalendar(calendar, calendar);
    new OtherDesks(*form);
    new OfflineDesk(*form);
    new MemoPanel(*form);
    new PageNavigation(*form, *calendar);
    new PageCommands(*form);
    new PrintPanel(*form);
    new EditCommands(*form);
    new CellHistory(*form);
    new ClientSearch(*form);
    if (!form->Form_Load()) {
        delete form;
        return nullptr;
    }
    return form;
}

namespace {

// Makes a screen and loads it; nullptr when it could not open (the user was told why).
template <class T>
Form* loadedScreen()
{
    auto* form = new T;
    if (!form->Form_Load()) {
        delete form;
        return nullptr;
    }
    return form;
}

}  // namespace

namespace program {

void registerScreens()
{
    screens::setFactory(Screen::Appt, createDayPage);
    screens::setFactory(Screen::Setup, loadedScreen<frmSetup>);
    screens::setFactory(Screen::Configure, loadedScreen<frmConfigure>);
    screens::setFactory(Screen::Backup, loadedScreen<frmBackup>);
    screens::setFactory(Screen::Help, loadedScreen<frmHelp>);
    screens::setFactory(Screen::Readme, loadedScreen<frmReadme>);
}

}  // namespace program
