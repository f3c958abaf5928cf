#include "page/frmAppt.h"

#include "app/layoutvars.h"
#include "app/screens.h"
#include "page/CellEditor.h"
#include "page/FlexGrid.h"
#include "page/pagelayout.h"
#include "page/daycalendar.h"
#include "platform/clock.h"
#include "platform/colours.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "platform/paintlock.h"
#include "platform/programfolder.h"
#include "platform/twips.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/storedtime.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QVBoxLayout>

using storage::Layout;
using storage::StorageError;

namespace {

// Refuses to lay out from a layout that has a field never written or a time that cannot
// be read, before anything on screen changes.
void checkLayout(const Layout& layout, const QString& whose)
{
    if (!layout.missing.isEmpty())
        throw LayoutError(layout.missing.first(), frmAppt::tr("(never written in %1)", "a setting that has no value").arg(whose));
    if (!storedtime::parse(layout.open))
        throw LayoutError(QStringLiteral("open"), layout.open);
    if (!storedtime::parse(layout.close))
        throw LayoutError(QStringLiteral("Close"), layout.close);
    if (layout.timeslot < 1 || layout.timeslot > 1440)
        throw LayoutError(QStringLiteral("timeslot"), QString::number(layout.timeslot));
}

}  // namespace

frmAppt::frmAppt()
{
    setObjectName(QStringLiteral("frmAppt"));
    setWindowTitle(tr("Appointments"));
    setKeyPreview(true);
    buildControls();
}

frmAppt::~frmAppt()
{
    // The control with the focus gives it up while every control and component still stands
    // and the connection is open: what its leaving stores (a memo) is stored now, not from
    // the middle of its destructor.
    if (QWidget* focused = QApplication::focusWidget(); focused && isAncestorOf(focused))
        focused->clearFocus();
    // The components go before the controls they watch.
    const QObjectList all = children();
    for (QObject* child : all)
        if (!child->isWidgetType() && !qobject_cast<QLayout*>(child))
            delete child;
    while (!children().isEmpty())
        delete children().constFirst();
}

void frmAppt::report(const QString& message)
{
    dialogs::message(this, message, tr("Appointments"), dialogs::Buttons::Ok,
                     dialogs::Icon::Critical);
}

void frmAppt::showStatus(const QString& message)
{
    // What failed and why on one line; the message as it was written in the tooltip.
    const QString text = message.trimmed();
    lblStatus->setText(text.simplified());
    lblStatus->setToolTip(text);
    lblStatus->setAccessibleDescription(text);
    lblStatus->setVisible(!text.isEmpty());
}

bool frmAppt::fail(const QString& message)
{
    report(message);
    return false;
}

storage::Settings frmAppt::readSettings()
{
    return storage::readSettings(*db_);
}

void frmAppt::fitToWorkArea()
{
    // 12288 twips wide; from the top left, as high as the work area less 280 twips, the
    // frame the window system adds included.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int outer = screen ? screen->availableGeometry().height() - twips::toPixels(280) : 700;
    const int frame = frameGeometry().height() - geometry().height();
    if (frame > 0)
        frameKnown_ = true;
    resize(twips::toPixels(12288), std::max(outer - frame, 300));
    move(0, 0);
}

bool frmAppt::event(QEvent* event)
{
    // The window system tells the frame only once the window is on screen: the height is
    // fitted again until the frame is known.
    if (!frameKnown_ && (event->type() == QEvent::Show || event->type() == QEvent::Move))
        QMetaObject::invokeMethod(this, &frmAppt::fitToWorkArea, Qt::QueuedConnection);
    return Form::event(event);
}

