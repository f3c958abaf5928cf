#include "page/FlexGridAccessible.h"

#include "page/FlexGrid.h"

#include <QWindow>

namespace {

quint64 key(int row, int col)
{
    return (quint64(quint32(row)) << 32) | quint32(col);
}

QAccessibleInterface* gridFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("FlexGrid") && object)
        if (auto* grid = qobject_cast<FlexGrid*>(object))
            return new FlexGridAccessible(grid);
    return nullptr;
}

int headingRows(const FlexGrid* grid)
{
    return std::min(grid->FixedRows(), grid->Rows());
}

int headingCols(const FlexGrid* grid)
{
    return std::min(grid->FixedCols(), grid->Cols());
}

}  // namespace

// --- the table ----------------------------------------------------------------------------

FlexGridAccessible::FlexGridAccessible(FlexGrid* grid) : QAccessibleWidget(grid, QAccessible::Table)
{
}

FlexGridAccessible::~FlexGridAccessible()
{
    for (QAccessible::Id id : std::as_const(cells_))
        QAccessible::deleteAccessibleInterface(id);
}

void FlexGridAccessible::attach(FlexGrid* grid)
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid);
    if (iface && !dynamic_cast<FlexGridAccessible*>(iface)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
        QAccessible::queryAccessibleInterface(grid);
    }
}

FlexGrid* FlexGridAccessible::grid() const
{
    return static_cast<FlexGrid*>(widget());
}

void FlexGridAccessible::currentChanged(FlexGrid* grid)
{
    // Only the user's own moves are news; a grid rebuilt behind a paint lock is not.
    if (!QAccessible::isActive() || !grid->hasFocus() || !grid->updatesEnabled())
        return;
    const int index = grid->Row() * grid->Cols() + grid->Col();
    QAccessibleEvent focus(grid, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
    QAccessibleEvent selection(grid, QAccessible::Selection);
    selection.setChild(index);
    QAccessible::updateAccessibility(&selection);
}

void FlexGridAccessible::cellsChanged(FlexGrid* grid, int top, int left, int bottom, int right)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent event(grid, QAccessibleTableModelChangeEvent::DataChanged);
    event.setFirstRow(top);
    event.setFirstColumn(left);
    event.setLastRow(bottom);
    event.setLastColumn(right);
    QAccessible::updateAccessibility(&event);
}

