#pragma once
// Where a printout goes: lines of text in the current font size and weight, page breaks,
// the end of the document, and abandoning a document that failed half-way. The schedule is
// laid out in blanks, so a target prints in a fixed-pitch font.
#include <QString>
#include <stdexcept>

// A printing failure, described for the user ("No printer is installed on this system").
class PrintError : public std::runtime_error {
public:
    explicit PrintError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description)
    {
    }
    // Without a final full stop: the question that reports it adds its own.
    QString description() const { return description_; }

private:
    QString description_;
};

class PrintTarget {
public:
    virtual ~PrintTarget() = default;

    // The font of the lines that follow (points); a new target prints at 10 points, regular.
    virtual void setFont(int pointSize, bool bold) = 0;
    // One line; an empty text is a blank line of the current font's height.
    virtual void printLine(const QString& text) = 0;
    virtual void newPage() = 0;
    // The document is complete: it goes to the printer or the file.
    virtual void endDoc() = 0;
    // The document failed: nothing of it is printed or kept.
    virtual void abort() = 0;
};