bool frmAppt::Form_Load()
{
    fitToWorkArea();

    try {
        db_ = std::make_unique<storage::Database>(program::bookLocation(), storage::Database::Use::DayPage);
        pages_ = std::make_unique<storage::PageTable>(*db_);
        const storage::Settings settings = readSettings();
        SettingsVersion = settings.version;
        if (!settings.layout.complete())
            return fail(tr(
                "The settings of the day page are not complete (%1 never stored). Please "
                "complete the Setup Page first.").arg(settings.layout.missing.join(QStringLiteral(", "))));
        checkLayout(settings.layout, tr("the settings", "never written in ..."));

        PageIsNew = false;
        PastLayout = false;
        bool& updating = calendar_->Updating();
        updating = true;
        SharedLayout.setStatusLabels(settings.layout.location);
        statusList->clear();
        statusList->addItem(SharedLayout.OpenLabel);
        statusList->addItem(SharedLayout.ClosedLabel);
        statusList->setCurrentIndex(0);
        for (int i = 0; i < 42; ++i)
            calendar_->setDayColour(i, colours::Cream);

        // A file the user may not write is still read; said once here, unless the start
        // already said it of the whole folder.
        if (const QString why = db_->readOnlyReason(); !why.isEmpty())
            dialogs::message(this, why, tr("Appointments"), dialogs::Buttons::Ok, dialogs::Icon::Information);
        else if (db_->readOnly() && !QFileInfo::exists(db_->path()))
            dialogs::message(this,
                             tr("This desk's user may only read on %1: the pages can be read, "
                                "but nothing typed on them can be stored.")
                                 .arg(db_->path()),
                             tr("Appointments"), dialogs::Buttons::Ok, dialogs::Icon::Information);
        else if (db_->readOnly() && QFileInfo(QFileInfo(db_->path()).absolutePath()).isWritable())
            dialogs::message(this,
                             tr("The database file %1 is read-only: the pages can be read, "
                                "but nothing typed on them can be stored.")
                                 .arg(QDir::toNativeSeparators(db_->path())),
                             tr("Appointments"), dialogs::Buttons::Ok, dialogs::Icon::Information);

        PageDate = program::today();
        calendar_->DrawMonth(PageDate);
        showDateCaptions(PageDate);
        LocatePage(PageDate);
        buildGrid(settings.layout);
        ApplyTemplate();
        ShowPage();
        updating = false;
    } catch (const StorageError& e) {
        return fail(e.message());
    } catch (const LayoutError& e) {
        return fail(e.message());
    }
    loaded_ = true;
    emit loaded();
    return true;
}

namespace {

bool sameLayout(const Layout& a, const Layout& b)
{
    return a.open == b.open && a.close == b.close && a.timeslot == b.timeslot && a.listno == b.listno
        && a.sites == b.sites && a.names == b.names && a.location == b.location && a.missing == b.missing;
}

}  // namespace

void frmAppt::buildGrid(const Layout& source)
{
    checkLayout(source, PastLayout ? tr("the page's own layout", "never written in ...")
                                    : tr("the settings", "never written in ..."));
    if (!layout_) {
        layout_ = std::make_unique<PageGridLayout>(*Grid1, PageGridLayout::DayPage);
        layout_->afterTimeRows = [this] {
            LastRow = layout_->LastRow;
            ApplyTemplate();
        };
    }
    // Browsing past pages mostly goes from one layout to the same: the grid's headings, times
    // and sizes are then those on screen, and only what a new build leaves differently is
    // set again (the grid back at its top row, the template of the new date).
    const bool built = gridBuilt_ && sameLayout(source, ShownLayout);
    SharedLayout.ListNo = source.listno;
    SharedLayout.ColCount = SharedLayout.ListNo + 1;
    SharedLayout.SitesText = source.sites;
    SplitList(SharedLayout.SitesText, SharedLayout.SiteList);
    SharedLayout.NamesText = source.names;
    SplitList(SharedLayout.NamesText, SharedLayout.NameList);
    if (!built)
        layout_->BuildProviderColumns(SharedLayout.ColCount, SharedLayout.SiteList, SharedLayout.NameList);
    LastCol = layout_->LastCol;
    SharedLayout.OpenTime = source.open;
    SharedLayout.CloseTime = source.close;
    SharedLayout.TimeSlot = source.timeslot;
    if (built) {
        SharedLayout.OpenTime = builtOpenTime_;
        Grid1->setTopRow(0);
        layout_->afterTimeRows();
    } else {
        gridBuilt_ = false;
        layout_->BuildTimeRows(SharedLayout.OpenTime, SharedLayout.CloseTime, SharedLayout.TimeSlot);
        builtOpenTime_ = SharedLayout.OpenTime;
    }
    LastRow = layout_->LastRow;
    ShownLayout = source;
    if (pages_ && !built)
        pages_->setCellLabels(cellLabels());
    gridBuilt_ = true;
}

