#include "navigation/CellHistory.h"

#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "platform/keys.h"
#include "storage/celltext.h"
#include "storage/database.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The grid's first cell of the page's cell text.
constexpr int FirstRow = 3;
constexpr int FirstCol = 1;

QTreeWidget* makeList(QWidget* parent, const QStringList& headings, const QString& name)
{
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHeaderLabels(headings);
    list->setAccessibleName(name);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

QString flagShown(const QString& text)
{
    return text == QLatin1String("1") ? frmDayChanges::tr("closed") : frmDayChanges::tr("open");
}

}  // namespace

QString CellHistory::when(const QDateTime& moment)
{
    return QLocale::system().toString(moment.toLocalTime(), QLocale::ShortFormat);
}

QString CellHistory::shown(const QString& text)
{
    if (text.isEmpty())
        return tr("(empty)");
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return line;
}

frmCellHistory::frmCellHistory(QWidget* parent, const QString& cell, const std::vector<storage::Change>& changes,
                               const QString& whyNot)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCellHistory"));
    setWindowTitle(tr("History of the Cell"));
    auto* layout = new QVBoxLayout(this);
    lblCell = new QLabel(changes.empty() ? tr("No change of the cell %1 has been stored.").arg(cell)
                                         : tr("Earlier texts of the cell %1, newest first:").arg(cell),
                         this);
    layout->addWidget(lblCell);
    lstHistory = makeList(this, {tr("Text"), tr("Stored"), tr("Desk")}, tr("Earlier texts of the cell %1").arg(cell));
    lblCell->setBuddy(lstHistory);
    const storage::Change* first = nullptr;
    for (const storage::Change& c : changes) {
        // A text typed here that the user gave up for another desk's: never stored, listed
        // so that it can be put back.
        const QString when = c.notKept() ? tr("not kept, %1").arg(CellHistory::when(c.moment)) : CellHistory::when(c.moment);
        auto* item = new QTreeWidgetItem(lstHistory, {CellHistory::shown(c.newText), when, c.desk});
        item->setData(0, Qt::UserRole, c.newText);
        if (!c.notKept())
            first = &c;
    }
    // The text the cell held before its first stored change.
    if (first) {
        const storage::Change& firstChange = *first;
        auto* item = new QTreeWidgetItem(lstHistory, {CellHistory::shown(firstChange.oldText),
                                                      tr("before %1").arg(CellHistory::when(firstChange.moment)),
                                                      QString()});
        item->setData(0, Qt::UserRole, firstChange.oldText);
    }
    if (lstHistory->topLevelItemCount() > 0)
        lstHistory->setCurrentItem(lstHistory->topLevelItem(0));
    layout->addWidget(lstHistory);
    if (!whyNot.isEmpty()) {
        lblWhyNot = new QLabel(whyNot, this);
        lblWhyNot->setObjectName(QStringLiteral("lblWhyNot"));
        lblWhyNot->setWordWrap(true);
        layout->addWidget(lblWhyNot);
    }

    auto* buttons = new QHBoxLayout;
    cmdPutBack = new QPushButton(tr("&Put back"), this);
    cmdPutBack->setEnabled(whyNot.isEmpty() && lstHistory->topLevelItemCount() > 0);
    cmdPutBack->setDefault(true);
    cmdClose = new QPushButton(tr("Close"), this);
    buttons->addStretch();
    buttons->addWidget(cmdPutBack);
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    connect(cmdPutBack, &QPushButton::clicked, this, [this] {
        if (!lstHistory->currentItem())
            return;
        emit putBack(chosenText());
        accept();
    });
    connect(lstHistory, &QTreeWidget::itemActivated, cmdPutBack, &QPushButton::click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    resize(560, 320);
    lstHistory->setFocus();
}

