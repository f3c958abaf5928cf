#include "common/screenstest.h"

#include "app/form.h"
#include "app/screens.h"

#include <QCoreApplication>
#include <QTest>

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

Form* showScreen(Screen screen)
{
    Form* form = screens::show(screen);
    if (form && !QTest::qWaitForWindowActive(form))
        qWarning("the screen did not become active");
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return form;
}
