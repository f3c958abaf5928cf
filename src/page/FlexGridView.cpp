#include "page/FlexGrid.h"

#include "page/FlexGridAccessible.h"
#include "platform/colours.h"
#include "platform/keys.h"
#include "platform/twips.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <algorithm>

// The grid on screen: where its cells stand in pixels, the scrolling that keeps the headings
// in place, the mouse and the keys, and the painting. The cells themselves are in
// FlexGrid.cpp.

namespace {
constexpr int TextPadding = 3;  // pixels between a cell's edge and its text
const QColor GridLineColour{192, 192, 192};

Qt::Alignment alignmentFlags(int alignment)
{
    switch (alignment) {
    case 2: return Qt::AlignLeft | Qt::AlignBottom;
    case 3: return Qt::AlignHCenter | Qt::AlignTop;
    case 4: return Qt::AlignCenter;
    case 5: return Qt::AlignHCenter | Qt::AlignBottom;
    case 6: return Qt::AlignRight | Qt::AlignTop;
    case 7: return Qt::AlignRight | Qt::AlignVCenter;
    case 8: return Qt::AlignRight | Qt::AlignBottom;
    default: return Qt::AlignLeft | Qt::AlignVCenter;  // 0 (not set), 1 and 9
    }
}
}  // namespace

// --- geometry -------------------------------------------------------------------------------

int FlexGrid::rowHeightPx() const
{
    return rowHeightPx_;
}

int FlexGrid::colWidthPx(int col) const
{
    return twips::toPixels(colWidths_[col]);
}

int FlexGrid::fixedHeightPx() const
{
    return frozenRows() * rowHeightPx();
}

int FlexGrid::fixedWidthPx() const
{
    int width = 0;
    for (int c = 0; c < frozenCols(); ++c)
        width += colWidthPx(c);
    return width;
}

int FlexGrid::rowTopPx(int row) const
{
    if (row < frozenRows())
        return row * rowHeightPx();
    return fixedHeightPx() + (row - topRow_) * rowHeightPx();
}

int FlexGrid::colLeftPx(int col) const
{
    if (col < frozenCols()) {
        int x = 0;
        for (int c = 0; c < col; ++c)
            x += colWidthPx(c);
        return x;
    }
    int x = fixedWidthPx();
    for (int c = leftCol_; c < col; ++c)
        x += colWidthPx(c);
    for (int c = col; c < leftCol_; ++c)
        x -= colWidthPx(c);
    return x;
}

QRect FlexGrid::cellRect(int row, int col) const
{
    if (!hasCell(row, col))
        return QRect();
    if ((row >= frozenRows() && row < topRow_) || (col >= frozenCols() && col < leftCol_))
        return QRect();
    const int x = colLeftPx(col);
    const int y = rowTopPx(row);
    if (x >= viewport()->width() || y >= viewport()->height())
        return QRect();
    // The last pixel column and row of a cell's box carry the grid lines.
    return QRect(x, y, colWidthPx(col) - 1, rowHeightPx() - 1);
}

int FlexGrid::CellLeft() const
{
    return twips::fromPixels(viewport()->x() + colLeftPx(col_));
}

int FlexGrid::CellTop() const
{
    return twips::fromPixels(viewport()->y() + rowTopPx(row_));
}

int FlexGrid::CellWidth() const
{
    return cols_ > 0 ? twips::fromPixels(std::max(colWidthPx(col_) - 1, 0)) : 0;
}

int FlexGrid::CellHeight() const
{
    return twips::fromPixels(rowHeightPx() - 1);
}

int FlexGrid::rowAt(int y) const
{
    if (y < 0)
        return -1;
    const int row = y < fixedHeightPx() ? y / rowHeightPx()
                                        : topRow_ + (y - fixedHeightPx()) / rowHeightPx();
    return row < rows_ ? row : -1;
}

int FlexGrid::colAt(int x) const
{
    if (x < 0)
        return -1;
    int left = 0;
    for (int c = 0; c < frozenCols(); ++c) {
        left += colWidthPx(c);
        if (x < left)
            return c;
    }
    for (int c = leftCol_; c < cols_; ++c) {
        left += colWidthPx(c);
        if (x < left)
            return c;
    }
    return -1;
}

// --- scrolling ------------------------------------------------------------------------------

int FlexGrid::fullRowsShown() const
{
    return std::max(1, (viewport()->height() - fixedHeightPx()) / rowHeightPx());
}

