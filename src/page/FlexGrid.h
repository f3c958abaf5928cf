#pragma once
// The grid control of the day page, the set-up page and the template editor.
//
// Every cell, the fixed ones included, lives at its grid coordinates (row r, column c).
// Fixed rows and columns are drawn as headings, stay in place while the data area scrolls,
// and can never be made current by the user. Sizes and positions are in twips.
#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <QVector>

class FlexGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    // Lowering drops the rows or columns beyond; raising adds empty ones; the cells that
    // remain keep their text. The current cell and selection are kept inside the grid.
    int Rows() const { return rows_; }
    void setRows(int rows);
    int Cols() const { return cols_; }
    void setCols(int cols);
    // Headings. Setting them adds rows or columns where needed, so that at least one row
    // and column remain below and beside them.
    int FixedRows() const { return fixedRows_; }
    void setFixedRows(int n);
    int FixedCols() const { return fixedCols_; }
    void setFixedCols(int n);

    // The current cell. Setting Row or Col also collapses the selection onto it.
    int Row() const { return row_; }
    void setRow(int row);
    int Col() const { return col_; }
    void setCol(int col);
    // The far corner of the selection that starts at (Row, Col).
    int RowSel() const { return rowSel_; }
    void setRowSel(int row);
    int ColSel() const { return colSel_; }
    void setColSel(int col);

    QString Text() const;
    void setText(const QString& text);
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    // The selected rectangle as cell text: TAB between cells, CR between rows. Writing lays
    // the text onto the selection from its top-left cell; text beyond the selection is
    // dropped; cells it does not reach keep their text.
    QString Clip() const;
    void setClip(const QString& text);
    // Empties every cell of the selected rectangle.
    void clearSelection();

    int ColWidth(int col) const;            // twips
    void setColWidth(int col, int twips);
    int RowHeight() const;                  // twips, the same for every row

    // Alignment of the current cell: 4 centred, 1 left and vertically centred.
    int CellAlignment() const;
    void setCellAlignment(int alignment);

    // Position and size of the current cell in twips, relative to the grid's own top-left
    // corner, as it stands on screen now (after scrolling).
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;

    QColor BackColor() const { return backColor_; }
    void setBackColor(const QColor& colour);
    QColor BackColorSel() const { return backColorSel_; }
    void setBackColorSel(const QColor& colour);

    // The first data row and column shown after the fixed ones (scroll position).
    int TopRow() const { return topRow_; }
    void setTopRow(int row);
    int LeftCol() const { return leftCol_; }
    void setLeftCol(int col);

    // Pixel rectangle of a cell in viewport coordinates (what the mouse and tests use);
    // an empty rectangle when the cell is scrolled out of view.
    QRect cellRect(int row, int col) const;
    // Scrolls the data area just enough that a cell stands wholly in view.
    void ensureVisible(int row, int col);

    // While a KeyPress handler runs: the whole text the key typed (keyAscii holds only its
    // first UTF-16 unit). Empty otherwise.
    const QString& KeyText() const { return keyText_; }

signals:
    // A mouse click anywhere on the grid (a click on a data cell first makes it current).
    void Click();
    void GotFocus();
    // A character typed on the grid (13 Enter, 9 Tab, 8 Backspace, 27 Esc). A handler
    // that sets the code to 0 discards the key; it finds the whole text that the key typed
    // in KeyText. Connect directly only.
    void KeyPress(int& keyAscii);
    // The data area scrolled (the top row or left column changed).
    void Scroll();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Dragging from a data cell, or Shift with the arrow keys, stretches the selection.
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    static constexpr int RowPadding = 6;  // pixels added to the font height for a row

    int index(int row, int col) const { return row * cols_ + col; }
    bool hasCell(int row, int col) const;
    // Not named resize, which would hide QWidget::resize from the grid's users.
    void resizeCells(int rows, int cols);
    // The fixed rows and columns that exist (a grid may have fewer rows than FixedRows).
    int frozenRows() const;
    int frozenCols() const;
    QRect selection() const;  // x = column, y = row, corners normalised
    void clampCurrent();
    void moveCurrent(int row, int col);
    void extendSelection(int row, int col);
    void updateScrollBars();
    void syncScrollPosition();
    int fullRowsShown() const;
    int maxTopRow() const;
    int maxLeftCol() const;
    int rowAt(int y) const;  // -1 outside the cells
    int colAt(int x) const;
    int colLeftPx(int col) const;  // viewport x of a column's left edge, after scrolling
    int rowTopPx(int row) const;
    int colWidthPx(int col) const;
    int rowHeightPx() const;
    int fixedWidthPx() const;
    int fixedHeightPx() const;

    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    int row_ = 0;
    int col_ = 0;
    int rowSel_ = 0;
    int colSel_ = 0;
    int topRow_ = 0;
    int leftCol_ = 0;
    QString keyText_;
    QVector<QString> cells_;
    QVector<quint8> alignment_;  // per cell: 0 default (left), 1 left, 4 centre
    QVector<int> colWidths_;     // twips
    QColor backColor_{Qt::white};
    QColor backColorSel_{Qt::white};
    int rowHeightPx_ = 0;      // from the font
    int scrollBatch_ = 0;      // > 0 while one move sets both scroll positions
    bool scrollPending_ = false;
    bool dragging_ = false;    // the left button went down on a data cell
};
