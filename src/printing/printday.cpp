#include "printing/printday.h"

#include "page/FlexGrid.h"
#include "page/pagelayout.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "printing/QPrinterTarget.h"
#include "printing/schedule.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/pagetable.h"
#include "storage/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
#include <QRegularExpression>

namespace printday {
namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(printday)
};

}  // namespace

std::optional<Request> request(const QString& date, const QString& pdf, const std::optional<QString>& column,
                               QString& error)
{
    Request r;
    static const QRegularExpression isoDate(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (isoDate.match(date).hasMatch())
        r.date = QDate::fromString(date, QStringLiteral("yyyy-MM-dd"));
    if (!r.date.isValid()) {
        error = Tr::tr("The date \"%1\" is not a valid date of the form YYYY-MM-DD.").arg(date);
        return std::nullopt;
    }
    if (pdf.isEmpty()) {
        error = Tr::tr("No PDF file is named: give one with --pdf FILE.");
        return std::nullopt;
    }
    r.pdf = pdf;
    if (column) {
        static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
        const int n = digits.match(*column).hasMatch() ? column->toInt() : 0;
        if (n < 1) {
            error = Tr::tr("The column \"%1\" is not a provider column number (1, 2, ...).").arg(*column);
            return std::nullopt;
        }
        r.column = n;
    }
    return r;
}

namespace {

// Lays the grid out as the day page would for the date and puts the page's cells in it.
// Throws StorageError or LayoutError.
void layOut(FlexGrid& grid, const Request& request, int& lastCol)
{
    storage::Database db(program::bookLocation());
    const storage::Settings settings = storage::readSettings(db);
    const std::optional<storage::PageRow> row = storage::PageTable(db).find(request.date);

    // A past page keeps the layout it was made with; today and later follow the settings.
    // A page not stored yet would be made with the settings' layout and its template.
    const bool past = request.date < program::today();
    const storage::Layout& layout = past && row ? row->layout : settings.layout;
    if (!layout.complete())
        throw LayoutError(layout.missing.first(), Tr::tr("(never written)"));

    grid.setFixedRows(3);
    grid.setFixedCols(1);
    PageGridLayout grids(grid, PageGridLayout::DayPage);
    grids.BuildFrom(layout);
    lastCol = grids.LastCol;

    const QString cells = row ? (row->dataNull ? QString() : row->data) : settings.templateFor(request.date);
    grid.setRow(3);
    grid.setCol(1);
    grid.setColSel(grids.LastCol);
    grid.setRowSel(grids.LastRow);
    grid.clearSelection();
    grid.setClip(cells);
}

}  // namespace

bool print(const Request& request, QString& error)
{
    FlexGrid grid;
    int lastCol = 0;
    try {
        layOut(grid, request, lastCol);
    } catch (const storage::StorageError& e) {
        error = e.message();
        return false;
    } catch (const LayoutError& e) {
        error = e.message();
        return false;
    }
    if (lastCol < 1) {
        error = Tr::tr("The page of %1 has no provider columns.").arg(request.date.toString(Qt::ISODate));
        return false;
    }
    if (request.column && *request.column > lastCol) {
        error = Tr::tr("The page of %1 has provider columns 1 to %2; there is no column %3.")
                    .arg(request.date.toString(Qt::ISODate))
                    .arg(lastCol)
                    .arg(*request.column);
        return false;
    }

    // The captions read as the day page's do.
    const QLocale locale = QLocale::system();
    const ScheduleCaptions captions{locale.dayName(request.date.dayOfWeek(), QLocale::LongFormat),
                                    locale.toString(request.date, QLocale::ShortFormat)};
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFileInfo(request.pdf).absoluteFilePath());
    QPrinterTarget::setUp(printer, Tr::tr("Appointment Schedule %1").arg(request.date.toString(Qt::ISODate)));
    QPrinterTarget target(printer);
    const int first = request.column.value_or(1);
    const int last = request.column.value_or(lastCol);
    try {
        PrintSchedule(target, grid, first, last, !request.column, captions);
    } catch (const PrintError& e) {
        target.abort();
        error = e.description() + QLatin1Char('.');
        return false;
    }
    return true;
}

}  // namespace printday
