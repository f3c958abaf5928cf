#include "page/FlexGrid.h"

#include "page/FlexGridAccessible.h"
#include "platform/twips.h"
#include "storage/celltext.h"

#include <algorithm>

// The cells of the grid: their count and headings, the current cell and the selection, the
// text, the column widths, alignment and colours. Where they stand on screen, the scrolling,
// the mouse and the keys, and the painting are in FlexGridView.cpp.

namespace {
constexpr int DefaultColWidth = 960;  // twips
}  // namespace


FlexGrid::FlexGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    rowHeightPx_ = fontMetrics().height() + RowPadding;
    // The classic grid starts with two rows and columns, one of each fixed.
    fixedRows_ = 1;
    fixedCols_ = 1;
    resizeCells(2, 2);
    row_ = rowSel_ = 1;
    col_ = colSel_ = 1;
    FlexGridAccessible::attach(this);
}

// --- size -------------------------------------------------------------------------------

void FlexGrid::setRows(int rows)
{
    resizeCells(rows, cols_);
}

void FlexGrid::setCols(int cols)
{
    resizeCells(rows_, cols);
}

void FlexGrid::resizeCells(int rows, int cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (cols == cols_) {
        // Rows are contiguous, so adding or dropping rows is a resize at the end.
        cells_.resize(qsizetype(rows) * cols);
        alignment_.resize(qsizetype(rows) * cols);
    } else {
        QVector<QString> cells(qsizetype(rows) * cols);
        QVector<quint8> alignment(qsizetype(rows) * cols);
        const int keepRows = std::min(rows, rows_);
        const int keepCols = std::min(cols, cols_);
        for (int r = 0; r < keepRows; ++r)
            for (int c = 0; c < keepCols; ++c) {
                cells[qsizetype(r) * cols + c] = std::move(cells_[index(r, c)]);
                alignment[qsizetype(r) * cols + c] = alignment_[index(r, c)];
            }
        cells_.swap(cells);
        alignment_.swap(alignment);
        colWidths_.resize(cols, DefaultColWidth);
    }
    rows_ = rows;
    cols_ = cols;
    clampCurrent();
    updateScrollBars();
    viewport()->update();
    FlexGridAccessible::sizeChanged(this);
}

