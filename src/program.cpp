#include "program.h"

#include "app/screens.h"
#include "navigation/MemoPanel.h"
#include "navigation/MonthCalendar.h"
#include "navigation/PageNavigation.h"
#include "page/frmAppt.h"

Form* createDayPage()
{
    auto* form = new frmAppt;
    auto* calendar = new MonthCalendar(form);
    form->setCalendar(calendar, calendar);
    new MemoPanel(*form);
    new PageNavigation(*form, *calendar);
    if (!form->Form_Load()) {
        delete form;
        return nullptr;
    }
    return form;
}

namespace program {

void registerScreens()
{
    screens::setFactory(Screen::Appt, createDayPage);
}

}  // namespace program