int FlexGrid::maxTopRow() const
{
    return std::max(frozenRows(), rows_ - fullRowsShown());
}

int FlexGrid::maxLeftCol() const
{
    const int room = viewport()->width() - fixedWidthPx();
    int col = cols_ - 1;
    if (col < frozenCols())
        return frozenCols();
    int width = colWidthPx(col);
    while (col - 1 >= frozenCols() && width + colWidthPx(col - 1) <= room) {
        --col;
        width += colWidthPx(col);
    }
    return col;
}

void FlexGrid::updateScrollBars()
{
    // Scroll bars count rows and columns, so the data area always starts on a cell edge.
    verticalScrollBar()->setRange(0, maxTopRow() - frozenRows());
    verticalScrollBar()->setPageStep(fullRowsShown());
    verticalScrollBar()->setSingleStep(1);
    const int maxLeft = maxLeftCol();
    horizontalScrollBar()->setRange(0, maxLeft - frozenCols());
    horizontalScrollBar()->setPageStep(std::max(1, cols_ - maxLeft));
    horizontalScrollBar()->setSingleStep(1);
    syncScrollPosition();
}

void FlexGrid::syncScrollPosition()
{
    const int top = frozenRows() + verticalScrollBar()->value();
    const int left = frozenCols() + horizontalScrollBar()->value();
    if (top == topRow_ && left == leftCol_)
        return;
    topRow_ = top;
    leftCol_ = left;
    viewport()->update();
    if (scrollBatch_ > 0)
        scrollPending_ = true;
    else
        emit Scroll();
}

void FlexGrid::scrollContentsBy(int, int)
{
    syncScrollPosition();
}

void FlexGrid::setTopRow(int row)
{
    verticalScrollBar()->setValue(std::clamp(row, frozenRows(), maxTopRow()) - frozenRows());
}

void FlexGrid::setLeftCol(int col)
{
    horizontalScrollBar()->setValue(std::clamp(col, frozenCols(), maxLeftCol()) - frozenCols());
}

void FlexGrid::ensureVisible(int row, int col)
{
    int top = topRow_;
    if (row >= frozenRows()) {
        if (row < top)
            top = row;
        else if (row >= top + fullRowsShown())
            top = row - fullRowsShown() + 1;
    }
    int left = leftCol_;
    if (col >= frozenCols()) {
        if (col < left) {
            left = col;
        } else {
            const int room = viewport()->width() - fixedWidthPx();
            int right = 0;  // right edge of col, counted from the left column shown
            for (int c = left; c <= col; ++c)
                right += colWidthPx(c);
            while (left < col && right > room)
                right -= colWidthPx(left++);
        }
    }
    // A move that scrolls both ways is still one scroll to the handlers.
    ++scrollBatch_;
    setTopRow(top);
    setLeftCol(left);
    --scrollBatch_;
    if (scrollBatch_ == 0 && scrollPending_) {
        scrollPending_ = false;
        emit Scroll();
    }
}

void FlexGrid::moveCurrent(int row, int col)
{
    row_ = rowSel_ = row;
    col_ = colSel_ = col;
    ensureVisible(row, col);
    viewport()->update();
    FlexGridAccessible::currentChanged(this);
}

void FlexGrid::extendSelection(int row, int col)
{
    rowSel_ = row;
    colSel_ = col;
    ensureVisible(row, col);
    viewport()->update();
}

// --- events ---------------------------------------------------------------------------------

bool FlexGrid::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Tab is the grid's own key first (KeyPress 9); the focus moves only if the handler
        // leaves it.
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
        break;
    }
    case QEvent::FocusOut:
        viewport()->update();  // the focus rectangle goes
        break;
    case QEvent::FontChange:
        rowHeightPx_ = fontMetrics().height() + RowPadding;
        updateScrollBars();
        viewport()->update();
        break;
    default:
        break;
    }
    return QAbstractScrollArea::event(event);
}