void FlexGrid::setFixedRows(int n)
{
    fixedRows_ = std::max(n, 0);
    // A grid has at least one row below its headings, as the classic grid demands.
    if (rows_ <= fixedRows_)
        resizeCells(fixedRows_ + 1, cols_);
    if (row_ < fixedRows_ && rows_ > fixedRows_)
        setRow(fixedRows_);
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::setFixedCols(int n)
{
    fixedCols_ = std::max(n, 0);
    if (cols_ <= fixedCols_)
        resizeCells(rows_, fixedCols_ + 1);
    if (col_ < fixedCols_ && cols_ > fixedCols_)
        setCol(fixedCols_);
    updateScrollBars();
    viewport()->update();
}

int FlexGrid::frozenRows() const
{
    return std::min(fixedRows_, rows_);
}

int FlexGrid::frozenCols() const
{
    return std::min(fixedCols_, cols_);
}

void FlexGrid::clampCurrent()
{
    const int lastRow = std::max(rows_ - 1, 0);
    const int lastCol = std::max(cols_ - 1, 0);
    row_ = std::clamp(row_, 0, lastRow);
    rowSel_ = std::clamp(rowSel_, 0, lastRow);
    col_ = std::clamp(col_, 0, lastCol);
    colSel_ = std::clamp(colSel_, 0, lastCol);
}

// --- current cell and selection -----------------------------------------------------------

void FlexGrid::setRow(int row)
{
    if (row < 0 || row >= rows_)
        return;
    row_ = rowSel_ = row;
    colSel_ = col_;
    viewport()->update();
    FlexGridAccessible::currentChanged(this);
}

void FlexGrid::setCol(int col)
{
    if (col < 0 || col >= cols_)
        return;
    col_ = colSel_ = col;
    rowSel_ = row_;
    viewport()->update();
    FlexGridAccessible::currentChanged(this);
}

void FlexGrid::setRowSel(int row)
{
    if (row < 0 || row >= rows_)
        return;
    rowSel_ = row;
    viewport()->update();
}

void FlexGrid::setColSel(int col)
{
    if (col < 0 || col >= cols_)
        return;
    colSel_ = col;
    viewport()->update();
}

bool FlexGrid::hasCell(int row, int col) const
{
    return row >= 0 && row < rows_ && col >= 0 && col < cols_;
}

// --- text ---------------------------------------------------------------------------------

QString FlexGrid::Text() const
{
    return TextMatrix(row_, col_);
}

void FlexGrid::setText(const QString& text)
{
    setTextMatrix(row_, col_, text);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    return hasCell(row, col) ? cells_[index(row, col)] : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    if (!hasCell(row, col))
        return;
    cells_[index(row, col)] = text;
    viewport()->update();
    FlexGridAccessible::cellsChanged(this, row, col, row, col);
}

QRect FlexGrid::selection() const
{
    return QRect(QPoint(std::min(col_, colSel_), std::min(row_, rowSel_)),
                 QPoint(std::max(col_, colSel_), std::max(row_, rowSel_)));
}

QString FlexGrid::Clip() const
{
    if (rows_ == 0 || cols_ == 0)
        return QString();
    const QRect sel = selection();
    QList<QStringList> rows;
    rows.reserve(sel.height());
    for (int r = sel.top(); r <= sel.bottom(); ++r) {
        QStringList cells;
        cells.reserve(sel.width());
        for (int c = sel.left(); c <= sel.right(); ++c)
            cells.append(cells_[index(r, c)]);
        rows.append(std::move(cells));
    }
    return celltext::join(rows);
}

void FlexGrid::setClip(const QString& text)
{
    if (rows_ == 0 || cols_ == 0)
        return;
    const QRect sel = selection();
    const QList<QStringList> rows = celltext::split(text);
    const int rowCount = int(std::min<qsizetype>(rows.size(), sel.height()));
    for (int i = 0; i < rowCount; ++i) {
        const QStringList& cells = rows[i];
        const int colCount = int(std::min<qsizetype>(cells.size(), sel.width()));
        for (int j = 0; j < colCount; ++j)
            cells_[index(sel.top() + i, sel.left() + j)] = cells[j];
    }
    viewport()->update();
    FlexGridAccessible::cellsChanged(this, sel.top(), sel.left(), sel.bottom(), sel.right());
}

void FlexGrid::clearSelection()
{
    if (rows_ == 0 || cols_ == 0)
        return;
    const QRect sel = selection();
    for (int r = sel.top(); r <= sel.bottom(); ++r)
        for (int c = sel.left(); c <= sel.right(); ++c)
            cells_[index(r, c)].clear();
    viewport()->update();
    FlexGridAccessible::cellsChanged(this, sel.top(), sel.left(), sel.bottom(), sel.right());
}

// --- columns, rows, alignment ---------------------------------------------------------------

int FlexGrid::ColWidth(int col) const
{
    return col >= 0 && col < cols_ ? colWidths_[col] : 0;
}

void FlexGrid::setColWidth(int col, int twipsWidth)
{
    if (col < 0 || col >= cols_)
        return;
    colWidths_[col] = std::max(twipsWidth, 0);
    updateScrollBars();
    viewport()->update();
}

int FlexGrid::RowHeight() const
{
    return twips::fromPixels(rowHeightPx());
}

int FlexGrid::CellAlignment() const
{
    return hasCell(row_, col_) ? alignment_[index(row_, col_)] : 0;
}

void FlexGrid::setCellAlignment(int alignment)
{
    if (!hasCell(row_, col_) || alignment < 0 || alignment > 9)
        return;
    alignment_[index(row_, col_)] = quint8(alignment);
    viewport()->update();
}

// --- colours --------------------------------------------------------------------------------

void FlexGrid::setBackColor(const QColor& colour)
{
    backColor_ = colour;
    viewport()->update();
}

void FlexGrid::setBackColorSel(const QColor& colour)
{
    backColorSel_ = colour;
    viewport()->update();
}
