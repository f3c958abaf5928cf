#pragma once
// The overlay editor of a grid's cells (txtEdit): a line edit laid exactly over the current
// cell when the user starts typing on the grid, which writes every change straight into that
// cell. The day page, the set-up page and the template editor edit their grids through it;
// what differs between them is given by the hooks below.
#include <QObject>
#include <QString>
#include <functional>

class FlexGrid;
class QKeyEvent;
class QLineEdit;

class CellEditor : public QObject {
    Q_OBJECT
public:
    // The editor is made as a sibling of the grid, hidden.
    explicit CellEditor(FlexGrid* grid);

    QLineEdit* txtEdit() const { return edit_; }

    // The grid's KeyPress: opens the editor over the current cell with the cell's text and
    // hands it the key, so that typing starts the edit (Enter and Esc only open it; Backspace
    // acts in it). The key is consumed.
    void open(int& keyAscii);
    void hide();
    bool isOpen() const;
    // Lays the editor over its cell again (after the grid moved or was resized).
    void place();

    // Characters the editor refuses, typed or pasted, with a beep.
    void setRefused(const QString& characters);
    // While read-only the editor opens and shows the cell's text but changes nothing.
    void setReadOnly(bool readOnly);

    // Enter in the editor; by default it closes and the grid takes the focus.
    std::function<void()> onEnter;
    // Tab in the editor; by default it closes and the key acts as Tab on the grid.
    std::function<void(QKeyEvent*)> onTab;

    // The cell being edited.
    int EditRow = 0;
    int EditCol = 0;

signals:
    // The edited cell took the editor's text.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void txtEdit_Change(const QString& text);
    QString cellName() const;

    FlexGrid* grid_;
    QLineEdit* edit_;
};
