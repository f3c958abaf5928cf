#include "printing/QPrinterTarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(QPrinterTarget)
};

}  // namespace

QPrinterTarget::QPrinterTarget(QPrinter& printer) : printer_(printer) {}

QPrinterTarget::QPrinterTarget(std::unique_ptr<QPrinter> printer) : owned_(std::move(printer)), printer_(*owned_) {}

QPrinterTarget::~QPrinterTarget()
{
    // A document that was never ended is not kept.
    if (painter_)
        abort();
}

void QPrinterTarget::setUp(QPrinter& printer, const QString& documentName)
{
    printer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    printer.setDocName(documentName);
    printer.setCreator(QStringLiteral("Calvora"));
}

void QPrinterTarget::requireSystemPrinter(const QPrinter& printer)
{
    // Qt falls back to PDF output when the system has no printer at all.
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
        throw PrintError(Tr::tr("No printer is installed on this system"));
}

QFont QPrinterTarget::font(int pointSize, bool bold)
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

QStringList QPrinterTarget::wrap(const QString& text, int columns)
{
    columns = std::max(columns, 1);
    if (text.size() <= columns)
        return {text};
    qsizetype lead = 0;
    while (lead < text.size() && text.at(lead) == u' ')
        ++lead;
    // A line of fields (a time, then the cell's text) continues under its second field;
    // any other under its own first character.
    static const QRegularExpression gap(QStringLiteral("\\S {2,}(?=\\S)"));
    const QRegularExpressionMatch field = gap.match(text, lead);
    qsizetype indent = field.hasMatch() && field.capturedEnd() <= columns / 2 ? field.capturedEnd() : lead;
    // A line indented past half the sheet continues at the margin.
    if (indent > columns / 2)
        indent = 0;
    const QString pad(indent, u' ');

    QStringList pieces;
    QString rest = text;
    qsizetype room = columns;
    qsizetype floor = indent;  // the first line does not break before its last field
    while (rest.size() > room) {
        qsizetype cut = rest.lastIndexOf(u' ', room);
        if (cut <= floor)
            cut = room;
        pieces << (pieces.isEmpty() ? QString() : pad) + rest.left(cut);
        rest = rest.mid(cut);
        while (rest.startsWith(u' '))
            rest.remove(0, 1);
        room = columns - indent;
        floor = 0;
    }
    if (!rest.isEmpty())
        pieces << (pieces.isEmpty() ? QString() : pad) + rest;
    return pieces;
}

void QPrinterTarget::setFont(int pointSize, bool bold)
{
    ops_.append(Op{Op::Font, QString(), pointSize, bold});
}

void QPrinterTarget::printLine(const QString& text)
{
    ops_.append(Op{Op::Line, text});
}

void QPrinterTarget::newPage()
{
    ops_.append(Op{Op::NewPage, QString()});
}

QString QPrinterTarget::openFailure() const
{
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        if (printer_.outputFileName().isEmpty())
            return Tr::tr("No printer is installed on this system");
        return Tr::tr("The file %1 cannot be written")
            .arg(QDir::toNativeSeparators(printer_.outputFileName()));
    }
    return Tr::tr("The printer %1 cannot be reached").arg(printer_.printerName());
}

void QPrinterTarget::endDoc()
{
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&printer_)) {
        painter_.reset();
        throw PrintError(openFailure());
    }
    render();
    // A job that fails at its very end stays open, so that abort() tells the printer to
    // cancel it: what the printer holds of it must not come out beside the retried one.
    if (!painter_->end() || printer_.printerState() == QPrinter::Error)
        throw PrintError(Tr::tr("The printer reported an error at the end of the document"));
    if (!writtenWhole())
        throw PrintError(Tr::tr("The file %1 could not be written in full; the disk may be full")
                             .arg(QDir::toNativeSeparators(printer_.outputFileName())));
    painter_.reset();
    ops_.clear();
}

bool QPrinterTarget::writtenWhole() const
{
    // The PDF writer does not report a write that failed (a full disk, a file size limit),
    // so the file is read back: a PDF written whole ends with its end-of-file marker.
    if (printer_.outputFormat() != QPrinter::PdfFormat || !QFileInfo(printer_.outputFileName()).isFile())
        return true;
    QFile file(printer_.outputFileName());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 Tail = 64;
    if (file.size() > Tail && !file.seek(file.size() - Tail))
        return false;
    return file.read(Tail).contains("%%EOF");
}

void QPrinterTarget::breakPage(int& page)
{
    if (!printer_.newPage() || printer_.printerState() == QPrinter::Error)
        throw PrintError(Tr::tr("The printer reported an error at the start of page %1").arg(page + 1));
    ++page;
}

void QPrinterTarget::render()
{
    QPainter& p = *painter_;
    // The painter's origin is the top-left corner inside the margins.
    const QRectF sheet = printer_.pageRect(QPrinter::DevicePixel);
    int page = 1;
    qreal y = 0;
    p.setFont(font(10, false));
    for (const Op& op : std::as_const(ops_)) {
        switch (op.kind) {
        case Op::Font:
            p.setFont(font(op.pointSize, op.bold));
            break;
        case Op::NewPage:
            breakPage(page);
            y = 0;
            break;
        case Op::Line: {
            const QFontMetricsF metrics(p.font(), &printer_);
            const qreal height = metrics.lineSpacing();
            const int columns = int(sheet.width() / metrics.horizontalAdvance(u' '));
            for (const QString& piece : wrap(op.text, columns)) {
                // The printer's own page break: the line goes to the top of a new sheet.
                if (y > 0 && y + height > sheet.height()) {
                    breakPage(page);
                    y = 0;
                }
                if (!piece.trimmed().isEmpty())
                    p.drawText(QPointF(0, y + metrics.ascent()), piece);
                y += height;
            }
            break;
        }
        }
    }
}

void QPrinterTarget::abort()
{
    ops_.clear();
    if (!painter_)
        return;
    printer_.abort();
    if (painter_->isActive())
        painter_->end();
    painter_.reset();
    // A half-written PDF file is not left behind; a device named as the file is no file.
    if (printer_.outputFormat() == QPrinter::PdfFormat && QFileInfo(printer_.outputFileName()).isFile())
        QFile::remove(printer_.outputFileName());
}
