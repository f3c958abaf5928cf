#include "page/CellEditor.h"

#include "page/FlexGrid.h"
#include "platform/keys.h"
#include "platform/twips.h"
#include "storage/celltext.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QValidator>
#include <limits>

namespace {

// Refuses any text that holds one of the given characters.
class RefusingValidator final : public QValidator {
public:
    RefusingValidator(const QString& refused, QObject* parent) : QValidator(parent), refused_(refused) {}
    State validate(QString& input, int&) const override
    {
        for (QChar c : refused_)
            if (input.contains(c))
                return Invalid;
        return Acceptable;
    }

private:
    QString refused_;
};

}  // namespace

CellEditor::CellEditor(FlexGrid* grid) : QObject(grid), grid_(grid)
{
    edit_ = new QLineEdit(grid->parentWidget());
    edit_->setObjectName(QStringLiteral("txtEdit"));
    edit_->setFont(grid->font());
    edit_->setFrame(false);
    // A cell holds as much as the page text can: no cut at the line edit's usual 32,767.
    edit_->setMaxLength(std::numeric_limits<int>::max());
    edit_->hide();
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textChanged, this, &CellEditor::txtEdit_Change);
    connect(edit_, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
    // A scrolled cell no longer lies under the editor.
    connect(grid, &FlexGrid::Scroll, this, &CellEditor::hide);
    grid->installEventFilter(this);
}

void CellEditor::setRefused(const QString& characters)
{
    delete edit_->validator();
    edit_->setValidator(characters.isEmpty() ? nullptr : new RefusingValidator(characters, edit_));
}

void CellEditor::setReadOnly(bool readOnly)
{
    edit_->setReadOnly(readOnly);
}

bool CellEditor::isOpen() const
{
    return edit_->isVisible();
}

void CellEditor::hide()
{
    edit_->hide();
}

void CellEditor::place()
{
    const QPoint origin = grid_->pos();
    edit_->setGeometry(origin.x() + twips::toPixels(grid_->CellLeft()),
                       origin.y() + twips::toPixels(grid_->CellTop()),
                       twips::toPixels(grid_->CellWidth()), twips::toPixels(grid_->CellHeight()));
}

QString CellEditor::cellName() const
{
    // The cell's headings name it: the fixed rows above it and the fixed columns beside it.
    QStringList parts;
    for (int r = 0; r < grid_->FixedRows() && r < grid_->Rows(); ++r)
        parts << grid_->TextMatrix(r, EditCol).trimmed();
    for (int c = 0; c < grid_->FixedCols() && c < grid_->Cols(); ++c)
        parts << grid_->TextMatrix(EditRow, c).trimmed();
    parts.removeAll(QString());
    return parts.isEmpty() ? tr("Cell") : parts.join(QStringLiteral(", "));
}

void CellEditor::open(int& keyAscii)
{
    EditRow = grid_->Row();
    EditCol = grid_->Col();
    {
        const QSignalBlocker block(edit_);
        edit_->setText(grid_->Text());
    }
    edit_->setFont(grid_->font());
    edit_->setAccessibleName(cellName());
    place();
    edit_->show();
    edit_->raise();
    edit_->setFocus();
    // The caret stands at the end, so a typed character adds to the cell's text.
    edit_->end(false);
    // The key reaches the editor now, whole: a key posted to arrive later would come after
    // the keys a quick typist has already pressed.
    if (keyAscii == 8) {
        keys::sendTo(edit_, Qt::Key_Backspace);
    } else if (keyAscii != 13 && keyAscii != 27) {
        const QString typed = grid_->KeyText().isEmpty() ? QString(QChar(keyAscii)) : grid_->KeyText();
        keys::sendTextTo(edit_, typed);
    }
    keyAscii = 0;
}

void CellEditor::txtEdit_Change(const QString& text)
{
    // TAB, CR and LF would move every later cell when the text is read back; NUL cannot be
    // stored on a server.
    if (celltext::needsCleaning(text)) {
        const int caret = edit_->cursorPosition();
        const QSignalBlocker block(edit_);
        edit_->setText(celltext::cleanCell(text));
        edit_->setCursorPosition(caret);
    }
    grid_->setTextMatrix(EditRow, EditCol, edit_->text());
    emit changed();
}

bool CellEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_) {
        if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && isOpen())
            place();
        return false;
    }
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (keys::keyCode(key)) {
        case keys::Enter:
            if (onEnter) {
                onEnter();
            } else {
                hide();
                grid_->setFocus();
            }
            return true;
        case keys::Tab:
            if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
                return false;
            if (onTab) {
                onTab(key);
            } else {
                hide();
                grid_->setFocus();
                QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
                QCoreApplication::sendEvent(grid_, &again);
            }
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
