#include "setup/frmConfigure.h"

#include "app/layoutvars.h"
#include "app/screens.h"
#include "page/CellEditor.h"
#include "page/FlexGrid.h"
#include "page/pagelayout.h"
#include "platform/colours.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "platform/paintlock.h"
#include "platform/programfolder.h"
#include "platform/twips.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/settings.h"
#include "storage/setupstore.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

using storage::StorageError;

namespace {

// Monday to Sunday: the day shown, and the next day as Finish names it.
const char* const kDayNames[7] = {
    QT_TRANSLATE_NOOP("frmConfigure", "Monday"),   QT_TRANSLATE_NOOP("frmConfigure", "Tuesday"),
    QT_TRANSLATE_NOOP("frmConfigure", "Wednesday"), QT_TRANSLATE_NOOP("frmConfigure", "Thursday"),
    QT_TRANSLATE_NOOP("frmConfigure", "Friday"),   QT_TRANSLATE_NOOP("frmConfigure", "Saturday"),
    QT_TRANSLATE_NOOP("frmConfigure", "Sunday")};
const char* const kShortNames[7] = {
    QT_TRANSLATE_NOOP("frmConfigure", "Mon"), QT_TRANSLATE_NOOP("frmConfigure", "Tue"),
    QT_TRANSLATE_NOOP("frmConfigure", "Wed"), QT_TRANSLATE_NOOP("frmConfigure", "Thu"),
    QT_TRANSLATE_NOOP("frmConfigure", "Fri"), QT_TRANSLATE_NOOP("frmConfigure", "Sat"),
    QT_TRANSLATE_NOOP("frmConfigure", "Sun")};

}  // namespace

frmConfigure::frmConfigure()
{
    setObjectName(QStringLiteral("frmConfigure"));
    setWindowTitle(tr("Configure Page Templates"));
    setKeyPreview(true);
    buildControls();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &frmConfigure::focusWindowChanged);
}

frmConfigure::~frmConfigure()
{
    // The controls' own destruction would still pass their events through this filter.
    Grid1->viewport()->removeEventFilter(this);
    Grid1->removeEventFilter(this);
    statusList->removeEventFilter(this);
    while (!children().isEmpty())
        delete children().constFirst();
}

void frmConfigure::buildControls()
{
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(2, 2, 6, 2);
    root->setSpacing(8);

    Grid1 = new FlexGrid(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setAccessibleName(tr("Page template"));
    Grid1->setFixedRows(3);
    Grid1->setFixedCols(1);
    Grid1->setFont(pageGridFont());
    Grid1->setContextMenuPolicy(Qt::CustomContextMenu);
    root->addWidget(Grid1, 1);
    connect(Grid1, &FlexGrid::KeyPress, this, &frmConfigure::Grid1_KeyPress);
    Grid1->installEventFilter(this);
    Grid1->viewport()->installEventFilter(this);

    editor_ = new CellEditor(Grid1);
    txtEdit = editor_->txtEdit();
    txtEdit->setFont(pageGridFont());

    auto* side = new QWidget(this);
    side->setFixedWidth(250);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 8, 0, 8);
    column->setSpacing(8);
    root->addWidget(side);

    QFont dayFont(QStringLiteral("Arial"), 14);
    dayFont.setBold(true);
    lblCalDay = new QLabel(tr(kDayNames[0]), this);
    lblCalDay->setObjectName(QStringLiteral("lblCalDay"));
    lblCalDay->setFont(dayFont);
    lblCalDay->setAlignment(Qt::AlignCenter);
    column->addWidget(lblCalDay);

    QFont hintFont(QStringLiteral("Arial"), 9);
    hintFont.setBold(true);
    auto hint = [&](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextFormat(Qt::PlainText);
        l->setFont(hintFont);
        return l;
    };
    auto* commands = new QGridLayout;
    commands->setHorizontalSpacing(8);
    commands->setVerticalSpacing(6);
    CmdFinish = new QPushButton(tr("&Finish"), this);
    CmdFinish->setObjectName(QStringLiteral("CmdFinish"));
    CmdFinish->setFont(hintFont);
    CmdFinish->setAutoDefault(false);
    CmdFinish->setAccessibleDescription(tr("Stores this day and shows the next"));
    connect(CmdFinish, &QPushButton::clicked, this, &frmConfigure::CmdFinish_Click);
    Label11 = hint("Label11", tr("Press  F7"));
    commands->addWidget(CmdFinish, 0, 0);
    commands->addWidget(Label11, 0, 1);

    statusList = new QComboBox(this);
    statusList->setObjectName(QStringLiteral("Combo"));
    statusList->setProperty("index", 0);
    statusList->setAccessibleName(tr("Open or closed on this weekday"));
    statusList->setFocusPolicy(Qt::StrongFocus);
    statusList->installEventFilter(this);
    connect(statusList, &QComboBox::activated, this, &frmConfigure::Combo_Click);
    Label6 = hint("Label6", tr("Press F8"));
    commands->addWidget(statusList, 1, 0);
    commands->addWidget(Label6, 1, 1);
    commands->setColumnStretch(0, 1);
    column->addLayout(commands);

    Label7 = hint("Label7", tr("Press F1 for Help"));
    Label7->setAlignment(Qt::AlignCenter);
    column->addWidget(Label7);

    lblHelp = new QLabel(tr("You can use any print character to block out the time periods that a particular person is "
                            "unavailable for appointments.  Suggested ways are using **** , ==== ,  - - - -   or  ####  to "
                            "fill in the relevant spaces.  Look at the demo pages for examples. Use your own discretion to "
                            "make the page look nice!  Please press F1 Key again to turn off this Help message. Thank you."),
                         this);
    lblHelp->setObjectName(QStringLiteral("lblHelp"));
    lblHelp->setTextFormat(Qt::PlainText);
    lblHelp->setWordWrap(true);
    lblHelp->setFont(hintFont);
    lblHelp->setMargin(6);
    lblHelp->setFrameShape(QFrame::Box);
    colours::paint(lblHelp, colours::Cream);
    lblHelp->hide();
    column->addWidget(lblHelp);
    column->addStretch(1);

    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->hide();

    gridMenu = new QMenu(this);
    gridMenu->setObjectName(QStringLiteral("gridMenu"));
    mnuGridCopy = gridMenu->addAction(tr("&Copy"), this, &frmConfigure::copyCells);
    mnuGridCopy->setObjectName(QStringLiteral("mnuGridCopy"));
    mnuGridPaste = gridMenu->addAction(tr("&Paste"), this, &frmConfigure::pasteCells);
    mnuGridPaste->setObjectName(QStringLiteral("mnuGridPaste"));

    setTabOrder(Grid1, CmdFinish);
    setTabOrder(CmdFinish, statusList);
}

