#pragma once
// The program's command line: what the user asked for when starting it. Parsed before any
// window opens, so that a mistyped option ends the program with a clear line instead.
#include <QString>
#include <QStringList>
#include <optional>

namespace commandline {

// What a run of the program is asked to do, as read from its options.
struct Options {
    QString dataFolder;  // --data: the folder of db.mdb (absolute); empty for the usual choice
    // --server CONNINFO: keep the book on that practice server from now on; --file: in db.mdb
    // again. Neither: where calvora.conf says.
    enum class Book { Remembered, Server, File };
    Book book = Book::Remembered;
    QString server;
    // --print-day YYYY-MM-DD --pdf FILE [--column N]: a day's schedule to PDF, no window. The
    // values as given; the printout reads and checks them.
    bool printDayAsked = false;
    QString printDay;
    QString pdf;
    std::optional<QString> column;
};

// True when the arguments ask for a printout without a window: decided before the
// application is made, since such a run needs no display.
bool printsDay(int argc, char* argv[]);

// The language --lang asks for (the last one given), read before the parse so that the
// parse's own texts, --help among them, are in that language.
std::optional<QString> languageAsked(int argc, char* argv[]);

struct Result {
    enum class Outcome { Run, Help, Version, Error };
    Outcome outcome = Outcome::Run;
    Options options;
    QString text;  // the help or version text, or what was wrong (Error)

    // True when the program ends here, with text() printed and exitCode() returned.
    bool ends() const { return outcome != Outcome::Run; }
    int exitCode() const { return outcome == Outcome::Error ? 2 : 0; }
};

// Reads the arguments as QCoreApplication::arguments() gives them (the program's name first).
Result parse(const QStringList& arguments);

// Prints a result that ends the program (help and version on standard output, an error on
// standard error) and returns its exit code.
int report(const Result& result);

}  // namespace commandline