storage::CellLabels frmAppt::cellLabels() const
{
    // The page's cell text starts at row 3 and column 1 of the grid.
    storage::CellLabels labels;
    for (int r = 3; r <= LastRow; ++r)
        labels.times << Grid1->TextMatrix(r, 0);
    for (int c = 1; c <= LastCol; ++c)
        labels.providers << Grid1->TextMatrix(2, c);
    return labels;
}

void frmAppt::LocatePage(QDate date)
{
    std::optional<storage::PageRow> found = pages_->find(date);
    if (found && !found->dataNull) {
        row_ = *found;
        return;
    }
    // A date never opened (or an empty table): the row is added with the settings' layout,
    // the weekday's template and its closed flag, all in one transaction, so that no crash
    // can leave a row without them.
    const storage::Settings settings = readSettings();
    storage::PageRow templated;
    if (found) {
        // A row whose Data was never stored (left so by an older version that stored the
        // template apart) is still a new page: it takes its template now, and the weekday's
        // flag where it has none.
        templated = *found;
        if (!templated.clinic)
            templated.clinic = settings.closedOn(date);
    } else {
        templated.calDate = date;
        templated.layout = settings.layout;
        templated.clinic = settings.closedOn(date);
    }
    templated.data = settings.templateFor(date);
    templated.dataNull = false;
    PageIsNew = true;
    try {
        if (found)
            pages_->update(templated);
        else
            templated = pages_->add(date, settings.layout, templated.data, *templated.clinic);
    } catch (const StorageError&) {
        // A file that cannot be written still shows its pages: this one as it would be made.
        // It is stored with the first change the file can take (SavePage).
        if (!db_->readOnly())
            throw;
    }
    row_ = templated;
}

void frmAppt::ApplyTemplate()
{
    TemplateText = readSettings().templateFor(PageDate);
    // A new page's template and flag were stored with its row.
    PageIsNew = false;
}

void frmAppt::LayOutPage()
{
    if (PageDate < program::today()) {
        PastLayout = true;
        buildGrid(row_.layout);
        Check2->setChecked(true);
        Check2_Click();
    } else {
        if (PastLayout) {
            PastLayout = false;
            buildGrid(readSettings().layout);
        }
        Check2->setChecked(false);
        Check2_Click();
        ApplyTemplate();
    }
    ShowPage();
}

void frmAppt::ShowPage()
{
    bool& updating = calendar_->Updating();
    const bool wasUpdating = updating;
    updating = true;
    // A flag never written shows the page open.
    const bool closed = row_.clinic.value_or(false);
    Check1->setChecked(closed);
    {
        PaintLock lock(Grid1);
        Grid1->setRow(3);
        Grid1->setCol(1);
        Grid1->setColSel(LastCol);
        Grid1->setRowSel(LastRow);
        Grid1->clearSelection();
        Grid1->setClip(row_.data);
        Grid1->setRow(3);
        Grid1->setCol(std::min(1, LastCol));
    }
    colourGrid(closed);
    hideEditor();
    statusList->setCurrentIndex(closed ? 1 : 0);
    TxtMemo->setPlainText(row_.memo);
    showDateCaptions(PageDate);
    updating = wasUpdating;
}

void frmAppt::colourGrid(bool closed)
{
    const QColor colour = closed ? colours::Desktop : colours::Cream;
    Grid1->setBackColor(colour);
    Grid1->setBackColorSel(colour);
}

void frmAppt::showDateCaptions(QDate date)
{
    const QLocale locale = QLocale::system();
    // A page typed while the server did not answer, of a day the server had no page of.
    if (row_.id < 0 && row_.calDate == date)
        lblCalDate->setText(tr("%1, not yet on the server").arg(locale.toString(date, QLocale::ShortFormat)));
    else
        lblCalDate->setText(locale.toString(date, QLocale::ShortFormat));
    lblCalDay->setText(locale.dayName(date.dayOfWeek(), QLocale::LongFormat));
    CalDateShown = date;
}

