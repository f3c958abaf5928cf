#include "app/commandline.h"
#include "app/screens.h"
#include "app/startup.h"
#include "printing/printday.h"
#include "program.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
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

// --print-day YYYY-MM-DD --pdf FILE [--column N]: a day's schedule to PDF without a window.
bool wantsPrintDay(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (qstrncmp(argv[i], "--print-day", 11) == 0)
            return true;
    return false;
}

int printDay(int argc, char* argv[])
{
    // Nothing is shown, so no display is needed (cron has none).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Calvora"));
    const QCommandLineOption day(QStringLiteral("print-day"), QStringLiteral("The day to print."), QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("The PDF file to write."), QStringLiteral("FILE"));
    const QCommandLineOption column(QStringLiteral("column"), QStringLiteral("One provider column."), QStringLiteral("N"));
    QCommandLineParser parser;
    parser.addOptions({day, pdf, column});
    QString error;
    std::optional<printday::Request> request;
    if (!parser.parse(QCoreApplication::arguments()))
        error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        error = QStringLiteral("Unexpected argument \"%1\".").arg(parser.positionalArguments().constFirst());
    else
        request = printday::request(parser.value(day), parser.value(pdf),
                                    parser.isSet(column) ? std::optional(parser.value(column)) : std::nullopt, error);
    if (!request) {
        std::fprintf(stderr, "calvora: %s\nUsage: calvora --print-day YYYY-MM-DD --pdf FILE [--column N]\n", qPrintable(error));
        return 2;
    }
    if (!printday::print(*request, error)) {
        std::fprintf(stderr, "calvora: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Calvora"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(CALVORA_VERSION_MAJOR)
                                                .arg(CALVORA_VERSION_MINOR)
                                                .arg(CALVORA_VERSION_PATCH));
    if (wantsPrintDay(argc, argv))
        return printDay(argc, argv);
    if (!displayAvailable()) {
        // --help, --version and a mistyped option are answered without a display.
        QCoreApplication app(argc, argv);
        const commandline::Result options = commandline::parse(app.arguments());
        if (options.ends())
            return commandline::report(options);
        std::fprintf(stderr,
                     "Calvora needs a display and none is available; start it under a virtual "
                     "one with: xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("calvora"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("calvora")));
    // Qt has taken its own options (-platform, -style) out of the arguments by now.
    const commandline::Result options = commandline::parse(app.arguments());
    if (options.ends())
        return commandline::report(options);

    const startup::Begun begun = startup::begin(program::dataFolderPlaces(options.options.dataFolder));
    if (!begun.run)
        return begun.exitCode;

    program::registerScreens();
    screens::show(Screen::Splash);
    return app.exec();
}
