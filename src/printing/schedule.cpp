#include "printing/schedule.h"

#include "page/FlexGrid.h"
#include "printing/PrintTarget.h"

#include <QCoreApplication>

namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(schedule)
};

QString blanks(int n)
{
    return QString(n, u' ');
}

}  // namespace

void PrintSchedule(PrintTarget& target, const FlexGrid& grid, int first, int last, bool printAll,
                   const ScheduleCaptions& captions)
{
    const int rows = grid.Rows();
    for (int c = first; c <= last; ++c) {
        if (printAll && c > 1)
            target.newPage();
        for (int i = 0; i < 8; ++i)
            target.printLine(QString());

        target.setFont(14, true);
        target.printLine(blanks(9) + Tr::tr("Appointment Schedule:   %1,  %2").arg(captions.weekday, captions.date));
        target.printLine(QString());

        target.setFont(12, true);
        target.printLine(blanks(26) + grid.TextMatrix(0, c));
        target.printLine(QString());
        target.printLine(blanks(22) + grid.TextMatrix(1, c));
        target.printLine(QString());
        // The heading of the time labels: four letters keep the names over the cells.
        target.printLine(blanks(10) + Tr::tr("Time") + blanks(5) + grid.TextMatrix(2, c));

        target.setFont(9, true);
        target.printLine(QString());
        target.printLine(blanks(30) + grid.TextMatrix(3, c));
        // The time labels are nine characters, so every cell starts 30 blanks in.
        for (int r = 4; r <= rows - 3; ++r) {
            target.printLine(QString());
            target.printLine(blanks(14) + grid.TextMatrix(r, 0) + blanks(7) + grid.TextMatrix(r, c));
        }
        target.printLine(QString());
        target.printLine(blanks(30) + grid.TextMatrix(rows - 2, c));
        target.printLine(QString());
        target.printLine(blanks(30) + grid.TextMatrix(rows - 1, c));
    }
    target.endDoc();
}
