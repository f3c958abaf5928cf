#pragma once
// The program's command line: what the user asked for when starting it. Parsed before any
// window opens, so that a mistyped option ends the program with a clear line instead.
#include <QString>
#include <QStringList>

namespace commandline {

// What a run of the program is asked to do, as read from its options.
struct Options {
    QString dataFolder;  // --data: the folder of db.mdb (absolute); empty for the usual choice
};

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