void FlexGridAccessible::sizeChanged(FlexGrid* grid)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent event(grid, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

int FlexGridAccessible::rowCount() const
{
    return grid()->Rows();
}

int FlexGridAccessible::columnCount() const
{
    return grid()->Cols();
}

int FlexGridAccessible::childCount() const
{
    return rowCount() * columnCount();
}

QAccessibleInterface* FlexGridAccessible::cellAt(int row, int column) const
{
    FlexGrid* g = grid();
    if (row < 0 || column < 0 || row >= g->Rows() || column >= g->Cols())
        return nullptr;
    const quint64 k = key(row, column);
    if (const auto it = cells_.constFind(k); it != cells_.constEnd())
        return QAccessible::accessibleInterface(*it);
    auto* cell = new FlexGridCellAccessible(g, row, column);
    cells_.insert(k, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface* FlexGridAccessible::child(int index) const
{
    const int cols = columnCount();
    if (index < 0 || cols == 0 || index >= childCount())
        return nullptr;
    return cellAt(index / cols, index % cols);
}

int FlexGridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    const QAccessibleTableCellInterface* cell =
        const_cast<QAccessibleInterface*>(child)->tableCellInterface();
    if (!cell || child->parent() != this)
        return -1;
    return cell->rowIndex() * columnCount() + cell->columnIndex();
}

QAccessibleInterface* FlexGridAccessible::childAt(int x, int y) const
{
    FlexGrid* g = grid();
    const QPoint point = g->viewport()->mapFromGlobal(QPoint(x, y));
    for (int r = 0; r < g->Rows(); ++r)
        for (int c = 0; c < g->Cols(); ++c)
            if (g->cellRect(r, c).contains(point))
                return cellAt(r, c);
    return nullptr;
}

QAccessibleInterface* FlexGridAccessible::focusChild() const
{
    FlexGrid* g = grid();
    return g->hasFocus() ? cellAt(g->Row(), g->Col()) : nullptr;
}

void* FlexGridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int FlexGridAccessible::selectedCellCount() const
{
    return childCount() > 0 ? 1 : 0;
}

QList<QAccessibleInterface*> FlexGridAccessible::selectedCells() const
{
    if (QAccessibleInterface* current = cellAt(grid()->Row(), grid()->Col()))
        return {current};
    return {};
}

QString FlexGridAccessible::columnDescription(int column) const
{
    FlexGrid* g = grid();
    QStringList parts;
    for (int r = 0; r < headingRows(g); ++r)
        if (const QString text = g->TextMatrix(r, column).trimmed(); !text.isEmpty())
            parts << text;
    return parts.join(QLatin1Char(' '));
}

QString FlexGridAccessible::rowDescription(int row) const
{
    FlexGrid* g = grid();
    QStringList parts;
    for (int c = 0; c < headingCols(g); ++c)
        if (const QString text = g->TextMatrix(row, c).trimmed(); !text.isEmpty())
            parts << text;
    return parts.join(QLatin1Char(' '));
}

// --- a cell -------------------------------------------------------------------------------

FlexGridCellAccessible::FlexGridCellAccessible(FlexGrid* grid, int row, int col)
    : grid_(grid), row_(row), col_(col)
{
}

bool FlexGridCellAccessible::isValid() const
{
    return grid_ && row_ < grid_->Rows() && col_ < grid_->Cols();
}

QWindow* FlexGridCellAccessible::window() const
{
    return grid_ ? grid_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* FlexGridCellAccessible::parent() const
{
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
}

bool FlexGridCellAccessible::isHeading() const
{
    return row_ < headingRows(grid_) || col_ < headingCols(grid_);
}

QString FlexGridCellAccessible::text(QAccessible::Text type) const
{
    if (!isValid() || type != QAccessible::Name)
        return QString();
    return grid_->TextMatrix(row_, col_).trimmed();
}

QRect FlexGridCellAccessible::rect() const
{
    if (!isValid())
        return QRect();
    const QRect inViewport = grid_->cellRect(row_, col_);
    if (inViewport.isEmpty())
        return QRect();
    return QRect(grid_->viewport()->mapToGlobal(inViewport.topLeft()), inViewport.size());
}

QAccessible::Role FlexGridCellAccessible::role() const
{
    if (!isValid())
        return QAccessible::Cell;
    if (row_ < headingRows(grid_))
        return QAccessible::ColumnHeader;
    if (col_ < headingCols(grid_))
        return QAccessible::RowHeader;
    return QAccessible::Cell;
}

QAccessible::State FlexGridCellAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    if (grid_->cellRect(row_, col_).isEmpty()) {
        s.invisible = true;
        s.offscreen = true;
    }
    if (!isHeading()) {
        s.focusable = true;
        s.selectable = true;
        s.selected = isSelected();
        s.focused = s.selected && grid_->hasFocus();
    }
    return s;
}

void* FlexGridCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

bool FlexGridCellAccessible::isSelected() const
{
    return isValid() && grid_->Row() == row_ && grid_->Col() == col_;
}

QList<QAccessibleInterface*> FlexGridCellAccessible::columnHeaderCells() const
{
    QList<QAccessibleInterface*> headers;
    if (!isValid() || isHeading())
        return headers;
    QAccessibleTableInterface* table = parent() ? parent()->tableInterface() : nullptr;
    for (int r = 0; table && r < headingRows(grid_); ++r)
        headers << table->cellAt(r, col_);
    return headers;
}

QList<QAccessibleInterface*> FlexGridCellAccessible::rowHeaderCells() const
{
    QList<QAccessibleInterface*> headers;
    if (!isValid() || isHeading())
        return headers;
    QAccessibleTableInterface* table = parent() ? parent()->tableInterface() : nullptr;
    for (int c = 0; table && c < headingCols(grid_); ++c)
        headers << table->cellAt(row_, c);
    return headers;
}

QStringList FlexGridCellAccessible::actionNames() const
{
    if (!isValid() || isHeading())
        return {};
    return {setFocusAction(), pressAction()};
}

void FlexGridCellAccessible::doAction(const QString& actionName)
{
    // Headings are never made current, by the user's tools no more than by the mouse.
    if (!isValid() || isHeading())
        return;
    if (actionName != setFocusAction() && actionName != pressAction())
        return;
    grid_->setFocus(Qt::OtherFocusReason);
    grid_->setRow(row_);
    grid_->setCol(col_);
    grid_->ensureVisible(row_, col_);
    if (actionName == pressAction())
        emit grid_->Click();
}
