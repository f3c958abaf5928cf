#include "navigation/ClientSearch.h"

#include "navigation/CellHistory.h"
#include "navigation/frmHits.h"
#include "page/FlexGrid.h"
#include "page/daycalendar.h"
#include "page/frmAppt.h"
#include "platform/colours.h"
#include "platform/dialogs.h"
#include "platform/keys.h"
#include "platform/clock.h"
#include "platform/paintlock.h"
#include "storage/database.h"
#include "storage/pagesearch.h"
#include "storage/pagetable.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int FirstDataRow = 3;
constexpr int FirstDataCol = 1;

QPushButton* panelButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter presses the focused button, as in a dialog.
    button->setAutoDefault(true);
    return button;
}

}  // namespace

ClientSearch::ClientSearch(frmAppt& form) : QObject(&form), form_(form)
{
    connect(&form, &frmAppt::loaded, this, &ClientSearch::prepareIndex);
    QFrame* panel = form.Frame2;
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(6);
    lblMessage = new QLabel(panel);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    QFont messageFont = lblMessage->font();
    messageFont.setBold(true);
    lblMessage->setFont(messageFont);
    // Room for the longest question, wrapped in the side column's width.
    lblMessage->setMinimumHeight(QFontMetrics(messageFont).lineSpacing() * 3 + 4);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(lblMessage);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    cmdYes = panelButton(tr("&Yes"), "cmdYes", panel);
    cmdNo = panelButton(tr("&No"), "cmdNo", panel);
    cmdAll = panelButton(tr("&All"), "cmdAll", panel);
    cmdAll->setToolTip(tr("List every page that holds the name"));
    for (QPushButton* b : {cmdYes, cmdNo, cmdAll})
        buttons->addWidget(b);
    column->addLayout(buttons);
    connect(cmdYes, &QPushButton::clicked, this, &ClientSearch::cmdYes_Click);
    connect(cmdNo, &QPushButton::clicked, this, &ClientSearch::cmdNo_Click);
    connect(cmdAll, &QPushButton::clicked, this, &ClientSearch::cmdAll_Click);

    form.addCommand(form.mnuSearch, "mnuSearchClient", tr("Client\tF4"), [this] { StartSearch(); });
    form.addKeyHandler([this](int keyCode, int shift) {
        if (keyCode != keys::F4 || shift != 0)
            return false;
        StartSearch();
        return true;
    });
}

void ClientSearch::StartSearch()
{
    const std::optional<QString> answer =
        dialogs::input(&form_, tr("Please enter Name to search:"), tr("Search"));
    // Back from the input box, the page is the active window again, so the panel's letters
    // (Alt+Y, Alt+N, Alt+A) reach its buttons even where no window manager hands it back.
    form_.activateWindow();
    if (!answer || answer->isEmpty()) {
        form_.Grid1->setFocus();
        return;
    }
    SearchName = *answer;
    try {
        form_.SavePage();
    } catch (const storage::StorageError& e) {
        form_.report(e.message());
        endSearch();
        return;
    }
    SearchMark = form_.currentRow().id;
    SearchFirst = true;
    SearchFoundAny = false;
    SearchNext();
}

void ClientSearch::SearchNext()
{
    SearchFound = false;
    PaintLock lock(&form_);
    try {
        storage::PageSearch search(form_.database(), SearchName);
        if (const QString notice = search.notice(); !notice.isEmpty())
            form_.showStatus(notice);
        // The first scan starts at the newest row; a later one below the last page found.
        std::optional<qint64> below = SearchFirst ? std::nullopt : SearchMark;
        while (const std::optional<storage::PageMatch> match = search.next(below)) {
            SearchMark = match->id;
            SearchFoundAny = true;
            below = match->id;
            if (const QString fault = layoutFault(match->calDate); !fault.isEmpty()) {
                // Said once: the scan passes the page and goes on below it.
                form_.report(tr("The page of %1 holds \"%2\" but cannot be shown. %3 The search "
                                "goes on with the pages stored before it.")
                                 .arg(QLocale::system().toString(match->calDate, QLocale::ShortFormat),
                                      SearchName, fault));
                continue;
            }
            if (!GoToDate(match->calDate)) {
                endSearch();
                return;
            }
            if (scanCells(search.matcher())) {
                SearchFound = true;
                ShowSearchResult();
                return;
            }
            // The name lies outside the cells on screen: the scan goes on below this page.
        }
    } catch (const storage::StorageError& e) {
        form_.report(e.message());
        endSearch();
        return;
    }
    SearchFound = false;
    ShowSearchResult();
}

QString ClientSearch::layoutFault(QDate date)
{
    // Today and later are laid out with the settings, which the page checked when it opened.
    if (date >= program::today())
        return QString();
    const std::optional<storage::PageRow> row = storage::PageTable(form_.database()).find(date);
    return row ? ::layoutFault(row->layout) : QString();
}