bool FlexGrid::viewportEvent(QEvent* event)
{
    // A double click is a second click on the cell, not a separate action.
    if (event->type() == QEvent::MouseButtonDblClick) {
        mousePressEvent(static_cast<QMouseEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    const int firstRow = frozenRows();
    const int firstCol = frozenCols();
    const bool hasData = rows_ > firstRow && cols_ > firstCol;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    // Shift moves the selection's far corner instead of the current cell.
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    int row = std::clamp(extend ? rowSel_ : row_, firstRow, std::max(firstRow, rows_ - 1));
    int col = std::clamp(extend ? colSel_ : col_, firstCol, std::max(firstCol, cols_ - 1));
    bool move = true;
    switch (event->key()) {
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_PageUp: row -= fullRowsShown(); break;
    case Qt::Key_PageDown: row += fullRowsShown(); break;
    case Qt::Key_Home:
        col = firstCol;
        if (ctrl)
            row = firstRow;
        break;
    case Qt::Key_End:
        col = cols_ - 1;
        if (ctrl)
            row = rows_ - 1;
        break;
    default: move = false; break;
    }
    if (move) {
        if (hasData) {
            row = std::clamp(row, firstRow, rows_ - 1);
            col = std::clamp(col, firstCol, cols_ - 1);
            if (extend)
                extendSelection(row, col);
            else
                moveCurrent(row, col);
        }
        event->accept();
        return;
    }

    int ascii = keys::keyAscii(event);
    if (ascii == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    // A handler reads the whole typed text (a character outside the basic plane, or one
    // with its combining marks) through KeyText while it runs.
    keyText_ = event->text();
    emit KeyPress(ascii);
    keyText_.clear();
    event->accept();
    if (ascii == 9) {
        const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        focusNextPrevChild(!back);
    }
}

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint pos = event->position().toPoint();
    const int row = rowAt(pos.y());
    const int col = colAt(pos.x());
    // A click on a data cell makes it current (and may begin a drag); one on the headings,
    // the time column or the space beyond the last cell moves nothing. Every click is a
    // Click all the same.
    if (row >= frozenRows() && col >= frozenCols()) {
        moveCurrent(row, col);
        dragging_ = true;
    }
    emit Click();
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint pos = event->position().toPoint();
    const int row = rowAt(pos.y());
    const int col = colAt(pos.x());
    if (row >= frozenRows() && col >= frozenCols() && (row != rowSel_ || col != colSel_))
        extendSelection(row, col);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    event->ignore();
}

void FlexGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    FlexGridAccessible::currentChanged(this);
    // Coming back to the window or out of a menu is not the user going to the grid.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit GotFocus();
}

void FlexGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

// --- painting -------------------------------------------------------------------------------

namespace {

// Lines of the pen's colour, one pixel wide, each cell's edges joined into one line per row
// and column where they meet end to end: the same pixels, a few dozen lines, not a thousand.
void drawJoined(QPainter& p, QVector<QLine> lines)
{
    QVector<QLine> across, down, other;
    for (const QLine& l : std::as_const(lines)) {
        if (l.y1() == l.y2())
            across.append(l.x1() <= l.x2() ? l : QLine(l.p2(), l.p1()));
        else if (l.x1() == l.x2())
            down.append(l.y1() <= l.y2() ? l : QLine(l.p2(), l.p1()));
        else
            other.append(l);
    }
    const auto join = [](QVector<QLine>& v, auto key, auto from, auto to, auto make) {
        std::sort(v.begin(), v.end(), [&](const QLine& a, const QLine& b) {
            return std::pair(key(a), from(a)) < std::pair(key(b), from(b));
        });
        QVector<QLine> joined;
        for (const QLine& l : std::as_const(v)) {
            if (!joined.isEmpty() && key(joined.last()) == key(l) && from(l) <= to(joined.last()) + 1) {
                QLine& last = joined.last();
                last = make(key(l), from(last), std::max(to(last), to(l)));
            } else {
                joined.append(l);
            }
        }
        v.swap(joined);
    };
    join(across, [](const QLine& l) { return l.y1(); }, [](const QLine& l) { return l.x1(); },
         [](const QLine& l) { return l.x2(); }, [](int y, int a, int b) { return QLine(a, y, b, y); });
    join(down, [](const QLine& l) { return l.x1(); }, [](const QLine& l) { return l.y1(); },
         [](const QLine& l) { return l.y2(); }, [](int x, int a, int b) { return QLine(x, a, x, b); });
    // A line one pixel wide along a row or a column is that rectangle of pixels, which the
    // painter fills a row at a time rather than pixel by pixel.
    const QColor colour = p.pen().color();
    for (const QLine& l : std::as_const(across))
        p.fillRect(QRect(l.p1(), l.p2()), colour);
    for (const QLine& l : std::as_const(down))
        p.fillRect(QRect(l.p1(), l.p2()), colour);
    p.drawLines(other);
}

}  // namespace

void FlexGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const QRect area = viewport()->rect();
    // The space beyond the last row and column.
    p.fillRect(area, colours::DarkGrey);
    if (rows_ == 0 || cols_ == 0)
        return;

    const int rh = rowHeightPx();
    const int firstRow = frozenRows();
    const int firstCol = frozenCols();

    // The rows and columns on screen: the fixed ones, then the data ones from the scroll
    // position until the viewport is full.
    QVector<int> rows;
    for (int r = 0; r < firstRow; ++r)
        rows.append(r);
    for (int r = topRow_, y = fixedHeightPx(); r < rows_ && y < area.height(); ++r, y += rh)
        rows.append(r);
    QVector<int> cols;
    QVector<int> lefts;
    int x = 0;
    for (int c = 0; c < firstCol; ++c) {
        cols.append(c);
        lefts.append(x);
        x += colWidthPx(c);
    }
    for (int c = leftCol_; c < cols_ && x < area.width(); ++c) {
        cols.append(c);
        lefts.append(x);
        x += colWidthPx(c);
    }

    const QRect sel = selection();
    const QColor lightLine = palette().color(QPalette::Light);
    const QColor darkLine = palette().color(QPalette::Dark);
    const QColor face = palette().color(QPalette::Button);
    const QColor textColour = palette().color(QPalette::Text);
    const QColor headingText = palette().color(QPalette::ButtonText);
    QVector<QLine> gridLines;
    QVector<QLine> darkLines;
    QVector<QLine> lightLines;

    for (int r : rows) {
        const int y = rowTopPx(r);
        for (int i = 0; i < cols.size(); ++i) {
            const int c = cols[i];
            const int w = colWidthPx(c);
            if (w <= 0)
                continue;
            const QRect box(lefts[i], y, w, rh);
            const QRect inner(box.x(), box.y(), w - 1, rh - 1);
            const bool fixed = r < firstRow || c < firstCol;
            if (fixed) {
                // Headings: button face with sunken edges.
                p.fillRect(box, face);
                darkLines.append(QLine(box.topLeft(), box.topRight()));
                darkLines.append(QLine(box.topLeft(), box.bottomLeft()));
                lightLines.append(QLine(box.bottomLeft(), box.bottomRight()));
                lightLines.append(QLine(box.topRight(), box.bottomRight()));
            } else {
                const bool selected = sel.contains(c, r) && !(r == row_ && c == col_);
                p.fillRect(inner, selected ? backColorSel_ : backColor_);
                gridLines.append(QLine(box.right(), box.top(), box.right(), box.bottom()));
                gridLines.append(QLine(box.left(), box.bottom(), box.right(), box.bottom()));
            }
            // No cell is wide enough to show more than its first thousand characters; laying
            // out a pasted megabyte on every paint would stall the screen.
            const QString& full = cells_[index(r, c)];
            const QString text = full.size() > 1024 ? full.left(1024) : full;
            if (!text.isEmpty()) {
                // drawText keeps a text to its box by itself, and only where it does not fit.
                p.setPen(fixed ? headingText : textColour);
                p.drawText(inner.adjusted(TextPadding, 0, -TextPadding, 0),
                           int(alignmentFlags(alignment_[index(r, c)])) | Qt::TextSingleLine, text);
            }
        }
    }
    p.setPen(GridLineColour);
    drawJoined(p, std::move(gridLines));
    p.setPen(darkLine);
    drawJoined(p, std::move(darkLines));
    p.setPen(lightLine);
    drawJoined(p, std::move(lightLines));

    // A selection of more than one cell is outlined: its colour may equal the background.
    if (sel.width() > 1 || sel.height() > 1) {
        int left = -1, top = -1, right = -1, bottom = -1;
        for (int i = 0; i < cols.size(); ++i)
            if (cols[i] >= sel.left() && cols[i] <= sel.right() && cols[i] >= firstCol) {
                if (left < 0)
                    left = lefts[i];
                right = lefts[i] + colWidthPx(cols[i]) - 2;
            }
        for (int r : rows)
            if (r >= sel.top() && r <= sel.bottom() && r >= firstRow) {
                if (top < 0)
                    top = rowTopPx(r);
                bottom = rowTopPx(r) + rh - 2;
            }
        if (left >= 0 && top >= 0) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 2));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(QPoint(left + 1, top + 1), QPoint(right, bottom)));
        }
    }

    if (hasFocus()) {
        const QRect current = cellRect(row_, col_);
        if (!current.isEmpty()) {
            QPen pen(textColour, 1, Qt::DotLine);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(current.adjusted(1, 1, -2, -2));
        }
    }
}
