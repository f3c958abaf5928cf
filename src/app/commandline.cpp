#include "app/commandline.h"

#include "app/language.h"
#include "platform/serveraddress.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace commandline {
namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(commandline)
};

// A group of options and how their values reach Options. A new group of options is one more
// entry in optionSets(); nothing else in the parser changes.
struct OptionSet {
    QList<QCommandLineOption> options;
    // Stores the group's values into `into`; returns what is wrong, or an empty text.
    QString (*read)(const QCommandLineParser& parser, Options& into);
};

OptionSet dataFolderSet()
{
    return {{QCommandLineOption(QStringLiteral("data"),
                                Tr::tr("Keeps db.mdb in <folder> (a shared folder, a USB "
                                       "stick) instead of the usual place."),
                                Tr::tr("folder"))},
            [](const QCommandLineParser& parser, Options& into) -> QString {
                if (!parser.isSet(QStringLiteral("data")))
                    return {};
                const QString folder = parser.value(QStringLiteral("data"));
                const QFileInfo info(folder);
                if (folder.isEmpty() || !info.isDir())
                    return Tr::tr("The data folder '%1' does not exist.").arg(folder);
                into.dataFolder = QDir::cleanPath(info.absoluteFilePath());
                return {};
            }};
}

OptionSet bookSet()
{
    return {{QCommandLineOption(QStringLiteral("server"),
                                Tr::tr("Keeps the appointment book on the practice server "
                                       "<conninfo> (a libpq connection string or URI, such as "
                                       "postgresql://calvora@frontdesk/practice), from this "
                                       "start on: it is remembered in calvora.conf in the "
                                       "data folder. Never put a password in it."),
                                Tr::tr("conninfo")),
             QCommandLineOption(QStringLiteral("file"),
                                Tr::tr("Keeps the appointment book in the file db.mdb again, "
                                       "from this start on."))},
            [](const QCommandLineParser& parser, Options& into) -> QString {
                const bool server = parser.isSet(QStringLiteral("server"));
                if (server && parser.isSet(QStringLiteral("file")))
                    return Tr::tr("--server and --file choose two places for the book; give one.");
                if (parser.isSet(QStringLiteral("file")))
                    into.book = Options::Book::File;
                if (!server)
                    return {};
                into.book = Options::Book::Server;
                into.server = parser.value(QStringLiteral("server")).trimmed();
                QString why;
                const std::optional<program::ServerAddress> address =
                    program::readServerAddress(into.server, why);
                if (!address)
                    return Tr::tr("The connection string is not valid: %1.").arg(why);
                if (address->hasPassword)
                    return Tr::tr("The connection string holds a password, and Calvora never "
                                  "stores one: keep it in ~/.pgpass, PGPASSWORD or a PGSERVICE "
                                  "entry, or type it when the program asks.");
                return {};
            }};
}

OptionSet printDaySet()
{
    return {{QCommandLineOption(QStringLiteral("print-day"),
                                Tr::tr("Prints the schedule of <date> (YYYY-MM-DD) into the "
                                       "PDF file given with --pdf, without a window, and ends."),
                                Tr::tr("date")),
             QCommandLineOption(QStringLiteral("pdf"), Tr::tr("The PDF file --print-day writes."),
                                Tr::tr("file")),
             QCommandLineOption(QStringLiteral("column"),
                                Tr::tr("With --print-day: only provider column <n>."),
                                Tr::tr("n"))},
            [](const QCommandLineParser& parser, Options& into) -> QString {
                const bool day = parser.isSet(QStringLiteral("print-day"));
                if (!day) {
                    for (const char* other : {"pdf", "column"})
                        if (parser.isSet(QString::fromLatin1(other)))
                            return Tr::tr("--%1 goes with --print-day.").arg(QString::fromLatin1(other));
                    return {};
                }
                into.printDayAsked = true;
                into.printDay = parser.value(QStringLiteral("print-day"));
                into.pdf = parser.value(QStringLiteral("pdf"));
                if (parser.isSet(QStringLiteral("column")))
                    into.column = parser.value(QStringLiteral("column"));
                return {};
            }};
}

OptionSet languageSet()
{
    return {{QCommandLineOption(QStringLiteral("lang"),
                                Tr::tr("Speaks <language> (%1) for this run, whatever the desktop's "
                                       "language is.")
                                    .arg(language::available().join(QStringLiteral(", "))),
                                Tr::tr("language"))},
            [](const QCommandLineParser& parser, Options&) -> QString {
                if (!parser.isSet(QStringLiteral("lang")))
                    return {};
                const QString asked = parser.value(QStringLiteral("lang"));
                if (language::available().contains(asked))
                    return {};
                return Tr::tr("Calvora does not speak the language '%1'; it speaks %2.")
                    .arg(asked, language::available().join(QStringLiteral(", ")));
            }};
}

// Made at each parse, so that the texts are in the language in use.
QList<OptionSet> optionSets()
{
    return {dataFolderSet(), bookSet(), printDaySet(), languageSet()};
}

QString programName(const QStringList& arguments)
{
    return arguments.isEmpty() ? QStringLiteral("calvora") : QFileInfo(arguments.first()).fileName();
}

}  // namespace

Result parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        Tr::tr("Calvora: an appointment book for professional practices and small "
               "business offices."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  Tr::tr("Shows these options and ends."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     Tr::tr("Shows the program's version and ends."));
    parser.addOption(help);
    parser.addOption(version);
    const QList<OptionSet> sets = optionSets();
    for (const OptionSet& set : sets)
        parser.addOptions(set.options);

    Result result;
    const QString name = programName(arguments);
    auto error = [&](const QString& what) {
        result.outcome = Result::Outcome::Error;
        result.text = Tr::tr("%1: %2\nTry '%1 --help' for the options.").arg(name, what);
        return result;
    };

    if (!parser.parse(arguments))
        return error(parser.errorText());
    if (parser.isSet(help)) {
        result.outcome = Result::Outcome::Help;
        // The usage line names the program as it was called, without its folder.
        result.text = parser.helpText();
        result.text.replace(0, result.text.indexOf(QLatin1Char('\n')),
                            Tr::tr("Usage: %1 [options]").arg(name));
        return result;
    }
    if (parser.isSet(version)) {
        result.outcome = Result::Outcome::Version;
        result.text = QStringLiteral("Calvora %1.%2.%3\n")
                          .arg(CALVORA_VERSION_MAJOR)
                          .arg(CALVORA_VERSION_MINOR)
                          .arg(CALVORA_VERSION_PATCH);
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return error(Tr::tr("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    for (const OptionSet& set : sets)
        if (const QString wrong = set.read(parser, result.options); !wrong.isEmpty())
            return error(wrong);
    return result;
}

std::optional<QString> languageAsked(int argc, char* argv[])
{
    std::optional<QString> asked;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--lang") == 0 && i + 1 < argc)
            asked = QString::fromLocal8Bit(argv[++i]);
        else if (qstrncmp(argv[i], "--lang=", 7) == 0)
            asked = QString::fromLocal8Bit(argv[i] + 7);
    }
    return asked;
}

bool printsDay(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--print-day") == 0 || qstrncmp(argv[i], "--print-day=", 12) == 0)
            return true;
    return false;
}

int report(const Result& result)
{
    const QByteArray text = result.text.toLocal8Bit();
    std::FILE* out = result.outcome == Result::Outcome::Error ? stderr : stdout;
    std::fputs(text.constData(), out);
    if (!text.endsWith('\n'))
        std::fputc('\n', out);
    std::fflush(out);
    return result.exitCode();
}

}  // namespace commandline