void frmAppt::SavePage()
{
    storage::PageRow saved = pageOnScreen();
    storeRow(saved);
}

storage::PageRow frmAppt::pageOnScreen()
{
    PaintLock lock(Grid1);
    const int row = Grid1->Row(), col = Grid1->Col();
    Grid1->setRow(3);
    Grid1->setCol(1);
    Grid1->setColSel(LastCol);
    Grid1->setRowSel(LastRow);
    const QString onScreen = LastCol >= 1 ? Grid1->Clip() : QString();
    Grid1->setRow(row);
    Grid1->setCol(col);

    // A page stored under a wider or longer layout than the one on screen keeps its cells
    // outside the data area: the screen's cells are written over the stored ones.
    QString text = onScreen;
    if (!row_.dataNull && !row_.data.isEmpty()) {
        const int screenRows = LastRow - 2;
        const int screenCols = LastCol;
        // Counted in place: the stored text is split only when it does reach beyond.
        int storedRows = 1, storedCols = 1, cells = 1;
        for (const QChar ch : row_.data) {
            if (ch == celltext::RowSeparator) {
                ++storedRows;
                cells = 1;
            } else if (ch == celltext::CellSeparator) {
                storedCols = std::max(storedCols, ++cells);
            }
        }
        if (storedRows > screenRows || storedCols > screenCols) {
            QList<QStringList> merged = celltext::split(row_.data);
            const QList<QStringList> screenCells = celltext::split(onScreen);
            while (merged.size() < screenRows)
                merged.append(QStringList());
            for (int r = 0; r < screenRows; ++r) {
                QStringList& cells = merged[r];
                while (cells.size() < screenCols)
                    cells.append(QString());
                for (int c = 0; c < screenCols; ++c)
                    cells[c] = screenCells.value(r).value(c);
            }
            text = celltext::join(merged);
        }
    }

    storage::PageRow saved = row_;
    saved.data = celltext::storable(text);
    saved.dataNull = false;
    saved.clinic = Check1->isChecked();
    saved.memo = celltext::storable(TxtMemo->toPlainText());
    return saved;
}

bool frmAppt::typedSinceRead()
{
    const storage::PageRow shown = pageOnScreen();
    return !celltext::sameCells(shown.data, row_.data) || shown.memo != row_.memo
        || shown.clinic.value_or(false) != row_.clinic.value_or(false);
}

void frmAppt::storeRow(storage::PageRow& row)
{
    // A page as it stands stored costs no write, so a file that cannot be written can still be
    // read from page to page.
    if (!row_.dataNull && row.data == row_.data && row.clinic == row_.clinic && row.memo == row_.memo)
        return;
    if (row.id == 0) {
        const storage::PageRow typed = row;
        row = pages_->add(row.calDate, row.layout, row.data, row.clinic.value_or(false), row.memo);
        // Another desk added the day at the same moment and the add found its row: what was
        // typed here is merged into it, as into any page stored elsewhere meanwhile.
        if (row.data != typed.data || row.memo != typed.memo
            || row.clinic.value_or(false) != typed.clinic.value_or(false)) {
            const storage::StaleVersion found(tr("The page of %1 was added on another desk.")
                                                  .arg(QLocale::system().toString(typed.calDate, QLocale::ShortFormat)),
                                              row);
            row = typed;
            QScopedValueRollback<bool> busy(storing_, true);
            if (!mergeLostStore_)
                throw found;
            if (!mergeLostStore_(found, row))
                throw StoreCancelled(tr("The page of %1 was not stored.")
                                         .arg(QLocale::system().toString(row.calDate, QLocale::ShortFormat)));
        }
    } else {
        QScopedValueRollback<bool> busy(storing_, true);
        try {
            pages_->update(row);
        } catch (const storage::StaleVersion& lost) {
            // Another desk stored the page since it was read: what was typed here is merged
            // into their page.
            if (!mergeLostStore_)
                throw;
            if (!mergeLostStore_(lost, row))
                throw StoreCancelled(tr("The page of %1 was not stored.")
                                         .arg(QLocale::system().toString(row.calDate, QLocale::ShortFormat)));
        }
    }
    row_ = row;
    emit pageStored();
}