void frmConfigure::report(const QString& message)
{
    dialogs::message(this, message, tr("Configure Page Templates"), dialogs::Buttons::Ok,
                     dialogs::Icon::Critical);
}

bool frmConfigure::Form_Load()
{
    // The window: the screen's width, its height less 280 twips, at the top left.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        setGeometry(QRect(area.topLeft(), QSize(area.width(), std::max(area.height() - twips::toPixels(280), 400))));
    }

    Loading = true;
    try {
        db_ = std::make_unique<storage::Database>(program::bookLocation());
        const storage::Settings settings = storage::readSettings(*db_);
        settingsVersion_ = settings.version;
        const storage::Layout& l = settings.layout;
        if (!l.complete()) {
            report(tr("The settings of the pages are not complete (%1 never stored). Please "
                      "complete the Setup Page first.")
                       .arg(l.missing.join(QStringLiteral(", "))));
            return false;
        }
        SharedLayout.setStatusLabels(l.location);
        statusList->clear();
        statusList->addItem(SharedLayout.OpenLabel);
        statusList->addItem(SharedLayout.ClosedLabel);
        statusList->setCurrentIndex(0);

        SharedLayout.ListNo = l.listno;
        SharedLayout.ColCount = SharedLayout.ListNo + 1;
        SharedLayout.SitesText = l.sites;
        SplitList(SharedLayout.SitesText, SharedLayout.SiteList);
        SharedLayout.NamesText = l.names;
        SplitList(SharedLayout.NamesText, SharedLayout.NameList);

        layout_ = std::make_unique<PageGridLayout>(*Grid1, PageGridLayout::TemplateEditor);
        // Instead of a template step: the data area, all empty, as cell text.
        layout_->afterTimeRows = [this] {
            LastRow = layout_->LastRow;
            selectDataArea();
            EmptyText = LastCol >= 1 ? Grid1->Clip() : QString();
        };
        layout_->BuildProviderColumns(SharedLayout.ColCount, SharedLayout.SiteList, SharedLayout.NameList);
        LastCol = layout_->LastCol;
        SharedLayout.OpenTime = l.open;
        SharedLayout.CloseTime = l.close;
        SharedLayout.TimeSlot = l.timeslot;
        layout_->BuildTimeRows(SharedLayout.OpenTime, SharedLayout.CloseTime, SharedLayout.TimeSlot);
        fitTimeColumn();
    } catch (const StorageError& e) {
        report(e.message());
        return false;
    } catch (const LayoutError& e) {
        report(e.message());
        return false;
    }
    Grid1->setRow(3);
    Grid1->setCol(std::min(1, LastCol));
    colourGrid(false);
    Loading = false;
    return true;
}

