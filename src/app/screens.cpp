#include "app/screens.h"

#include "app/form.h"
#include "app/frmMenu.h"
#include "app/frmSplash.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <map>

namespace {

// Stands in for a screen that a later stage of the program builds: a plain window with the
// screen's caption that brings back the menu when it is closed.
class PlaceholderScreen final : public Form {
public:
    explicit PlaceholderScreen(Screen screen)
    {
        setWindowTitle(screens::placeholderCaption(screen));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QCoreApplication::translate("screens", "This screen is not available yet."), this));
        resize(480, 200);
    }

protected:
    void Form_QueryUnload(bool&, UnloadMode mode) override
    {
        if (mode == ByUser)
            screens::show(Screen::Menu);
    }
};

struct Entry {
    screens::Factory factory;
    QPointer<Form> form;
};

std::map<Screen, Entry>& registry()
{
    static std::map<Screen, Entry> r;
    return r;
}

Form* make(Screen screen)
{
    Entry& e = registry()[screen];
    if (e.factory)
        return e.factory();
    switch (screen) {
    case Screen::Splash: return new frmSplash;
    case Screen::Menu: return new frmMenu;
    default: return new PlaceholderScreen(screen);
    }
}

}  // namespace

namespace screens {

void setFactory(Screen screen, Factory factory)
{
    registry()[screen].factory = std::move(factory);
}

Form* loaded(Screen screen)
{
    auto it = registry().find(screen);
    if (it == registry().end() || !it->second.form || it->second.form->isUnloading())
        return nullptr;
    return it->second.form;
}

Form* load(Screen screen)
{
    if (Form* f = loaded(screen))
        return f;
    Form* f = make(screen);
    registry()[screen].form = f;
    return f;
}

Form* show(Screen screen)
{
    Form* f = load(screen);
    if (!f)
        return nullptr;
    f->show();
    f->raise();
    f->activateWindow();
    return f;
}

void unload(Screen screen)
{
    if (Form* f = loaded(screen))
        f->Unload();
}

QString placeholderCaption(Screen screen)
{
    switch (screen) {
    case Screen::Splash: return QString();
    case Screen::Menu: return QCoreApplication::translate("screens", "Main Menu");
    case Screen::Appt: return QCoreApplication::translate("screens", "Appointments");
    case Screen::Setup: return QCoreApplication::translate("screens", "Set-up Page");
    case Screen::Configure: return QCoreApplication::translate("screens", "Configure Page Templates");
    case Screen::Backup: return QCoreApplication::translate("screens", "Back-up /Restore Files");
    case Screen::Readme: return QCoreApplication::translate("screens", "Readme/Licence Agreement");
    case Screen::Help: return QCoreApplication::translate("screens", "Help File");
    }
    return QString();
}

}  // namespace screens