bool frmAppt::switchPage(QDate date, bool save)
{
    PaintLock lock(this);
    if (save && storeOrAsk([this] { SavePage(); }) == Leaving::Stay)
        return false;
    const QDate oldDate = PageDate;
    const storage::PageRow oldRow = row_;
    const bool oldPast = PastLayout;
    bool& updating = calendar_->Updating();
    const bool wasUpdating = updating;
    try {
        PageDate = date;
        LocatePage(date);
        LayOutPage();
        calendar_->ShowMonthYear(date);
        emit pageOpened();
        return true;
    } catch (const StorageError& e) {
        report(e.message());
    } catch (const LayoutError& e) {
        report(tr("The page of %1 cannot be shown. %2")
                   .arg(QLocale::system().toString(date, QLocale::ShortFormat), e.message()));
    }
    // Back to the page that was on screen.
    PageDate = oldDate;
    row_ = oldRow;
    PastLayout = oldPast;
    PageIsNew = false;
    try {
        buildGrid(PastLayout ? row_.layout : readSettings().layout);
        Check2->setChecked(PageDate < program::today());
        Check2_Click();
        ShowPage();
    } catch (...) {
        // The page on screen stays as it was drawn.
    }
    calendar_->DrawMonth(oldDate);
    calendar_->ShowMonthYear(oldDate);
    updating = wasUpdating;
    return false;
}

void frmAppt::setClosed(bool closed)
{
    Check1->setChecked(closed);
    colourGrid(closed);
    hideEditor();
    // The page as it is on screen with the new flag: a store of the page as read would
    // take back what was typed since, once merged with another desk's store.
    storage::PageRow flagged = pageOnScreen();
    flagged.clinic = closed;
    try {
        storeRow(flagged);
    } catch (const StoreCancelled&) {
        // The user chose to keep the page on screen unstored.
    } catch (const StorageError& e) {
        report(e.message());
    }
}

void frmAppt::cmdToday_Click()
{
    Frame2->hide();
    bool& updating = calendar_->Updating();
    updating = true;
    const QDate today = program::today();
    if (row_.calDate != today) {
        calendar_->setDayColour(calendar_->SelDay(), colours::Cream);
        if (!switchPage(today)) {
            updating = false;
            return;
        }
    } else {
        calendar_->setDayColour(calendar_->SelDay(), colours::Cream);
    }
    PageDate = today;
    calendar_->DrawMonth(PageDate);
    showDateCaptions(PageDate);
    if (QWidget* w = calendar_->focusWidget())
        w->setFocus();
    updating = false;
}

void frmAppt::Check2_Click()
{
    if (!Check2->isChecked()) {
        editor_->setReadOnly(false);
        colours::paint(Check2, colours::LegendGrey);
    } else {
        editor_->setReadOnly(true);
        colours::paint(Check2, colours::LightRed);
    }
    if (txtEdit->isVisible())
        txtEdit->setFocus();
    else
        Grid1->setFocus();
}

void frmAppt::purge()
{
    const storage::Settings settings = readSettings();
    // Each row goes only as it was read: a page another desk stored meanwhile stays.
    QList<storage::PageRow> empty;
    pages_->walk([&](const storage::PageRow& r) {
        if (r.dataNull || !r.memo.isEmpty() || r.data != settings.templateFor(r.calDate))
            return true;
        // An open page that holds only its template goes; a closed one, or one whose flag
        // was never stored, on Sundays only.
        const bool open = r.clinic.has_value() && !*r.clinic;
        if (open || r.calDate.dayOfWeek() == 7)
            empty << r;
        return true;
    });
    pages_->removeUnchanged(empty);
}

void frmAppt::storeAll()
{
    SavePage();
    for (const auto& save : savers_)
        save();
}

void frmAppt::purgeReporting()
{
    try {
        purge();
    } catch (const StorageError& e) {
        // The pages are stored; only the tidying failed.
        report(e.message());
    }
}

frmAppt::Leaving frmAppt::storeForLeaving()
{
    return storeOrAsk([this] { storeAll(); });
}