bool ClientSearch::GoToDate(QDate date)
{
    DayCalendar* calendar = form_.calendar();
    bool& updating = calendar->Updating();
    const bool wasUpdating = updating;
    calendar->setDayColour(calendar->SelDay(), colours::Cream);
    updating = true;
    const bool shown = form_.switchPage(date);
    if (shown) {
        form_.PageDate = date;
        calendar->DrawMonth(date);
    }
    calendar->setDayColour(calendar->SelDay(), colours::LightGrey);
    updating = wasUpdating;
    return shown;
}

bool ClientSearch::scanCells(const storage::NameMatcher& matcher)
{
    FlexGrid* grid = form_.Grid1;
    int foundRow = -1;
    int foundCol = -1;
    {
        PaintLock lock(grid);
        for (int c = FirstDataCol; c < grid->Cols() && foundRow < 0; ++c)
            for (int r = FirstDataRow; r < grid->Rows(); ++r)
                if (matcher.matches(grid->TextMatrix(r, c))) {
                    foundRow = r;
                    foundCol = c;
                    break;
                }
    }
    if (foundRow < 0)
        return false;
    openCell(foundRow, foundCol);
    return true;
}

void ClientSearch::openCell(int row, int col)
{
    FlexGrid* grid = form_.Grid1;
    grid->setRow(row);
    grid->setCol(col);
    // The scroll bars of a page just laid out come and go in a queued call; the viewport
    // must have its final size before the cell is brought into it.
    QCoreApplication::sendPostedEvents(grid, QEvent::MetaCall);
    // In view first, so the editor opens over the cell where it stands on screen.
    grid->ensureVisible(row, col);
    int enter = keys::Enter;
    emit grid->KeyPress(enter);
}

void ClientSearch::ShowSearchResult()
{
    if (SearchFound) {
        SearchMode = 1;
        lblMessage->setText(tr("Search successful. Continue search?"));
    } else if (SearchFoundAny) {
        SearchMode = 2;
        lblMessage->setText(tr("Search complete. Do another search?"));
    } else {
        SearchMode = 2;
        lblMessage->setText(tr("Search unsuccessful!  Search again with different Name spelling?"));
    }
    // Nothing to list when no page held the name.
    cmdAll->setEnabled(SearchFoundAny);
    form_.Frame2->show();
    cmdYes->setFocus();
}

void ClientSearch::cmdYes_Click()
{
    form_.Frame2->hide();
    if (SearchMode == 1) {
        SearchFoundAny = true;
        SearchFirst = false;
        SearchNext();
    } else {
        StartSearch();
    }
}

void ClientSearch::cmdNo_Click()
{
    endSearch();
}

void ClientSearch::endSearch()
{
    form_.Frame2->hide();
    form_.Grid1->setFocus();
}

void ClientSearch::cmdAll_Click()
{
    QList<Hit> found;
    QList<QDate> notLaidOut;
    try {
        // The list reads the stored pages: the page on screen, with what was typed at a hit,
        // is stored first.
        form_.SavePage();
        found = collectHits(form_.database(), SearchName, &notLaidOut);
    } catch (const storage::StorageError& e) {
        form_.report(e.message());
        return;
    }
    if (!hits_) {
        hits_ = new frmHits(&form_);
        connect(hits_, &frmHits::openHit, this, &ClientSearch::openHit);
        connect(hits_, &frmHits::openRemoved, this, [this](QDate date, int row, int col) {
            if (!showFoundDay(date))
                return;
            if (CellHistory* history = form_.findChild<CellHistory*>())
                history->showCell(row - 3, col - 1);
        });
    }
    hits_->showHits(SearchName, found, notLaidOut);
}

frmHits* ClientSearch::hits() const
{
    return hits_;
}

bool ClientSearch::showFoundDay(QDate date)
{
    form_.Frame2->hide();
    if (form_.PageDate != date || form_.currentRow().calDate != date) {
        PaintLock lock(&form_);
        if (!GoToDate(date))
            return false;
    }
    form_.activateWindow();
    form_.raise();
    return true;
}

void ClientSearch::openHit(QDate date, int row, int col)
{
    if (!showFoundDay(date))
        return;
    if (row < form_.Grid1->Rows() && col < form_.Grid1->Cols())
        openCell(row, col);
}

void ClientSearch::prepareIndex()
{
    std::unique_ptr<QProgressDialog> bar;
    try {
        form_.database().prepareSearch([&](qint64 done, qint64 total) {
            if (!bar) {
                bar = std::make_unique<QProgressDialog>(tr("Preparing the search of the pages ..."), QString(), 0,
                                                        1000, &form_);
                bar->setWindowTitle(frmAppt::tr("Appointments"));
                bar->setWindowModality(Qt::WindowModal);
                bar->setCancelButton(nullptr);
                bar->setMinimumDuration(500);
            }
            bar->setValue(total > 0 ? int(done * 1000 / total) : 1000);
        });
    } catch (const storage::StorageError& e) {
        // Nothing is lost: the file holds no part of the index, and the search reads every
        // page instead; the next opening tries again.
        bar.reset();
        dialogs::message(&form_, e.message() + QStringLiteral("\n\n") + tr("The client search reads every page instead."),
                         frmAppt::tr("Appointments"), dialogs::Buttons::Ok, dialogs::Icon::Exclamation);
    }
}
