#pragma once
// The print target on a QPrinter: the system's printer, a PDF file, or a print preview.
// The lines are kept until the document ends and only then drawn, so a document that fails
// half-way leaves nothing behind on the printer. Lines are drawn in a fixed-pitch font, so
// that blank counts line up; a line past the bottom of a sheet continues on the next, and
// a line wider than the sheet continues below, under its own text.
#include "printing/PrintTarget.h"

#include <QFont>
#include <QList>
#include <memory>

class QPainter;
class QPrinter;

class QPrinterTarget final : public PrintTarget {
public:
    // The printer is not owned; it must outlive the target.
    explicit QPrinterTarget(QPrinter& printer);
    // A target with a printer of its own.
    explicit QPrinterTarget(std::unique_ptr<QPrinter> printer);
    ~QPrinterTarget() override;

    // The program's page set-up: margins and the document's name.
    static void setUp(QPrinter& printer, const QString& documentName);
    // Throws PrintError when the printer is not one of the system's (none is installed).
    static void requireSystemPrinter(const QPrinter& printer);
    // The printout's font in a size and weight.
    static QFont font(int pointSize, bool bold);
    // A line cut to a width in characters, breaking at blanks where there is one: the first
    // piece as it stands, every further one under the line's last field (the cell's text
    // after a time) or, without fields, under the line's first character.
    static QStringList wrap(const QString& text, int columns);

    void setFont(int pointSize, bool bold) override;
    void printLine(const QString& text) override;
    void newPage() override;
    void endDoc() override;
    void abort() override;

private:
    struct Op {
        enum Kind { Font, Line, NewPage } kind;
        QString text;
        int pointSize = 10;
        bool bold = false;
    };
    void render();
    void breakPage(int& page);
    QString openFailure() const;
    // False when a PDF file on disk does not hold the whole document.
    bool writtenWhole() const;

    std::unique_ptr<QPrinter> owned_;
    QPrinter& printer_;
    QList<Op> ops_;
    std::unique_ptr<QPainter> painter_;
};
