#include "app/commandline.h"

#include "platform/serveraddress.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace commandline {
namespace {

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
                                QStringLiteral("Keeps db.mdb in <folder> (a shared folder, a USB "
                                               "stick) instead of the usual place."),
                                QStringLiteral("folder"))},
            [](const QCommandLineParser& parser, Options& into) -> QString {
                if (!parser.isSet(QStringLiteral("data")))
                    return {};
                const QString folder = parser.value(QStringLiteral("data"));
                const QFileInfo info(folder);
                if (folder.isEmpty() || !info.isDir())
                    return QStringLiteral("The data folder '%1' does not exist.").arg(folder);
                into.dataFolder = QDir::cleanPath(info.absoluteFilePath());
                return {};
            }};
}

OptionSet bookSet()
{
    return {{QCommandLineOption(QStringLiteral("server"),
                                QStringLiteral("Keeps the appointment book on the practice server "
                                               "<conninfo> (a libpq connection string or URI, such as "
                                               "postgresql://calvora@frontdesk/practice), from this "
                                               "start on: it is remembered in calvora.conf in the "
                                               "data folder. Never put a password in it."),
                                QStringLiteral("conninfo")),
             QCommandLineOption(QStringLiteral("file"),
                                QStringLiteral("Keeps the appointment book in the file db.mdb again, "
                                               "from this start on."))},
            [](const QCommandLineParser& parser, Options& into) -> QString {
                const bool server = parser.isSet(QStringLiteral("server"));
                if (server && parser.isSet(QStringLiteral("file")))
                    return QStringLiteral("--server and --file choose two places for the book; give one.");
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
                    return QStringLiteral("The connection string is not valid: %1.").arg(why);
                if (address->hasPassword)
                    return QStringLiteral("The connection string holds a password, and Calvora never "
                                          "stores one: keep it in ~/.pgpass, PGPASSWORD or a PGSERVICE "
                                          "entry, or type it when the program asks.");
                return {};
            }};
}

OptionSet printDaySet()
{
    return {{QCommandLineOption(QStringLiteral("print-day"),
                                QStringLiteral("Prints the schedule of <date> (YYYY-MM-DD) into the "
                                               "PDF file given with --pdf, without a window, and ends."),
                                QStringLiteral("date")),
             QCommandLineOption(QStringLiteral("pdf"), QStringLiteral("The PDF file --print-day writes."),
                                QStringLiteral("file")),
             QCommandLineOption(QStringLiteral("column"),
                                QStringLiteral("With --print-day: only provider column <n>."),
                                QStringLiteral("n"))},
            [](const QCommandLineParser& parser, Options& into) -> QString {
                const bool day = parser.isSet(QStringLiteral("print-day"));
                if (!day) {
                    for (const char* other : {"pdf", "column"})
                        if (parser.isSet(QString::fromLatin1(other)))
                            return QStringLiteral("--%1 goes with --print-day.").arg(QString::fromLatin1(other));
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

const QList<OptionSet>& optionSets()
{
    static const QList<OptionSet> sets{dataFolderSet(), bookSet(), printDaySet()};
    return sets;
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
        QStringLiteral("Calvora: an appointment book for professional practices and small "
                       "business offices."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows these options and ends."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the program's version and ends."));
    parser.addOption(help);
    parser.addOption(version);
    for (const OptionSet& set : optionSets())
        parser.addOptions(set.options);

    Result result;
    const QString name = programName(arguments);
    auto error = [&](const QString& what) {
        result.outcome = Result::Outcome::Error;
        result.text = QStringLiteral("%1: %2\nTry '%1 --help' for the options.").arg(name, what);
        return result;
    };

    if (!parser.parse(arguments))
        return error(parser.errorText());
    if (parser.isSet(help)) {
        result.outcome = Result::Outcome::Help;
        // The usage line names the program as it was called, without its folder.
        result.text = parser.helpText();
        result.text.replace(0, result.text.indexOf(QLatin1Char('\n')),
                            QStringLiteral("Usage: %1 [options]").arg(name));
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
        return error(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    for (const OptionSet& set : optionSets())
        if (const QString wrong = set.read(parser, result.options); !wrong.isEmpty())
            return error(wrong);
    return result;
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