frmAppt::Leaving frmAppt::storeOrAsk(const std::function<void()>& store)
{
    for (;;) {
        try {
            store();
            return Leaving::Stored;
        } catch (const StoreCancelled&) {
            return Leaving::Stay;
        } catch (const StorageError& e) {
            // The user decides: try again (the file may have been made writable or the disk
            // given room), leave without this page, or stay with everything on screen.
            const QString prompt = tr(
                "%1\n\nRetry stores the page again. Discard leaves without storing the page "
                "of %2. Cancel stays on the page.")
                                       .arg(e.message(), QLocale::system().toString(PageDate, QLocale::ShortFormat));
            switch (dialogs::message(this, prompt, tr("Appointments"),
                                     dialogs::Buttons::RetryDiscardCancel, dialogs::Icon::Critical)) {
            case dialogs::Answer::Retry:
                try {
                    db_->reopen();
                } catch (const StorageError&) {
                    // Storing again reports what is wrong now.
                }
                continue;
            case dialogs::Answer::Discard:
                return Leaving::Discarded;
            default:
                return Leaving::Stay;
            }
        }
    }
}

void frmAppt::LeavePageScreen()
{
    if (left_)
        return;
    emit leaving();
    const Leaving how = storeForLeaving();
    if (how == Leaving::Stay)
        return;
    // A discarded page leaves the file as it is: nothing is tidied either.
    if (how == Leaving::Stored)
        purgeReporting();
    left_ = true;
    screens::show(Screen::Menu);
    Unload();
}

void frmAppt::Form_QueryUnload(bool& cancel, UnloadMode mode)
{
    if (!loaded_ || left_)
        return;
    if (mode == ByCode) {
        // Unloaded by the program (the menu's Exit, a restore): the page is stored as leaving
        // would, and a page that cannot be stored keeps the screen if the user says so.
        emit leaving();
        const Leaving how = storeForLeaving();
        if (how == Leaving::Stay) {
            cancel = true;
            return;
        }
        if (how == Leaving::Stored)
            purgeReporting();
        left_ = true;
        return;
    }
    LeavePageScreen();
    if (!left_)
        cancel = true;
}

void frmAppt::showStored()
{
    bool& updating = calendar_->Updating();
    const bool wasUpdating = updating;
    updating = true;
    // Cell by cell, so that the current cell, the scroll and an open editor stay.
    const QList<QStringList> cells = celltext::split(row_.data);
    {
        PaintLock lock(Grid1);
        for (int r = 3; r <= LastRow; ++r)
            for (int c = 1; c <= LastCol; ++c)
                Grid1->setTextMatrix(r, c, cells.value(r - 3).value(c - 1));
    }
    if (editorOpen() && txtEdit->text() != Grid1->TextMatrix(EditRow, EditCol)) {
        const int cursor = txtEdit->cursorPosition();
        txtEdit->setText(Grid1->TextMatrix(EditRow, EditCol));
        txtEdit->setCursorPosition(cursor);
    }
    const bool closed = row_.clinic.value_or(false);
    Check1->setChecked(closed);
    colourGrid(closed);
    statusList->setCurrentIndex(closed ? 1 : 0);
    if (TxtMemo->toPlainText() != row_.memo) {
        const int cursor = TxtMemo->textCursor().position();
        TxtMemo->setPlainText(row_.memo);
        QTextCursor at = TxtMemo->textCursor();
        at.setPosition(std::min<int>(cursor, int(row_.memo.size())));
        TxtMemo->setTextCursor(at);
    }
    updating = wasUpdating;
}

void frmAppt::reshowPage()
{
    const int row = Grid1->Row(), col = Grid1->Col(), top = Grid1->TopRow(), left = Grid1->LeftCol();
    PastLayout = PageDate < program::today();
    buildGrid(PastLayout ? row_.layout : readSettings().layout);
    ApplyTemplate();
    ShowPage();
    Grid1->setRow(std::min(row, LastRow));
    Grid1->setCol(std::min(col, LastCol));
    Grid1->setTopRow(top);
    Grid1->setLeftCol(left);
}