QString frmCellHistory::chosenText() const
{
    const QTreeWidgetItem* item = lstHistory->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

frmDayChanges::frmDayChanges(QWidget* parent, const QString& day, const std::vector<storage::Change>& changes)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDayChanges"));
    setWindowTitle(tr("Changes of the Day"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(changes.empty() ? tr("No change of %1 has been stored.").arg(day)
                                             : tr("Changes of %1, newest first:").arg(day),
                             this);
    layout->addWidget(label);
    lstChanges = makeList(this, {tr("Stored"), tr("Desk"), tr("Cell"), tr("Old text"), tr("New text")},
                          tr("Changes of %1").arg(day));
    label->setBuddy(lstChanges);
    for (const storage::Change& c : changes) {
        QString cell;
        QString oldText = CellHistory::shown(c.oldText);
        QString newText = CellHistory::shown(c.newText);
        if (c.notKept())
            newText = tr("%1 (not kept)").arg(newText);
        if (c.field == QLatin1String("Memo") || (c.notKept() && c.row < 0)) {
            cell = tr("Memo");
        } else if (c.field == QLatin1String("Clinic")) {
            cell = tr("Closed flag");
            oldText = flagShown(c.oldText);
            newText = flagShown(c.newText);
        } else {
            QStringList parts;
            for (const QString& p : {c.timeLabel, c.provider})
                if (!p.isEmpty())
                    parts << p;
            cell = parts.isEmpty() ? tr("row %1, column %2").arg(c.row + 1).arg(c.col + 1)
                                   : parts.join(QStringLiteral(", "));
        }
        new QTreeWidgetItem(lstChanges, {CellHistory::when(c.moment), c.desk, cell, oldText, newText});
    }
    if (lstChanges->topLevelItemCount() > 0)
        lstChanges->setCurrentItem(lstChanges->topLevelItem(0));
    layout->addWidget(lstChanges);
    cmdClose = new QPushButton(tr("Close"), this);
    cmdClose->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    resize(760, 360);
    lstChanges->setFocus();
}

CellHistory::CellHistory(frmAppt& form) : QObject(&form), form_(form)
{
    form.addCommand(form.mnuEdit, "mnuEditHistory", tr("History of the Cell\tCtrl+H"),
                    [this] { mnuEditHistory_Click(); });
    form.addCommand(form.mnuEdit, "mnuEditDayChanges", tr("Changes of the Day"),
                    [this] { mnuEditDayChanges_Click(); });
    form.addKeyHandler([this](int keyCode, int shift) {
        if (shift != 2 || keyCode != keys::KeyA + ('H' - 'A'))
            return false;
        mnuEditHistory_Click();
        return true;
    });
    // The grid's right-click menu (and the keyboard's menu key) offers the same.
    form.Grid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(form.Grid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(form_.Grid1);
        menu.setObjectName(QStringLiteral("mnuGridContext"));
        menu.addAction(tr("History of the Cell\tCtrl+H"), this, [this] { mnuEditHistory_Click(); });
        menu.addAction(tr("Changes of the Day"), this, [this] { mnuEditDayChanges_Click(); });
        menu.exec(form_.Grid1->mapToGlobal(at));
    });
}

void CellHistory::open(QDialog* dialog)
{
    if (dialog_)
        dialog_->deleteLater();
    dialog_ = dialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QObject::destroyed, this, [this, dialog] {
        if (dialog_ == dialog)
            dialog_ = nullptr;
    });
    dialog->open();
}

void CellHistory::mnuEditHistory_Click()
{
    FlexGrid* grid = form_.Grid1;
    const int row = grid->Row(), col = grid->Col();
    if (row < FirstRow || row > form_.LastRow || col < FirstCol || col > form_.LastCol)
        return;
    showCell(row - FirstRow, col - FirstCol);
}

void CellHistory::showCell(int row, int col)
{
    form_.hideEditor();
    const int gridRow = row + FirstRow, gridCol = col + FirstCol;
    QStringList parts;
    for (const QString& p : {form_.Grid1->TextMatrix(gridRow, 0).trimmed(), form_.Grid1->TextMatrix(2, gridCol).trimmed()})
        if (!p.isEmpty())
            parts << p;
    std::vector<storage::Change> changes;
    try {
        changes = storage::History(form_.database()).cell(form_.PageDate, row, col);
    } catch (const storage::StorageError& e) {
        form_.report(e.message());
        return;
    }
    // A cell the layout on screen no longer has (fewer providers or times since) is named
    // as the history remembers it.
    const bool outside = gridRow > form_.LastRow || gridCol > form_.LastCol;
    if (outside && !changes.empty()) {
        parts.clear();
        for (const QString& p : {changes.front().timeLabel.trimmed(), changes.front().provider.trimmed()})
            if (!p.isEmpty())
                parts << p;
    }
    const QString cell = parts.join(QStringLiteral(", "));
    QString whyNot;
    if (outside)
        whyNot = frmCellHistory::tr("The cell lies outside the page as it is laid out now (it has fewer providers or "
                    "times than when the text was stored): its texts can be read, not put back.");
    else if (form_.Check2->isChecked())
        whyNot = frmCellHistory::tr("The page is locked: clear %1 to put a text back.").arg(QString(form_.Check2->text()).remove(u'&'));
    auto* dialog = new frmCellHistory(&form_, cell, changes, whyNot);
    connect(dialog, &frmCellHistory::putBack, this, [this, gridRow, gridCol](const QString& text) {
        // An ordinary edit of the cell: stored with the page, and remembered then.
        if (gridRow <= form_.LastRow && gridCol <= form_.LastCol && !form_.Check2->isChecked())
            form_.Grid1->setTextMatrix(gridRow, gridCol, celltext::cleanCell(text));
        form_.Grid1->setRow(gridRow);
        form_.Grid1->setCol(gridCol);
        form_.Grid1->setFocus();
    });
    open(dialog);
}

void CellHistory::mnuEditDayChanges_Click()
{
    form_.hideEditor();
    std::vector<storage::Change> changes;
    try {
        changes = storage::History(form_.database()).day(form_.PageDate);
    } catch (const storage::StorageError& e) {
        form_.report(e.message());
        return;
    }
    open(new frmDayChanges(&form_, QLocale::system().toString(form_.PageDate, QLocale::LongFormat), changes));
}
