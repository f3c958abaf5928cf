#pragma once
// The printed schedule of a day page: one provider column, or each column on a sheet of
// its own, laid out in blanks from what the page grid shows.
#include <QString>

class FlexGrid;
class PrintTarget;

struct ScheduleCaptions {
    QString weekday;  // as the page's weekday caption reads ("Saturday")
    QString date;     // as the page's date caption reads (the short date)
};

// Prints grid columns first to last and ends the document. With printAll every column
// after the first starts a new sheet. Throws PrintError where the target fails; the
// document is then left to the caller to abandon.
void PrintSchedule(PrintTarget& target, const FlexGrid& grid, int first, int last, bool printAll,
                   const ScheduleCaptions& captions);
