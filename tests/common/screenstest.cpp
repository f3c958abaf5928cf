#include "common/screenstest.h"

#include "app/form.h"
#include "app/screens.h"

#include <QCoreApplication>

void closeAllScreens()
{
    for (Screen s : {Screen::Splash, Screen::Menu, Screen::Appt, Screen::Setup, Screen::Configure,
                     Screen::Backup, Screen::Readme, Screen::Help})
        if (Form* f = screens::loaded(s)) {
            f->hide();
            delete f;
        }
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