void frmConfigure::fitTimeColumn()
{
    // The time column is narrow; where the grid's font sets a time label wider than it, the
    // column grows just enough that no time is cut off.
    const QFontMetrics metrics(Grid1->font());
    int widest = 0;
    for (int r = 4; r < Grid1->Rows(); ++r)
        widest = std::max(widest, metrics.horizontalAdvance(Grid1->TextMatrix(r, 0)));
    const int needed = twips::fromPixels(widest + 10);
    if (needed > Grid1->ColWidth(0))
        Grid1->setColWidth(0, needed);
}

void frmConfigure::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    // The first activation comes once the window is on screen, whoever gives it the focus.
    if (!activated_ && !event->spontaneous())
        QTimer::singleShot(0, this, [this] {
            if (!activated_ && !isUnloading())
                Form_Activate();
        });
}

void frmConfigure::focusWindowChanged(QWindow* window)
{
    if (!window || !activated_ || isUnloading())
        return;
    if (window == windowHandle()) {
        // Back from another screen, not from one of this screen's own message boxes.
        if (awayToOtherForm_)
            Form_Activate();
        return;
    }
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowHandle() == window) {
            if (top != this && qobject_cast<Form*>(top))
                awayToOtherForm_ = true;
            return;
        }
}

void frmConfigure::Form_Activate()
{
    activated_ = true;
    awayToOtherForm_ = false;
    dialogs::message(this,
                     tr("Please block out the time slots where the person is unavailable for "
                        "appointments. You can use the right mouse button to perform copy and "
                        "paste function to save on keystrokes. Remember to press ENTER after "
                        "each entry!"),
                     tr("Configure Page"), dialogs::Buttons::Ok);
    showDay(1);
}

void frmConfigure::showDay(int weekday)
{
    storage::Settings settings;
    try {
        settings = storage::readSettings(*db_);
    } catch (const StorageError& e) {
        report(e.message());
        return;
    }
    settingsVersion_ = settings.version;
    TxtDataDay = weekday;
    TxtData = settings.templates[weekday - 1];
    lblCalDay->setText(tr(kDayNames[weekday - 1]));
    CmdFinish->setText(weekday == 7 ? tr("Finish") : tr(kShortNames[weekday % 7]));
    Check1->setChecked(settings.closed[weekday % 7]);
    ShowTemplate();
    Grid1->setFocus();
}

void frmConfigure::selectDataArea()
{
    Grid1->setRow(3);
    Grid1->setCol(1);
    Grid1->setColSel(LastCol);
    Grid1->setRowSel(LastRow);
}

void frmConfigure::colourGrid(bool closed)
{
    const QColor colour = closed ? colours::Desktop : colours::Cream;
    Grid1->setBackColor(colour);
    Grid1->setBackColorSel(colour);
}

void frmConfigure::ShowTemplate()
{
    Loading = true;
    if (LastCol >= 1) {
        PaintLock lock(Grid1);
        selectDataArea();
        // A shorter template leaves the rest of the area empty, not the day shown before.
        Grid1->setClip(EmptyText);
        Grid1->setClip(TxtData);
        Grid1->setRow(3);
        Grid1->setCol(1);
    }
    const bool closed = Check1->isChecked();
    colourGrid(closed);
    editor_->hide();
    statusList->setCurrentIndex(closed ? 1 : 0);
    Loading = false;
}

void frmConfigure::CmdFinish_Click()
{
    const int day = TxtDataDay;
    editor_->hide();
    QString cells;
    if (LastCol >= 1) {
        PaintLock lock(Grid1);
        const int row = Grid1->Row(), col = Grid1->Col();
        selectDataArea();
        cells = Grid1->Clip();
        Grid1->setRow(row);
        Grid1->setCol(col);
    }
    try {
        // The day's flag and cells together, or neither.
        settingsVersion_ = storage::storeTemplate(*db_, day, cells, Check1->isChecked(), settingsVersion_);
    } catch (const StorageError& e) {
        // The day stays on screen, so nothing typed is lost.
        report(e.message());
        return;
    }
    TxtData = cells;
    if (day < 7) {
        showDay(day + 1);
        return;
    }
    if (dialogs::message(this, tr("Do you wish to review your templates?"),
                         tr("Templates Review?"), dialogs::Buttons::YesNo)
        == dialogs::Answer::Yes) {
        showDay(1);
        return;
    }
    // A day page that cannot open (its message said why) hands over to the menu.
    if (!screens::show(Screen::Appt))
        screens::show(Screen::Menu);
    screens::unload(Screen::Setup);
    Unload();
}

