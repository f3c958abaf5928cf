#include "app/form.h"
#include "app/screens.h"
#include "program.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts with a long message when it finds no display; say it in one line instead.
bool displayAvailable()
{
#if defined(Q_OS_LINUX)
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "Calvora needs a display and none is available; start it under a virtual "
                     "one with: xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Calvora"));
    QApplication::setApplicationVersion(QStringLiteral("3.0.0"));

    program::registerScreens();
    screens::show(Screen::Splash);
    return app.exec();
}
