#pragma once
// What the grid tells assistive technology: it is a table whose rows and columns are the
// grid's own, fixed ones included, so table cell (r, c) is grid cell (r, c) and reads that
// cell's text as its name. The fixed rows and columns are the headers of the data cells;
// the current cell is the focus and the selection; every cell knows where it stands on
// screen, and can be made current or clicked through its actions.
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class FlexGrid;

class FlexGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit FlexGridAccessible(FlexGrid* grid);
    ~FlexGridAccessible() override;

    // Registers the grid's interface with Qt's accessibility, and makes it the one a new
    // grid answers with: an interface asked for while the grid was still being built is
    // one of its base class and is replaced.
    static void attach(FlexGrid* grid);

    // The grid's hooks: each tells the assistive tools what changed, when any are listening.
    static void currentChanged(FlexGrid* grid);
    static void cellsChanged(FlexGrid* grid, int top, int left, int bottom, int right);
    static void sizeChanged(FlexGrid* grid);

    // QAccessibleInterface
    QAccessible::Role role() const override { return QAccessible::Table; }
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    FlexGrid* grid() const;

    // One interface per grid coordinate, made when first asked for and kept until the grid
    // goes: a cell beyond the grid's current size reports itself invalid.
    mutable QHash<quint64, QAccessible::Id> cells_;
};

class FlexGridCellAccessible : public QAccessibleInterface,
                               public QAccessibleTableCellInterface,
                               public QAccessibleActionInterface {
public:
    FlexGridCellAccessible(FlexGrid* grid, int row, int col);

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return col_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface: a data cell can be made current, or clicked as the mouse
    // would.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    bool isHeading() const;

    QPointer<FlexGrid> grid_;
    int row_;
    int col_;
};