void frmConfigure::Combo_Click()
{
    if (Loading)
        return;
    const bool closed = statusList->currentIndex() == 1;
    Check1->setChecked(closed);
    colourGrid(closed);
    editor_->hide();
    Grid1->setFocus();
}

void frmConfigure::Form_KeyDown(int& keyCode, int)
{
    switch (keyCode) {
    case keys::F7:
        keyCode = 0;
        CmdFinish_Click();
        return;
    case keys::F8:
        keyCode = 0;
        statusList->setFocus();
        return;
    case keys::F1:
        keyCode = 0;
        lblHelp->setVisible(!lblHelp->isVisible());
        return;
    default:
        return;
    }
}

void frmConfigure::Grid1_KeyPress(int& keyAscii)
{
    // Tab starts no editing: the grid passes the focus on.
    if (keyAscii == 9 || LastCol < 1)
        return;
    editor_->open(keyAscii);
}

void frmConfigure::copyCells()
{
    if (LastCol < 1)
        return;
    QGuiApplication::clipboard()->setText(Grid1->Clip());
}

void frmConfigure::pasteCells()
{
    if (LastCol < 1)
        return;
    QString text = QGuiApplication::clipboard()->text();
    // Text from elsewhere may break its rows with LF or CR LF and end with a break.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(u'\n', celltext::RowSeparator);
    if (text.endsWith(celltext::RowSeparator))
        text.chop(1);
    if (text.isEmpty())
        return;
    editor_->hide();
    // Onto one cell the whole block goes, as far as the data area reaches; onto a larger
    // selection, as much of it as the selection holds.
    if (Grid1->Row() == Grid1->RowSel() && Grid1->Col() == Grid1->ColSel()) {
        const QList<QStringList> rows = celltext::split(text);
        qsizetype width = 1;
        for (const QStringList& r : rows)
            width = std::max(width, r.size());
        Grid1->setRowSel(std::min<int>(LastRow, Grid1->Row() + int(rows.size()) - 1));
        Grid1->setColSel(std::min<int>(LastCol, Grid1->Col() + int(width) - 1));
    }
    Grid1->setClip(text);
}

void frmConfigure::popupGridMenu(QPoint at)
{
    // A press outside the selection makes the cell under it current.
    for (int r = 3; r <= LastRow; ++r)
        for (int col = 1; col <= LastCol; ++col) {
            if (!Grid1->cellRect(r, col).contains(at))
                continue;
            const bool inside = r >= std::min(Grid1->Row(), Grid1->RowSel()) && r <= std::max(Grid1->Row(), Grid1->RowSel())
                                && col >= std::min(Grid1->Col(), Grid1->ColSel())
                                && col <= std::max(Grid1->Col(), Grid1->ColSel());
            if (!inside) {
                Grid1->setRow(r);
                Grid1->setCol(col);
            }
        }
    editor_->hide();
    mnuGridPaste->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
    gridMenu->popup(Grid1->viewport()->mapToGlobal(at));
}

bool frmConfigure::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Grid1 || watched == Grid1->viewport()) && event->type() == QEvent::ContextMenu) {
        auto* menu = static_cast<QContextMenuEvent*>(event);
        if (menu->reason() == QContextMenuEvent::Mouse)
            popupGridMenu(watched == Grid1 ? Grid1->viewport()->mapFrom(Grid1, menu->pos()) : menu->pos());
        else
            popupGridMenu(Grid1->cellRect(Grid1->Row(), Grid1->Col()).center());
        return true;
    }
    if (watched == Grid1 && event->type() == QEvent::KeyPress) {
        // The menu key and Shift+F10 offer the same menu over the current cell.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            popupGridMenu(Grid1->cellRect(Grid1->Row(), Grid1->Col()).center());
            return true;
        }
    }
    if (watched == statusList && event->type() == QEvent::Wheel && !statusList->hasFocus()) {
        // A wheel turn over the list is no choice unless the user is in it.
        event->ignore();
        return true;
    }
    return Form::eventFilter(watched, event);
}

void frmConfigure::Form_QueryUnload(bool&, UnloadMode mode)
{
    // Closed by the user: the day on screen is not stored; the days passed already are.
    if (mode == ByUser)
        screens::show(Screen::Menu);
}
