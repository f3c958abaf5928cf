#include "app/commandline.h"
#include "app/language.h"
#include "app/screens.h"
#include "app/startup.h"
#include "platform/programfolder.h"
#include "printing/printday.h"
#include "program.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>

namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(main)
};

// The language asked for with --lang, or the desktop's; a --lang the program does not speak
// is reported by the parse, in the desktop's language.
void speak(int argc, char* argv[])
{
    const std::optional<QString> asked = commandline::languageAsked(argc, argv);
    language::use(asked && language::available().contains(*asked) ? *asked : language::fromEnvironment());
}

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

// --print-day: a day's schedule to PDF without a window, from the book this desk uses (the
// usual database file, the one --data names, or the practice server). Nothing is stored and
// no lock is taken: the printout only reads.
int printDay(const commandline::Options& options)
{
    const program::DataFolder chosen = program::chooseDataFolder(program::dataFolderPlaces(options.dataFolder));
    program::setFolder(chosen.folder);
    if (!chosen.error.isEmpty())
        std::fprintf(stderr, "calvora: %s\n", qPrintable(chosen.error));
    for (const startup::Note& note : startup::settleBook(chosen.folder, options.book, options.server))
        std::fprintf(stderr, "calvora: %s\n", qPrintable(note.text));
    QString error;
    const std::optional<printday::Request> request =
        printday::request(options.printDay, options.pdf, options.column, error);
    if (!request) {
        std::fprintf(stderr, "calvora: %s\n%s\n", qPrintable(error),
                     qPrintable(Tr::tr("Usage: calvora --print-day YYYY-MM-DD --pdf FILE [--column N]")));
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
    // A printout shows nothing, so it needs no display (cron has none).
    const bool printing = commandline::printsDay(argc, argv);
    if (printing) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Its stderr is for its own errors (cron mails what it finds there), not Qt's chatter
        // about a session it does not have.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fprintf(stderr, "%s\n", qPrintable(text));
        });
    }
    if (!printing && !displayAvailable()) {
        // --help, --version and a mistyped option are answered without a display.
        QCoreApplication app(argc, argv);
        speak(argc, argv);
        const commandline::Result options = commandline::parse(app.arguments());
        if (options.ends())
            return commandline::report(options);
        std::fprintf(stderr, "%s\n",
                     qPrintable(Tr::tr("Calvora needs a display and none is available; start it under a virtual "
                                       "one with: xvfb-run -a %1")
                                    .arg(QString::fromLocal8Bit(argv[0]))));
        return 2;
    }
    QApplication app(argc, argv);
    speak(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("calvora"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("calvora")));
    // Qt has taken its own options (-platform, -style) out of the arguments by now.
    const commandline::Result options = commandline::parse(app.arguments());
    if (options.ends())
        return commandline::report(options);
    if (options.options.printDayAsked)
        return printDay(options.options);

    const startup::Begun begun = startup::begin(program::dataFolderPlaces(options.options.dataFolder),
                                                options.options.book, options.options.server);
    if (!begun.run)
        return begun.exitCode;

    program::registerScreens();
    screens::show(Screen::Splash);
    return app.exec();
}
