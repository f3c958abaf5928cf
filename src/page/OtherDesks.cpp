#include "page/OtherDesks.h"

#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "page/frmConflicts.h"
#include "page/pagelayout.h"
#include "page/pagemerge.h"
#include "platform/dialogs.h"
#include "storage/bookevents.h"
#include "storage/database.h"
#include "storage/history.h"
#include "storage/pagetable.h"
#include "storage/storedtime.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QTime>
#include <QTimer>

#include <optional>
#include <utility>

using storage::StorageError;

namespace {

// Stores lost again and again to other desks end in a message, never in a silent loop.
constexpr int kMergeAttempts = 5;

}  // namespace

OtherDesks::OtherDesks(frmAppt& form) : QObject(&form), form_(form)
{
    form.setMergeLostStore([this](const storage::StaleVersion& lost, storage::PageRow& typed) {
        return mergeLostStore(lost, typed);
    });
    connect(&form, &frmAppt::loaded, this, &OtherDesks::watch);
    connect(&form, &frmAppt::pageStored, this, &OtherDesks::pageStored);
    connect(&form, &frmAppt::pageOpened, this, [this] { mark(false); });
}

void OtherDesks::watch()
{
    // Notifications come in bursts (a store, then the next): they are gathered for a moment
    // and acted on once.
    heard_ = new QTimer(this);
    heard_->setSingleShot(true);
    heard_->setInterval(100);
    connect(heard_, &QTimer::timeout, this, &OtherDesks::act);
    storage::BookEvents& events = form_.database().events();
    connect(&events, &storage::BookEvents::pageChanged, this, [this](QDate date) {
        if (date != form_.PageDate)
            return;
        heardPage_ = true;
        heard_->start();
    });
    connect(&events, &storage::BookEvents::settingsChanged, this, [this] {
        heardSetup_ = true;
        heard_->start();
    });
    connect(&events, &storage::BookEvents::bookReplaced, this, [this] {
        heardRestore_ = true;
        heard_->start();
    });
    // A connection opened again heard nothing meanwhile: the set-up and the page are read
    // again, and a typed page is merged when it is stored.
    connect(&events, &storage::BookEvents::missed, this, [this] {
        heardSetup_ = heardPage_ = true;
        heard_->start();
    });
}

void OtherDesks::mark(bool changed)
{
    form_.lblOtherDesk->setVisible(changed);
}

void OtherDesks::act()
{
    if (!form_.pageOpen())
        return;
    // Not in the middle of a store, a question or an open list: a little later.
    if (form_.storing() || QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        heard_->start(300);
        return;
    }
    const bool restore = std::exchange(heardRestore_, false);
    const bool setup = std::exchange(heardSetup_, false);
    const bool page = std::exchange(heardPage_, false);
    // Work the user did not ask for reports in the status line and does not interrupt
    // typing; only where a typed entry is at stake does it ask in a box.
    const auto tell = [this](const QString& message) {
        if (form_.typedSinceRead()) {
            form_.report(message);
        } else {
            form_.showStatus(message);
            told_ = true;
        }
    };
    try {
        if (restore)
            bookReplacedElsewhere();
        else if (!(setup && setupStoredElsewhere()) && page)
            pageStoredElsewhere();
        // What it told in the status line holds no more (the line may say something else now).
        if (std::exchange(told_, false))
            form_.showStatus(QString());
    } catch (const StoreCancelled&) {
        // The page stays on screen as typed, marked; the next store merges.
    } catch (const StorageError& e) {
        tell(e.message());
    } catch (const LayoutError& e) {
        tell(e.message());
    }
}

void OtherDesks::pageStoredElsewhere()
{
    // What was typed here is never replaced: the next store merges it.
    if (form_.typedSinceRead()) {
        mark(true);
        return;
    }
    const std::optional<storage::PageRow> found = form_.pages().find(form_.PageDate);
    const storage::PageRow& shown = form_.currentRow();
    // A page removed as empty shows what it held; it is added again when it is typed on.
    if (!found || found->dataNull || (found->id == shown.id && found->version == shown.version))
        return;
    form_.takeStored(*found);
    mark(false);
    form_.showStored();
}

bool OtherDesks::setupStoredElsewhere()
{
    const storage::Settings settings = form_.readSettings();
    if (settings.version == form_.SettingsVersion)
        return false;
    // What was typed here is stored first: the set-up rewrote the page, so the store merges
    // it into the page as rewritten, each entry at the time it was typed at.
    const bool typed = form_.typedSinceRead();
    if (typed)
        form_.SavePage();
    form_.SettingsVersion = settings.version;
    if (const std::optional<storage::PageRow> found = form_.pages().find(form_.PageDate); found && !found->dataNull)
        form_.takeStored(*found);
    form_.reshowPage();
    mark(false);
    const QString day = QLocale::system().toString(form_.PageDate, QLocale::ShortFormat);
    dialogs::message(&form_,
                     typed ? tr("The set-up was changed on another desk. The entries typed here on the page of "
                                "%1 are stored at the times they were typed at, and the page is shown under "
                                "the new set-up.").arg(day)
                           : tr("The set-up was changed on another desk. The page of %1 is shown again "
                                "under the new set-up.").arg(day),
                     frmAppt::tr("Appointments"), dialogs::Buttons::Ok, dialogs::Icon::Information);
    return true;
}

void OtherDesks::bookReplacedElsewhere()
{
    const std::optional<storage::PageRow> restored = form_.pages().find(form_.PageDate);
    form_.SettingsVersion = form_.readSettings().version;
    if (form_.typedSinceRead()) {
        const QString day = QLocale::system().toString(form_.PageDate, QLocale::ShortFormat);
        const dialogs::Answer answer = dialogs::message(
            &form_,
            tr("The appointment book was replaced on another desk: a backup was restored there. "
               "The page of %1 holds entries typed here that are not stored.\n\nYes stores the "
               "page as it is on screen over the restored one. No shows the restored page "
               "without them.").arg(day),
            frmAppt::tr("Appointments"), dialogs::Buttons::YesNo, dialogs::Icon::Question);
        if (answer == dialogs::Answer::Yes) {
            storage::PageRow mine = form_.pageOnScreen();
            if (restored && !restored->dataNull) {
                // What was typed here since the page was read goes over the restored page;
                // what was not typed here stays as restored (another desk's store the screen
                // never showed included).
                PageMerge merge(form_.currentRow(), mine, *restored);
                for (PageConflict& c : merge.conflicts)
                    c.keepMine = true;
                mine = merge.result();
                form_.takeStored(*restored);
            } else {
                mine.id = 0;
                form_.takeStored(storage::PageRow());
            }
            form_.storeRow(mine);
        }
    }
    form_.LocatePage(form_.PageDate);
    form_.reshowPage();
    mark(false);
}

bool OtherDesks::mergeLostStore(const storage::StaleVersion& lost, storage::PageRow& typed)
{
    storage::PageTable& pages = form_.pages();
    // The page as this desk read it: what the other desk's store is compared with.
    storage::PageRow base = form_.currentRow();
    std::optional<storage::PageRow> stored = lost.stored();
    QString refusal = lost.message();
    bool merged = false;
    // The times of the rows the page was typed under, and their labels.
    QList<std::optional<int>> typedRows = cellRowTimes(form_.ShownLayout);
    storage::CellLabels labels = form_.cellLabels();
    // Where a conflict stands on the page: its time, and its provider as the grid heads it.
    const auto place = [this, &labels](const PageConflict& c) {
        const FlexGrid* grid = form_.Grid1;
        const int col = c.col + 1;
        const QString time = labels.times.value(c.row).trimmed();
        QString provider = col <= form_.LastCol ? grid->TextMatrix(2, col).trimmed() : QString();
        if (provider.isEmpty() && col <= form_.LastCol)
            provider = grid->TextMatrix(1, col).trimmed();
        return std::pair<QString, QString>(time, provider);
    };
    // A merge that is not stored leaves the page on screen as it was laid out.
    struct Unstored {
        OtherDesks& desks;
        bool stored = false;
        ~Unstored()
        {
            if (!stored && std::exchange(desks.relaid_, false))
                desks.form_.pages().setCellLabels(desks.form_.cellLabels());
        }
    } unstored{*this};
    for (int attempt = 1;; ++attempt) {
        storage::PageRow theirs;
        if (stored) {
            theirs = *stored;
        } else {
            // Another desk removed the page as empty: it is added again whole, unless a desk
            // added the day again meanwhile, whose page is then merged with.
            theirs = pages.add(typed.calDate, typed.layout, typed.data, typed.clinic.value_or(false), typed.memo);
            if (theirs.data == typed.data && theirs.memo == typed.memo && theirs.clinic == typed.clinic) {
                typed = theirs;
                merged_ = merged;
                unstored.stored = true;
                return true;
            }
        }
        // Another desk's set-up laid the page out with other times (a page of today or
        // later is laid out under the settings): what was typed here goes to the rows of the
        // times it was typed at.
        if (!form_.PastLayout) {
            const QList<std::optional<int>> settingsRows = cellRowTimes(form_.readSettings().layout);
            if (!settingsRows.isEmpty() && !typedRows.isEmpty() && settingsRows != typedRows) {
                carryOver(base, typed, theirs, typedRows, settingsRows);
                typedRows = settingsRows;
                labels.times.clear();
                for (const std::optional<int>& t : settingsRows)
                    labels.times << (t ? storedtime::label(QTime(0, 0).addSecs(*t * 60)) + u' ' : QString());
                pages.setCellLabels(labels);
                relaid_ = true;
            }
        }
        if (attempt == kMergeAttempts)
            throw StorageError(refusal + tr(
                "\nIt was stored on other desks %n times while this desk merged its entries into it; "
                "nothing typed here was stored yet.", nullptr, attempt));
        PageMerge merge(base, typed, theirs);
        if (!merge.conflicts.isEmpty())
            nameTheirStores(merge.conflicts, typed.calDate);
        if (!merge.conflicts.isEmpty() && !frmConflicts::ask(&form_, typed.calDate, merge.conflicts, place)) {
            mark(true);
            return false;
        }
        base = theirs;
        typed = merge.result();
        merged = true;
        const std::vector<storage::Change> notKept = merge.notKept();
        try {
            pages.update(typed, notKept);
            merged_ = merged;
            unstored.stored = true;
            return true;
        } catch (const storage::StaleVersion& again) {
            stored = again.stored();
            refusal = again.message();
        }
    }
}

void OtherDesks::nameTheirStores(QList<PageConflict>& conflicts, QDate date)
{
    std::vector<storage::Change> changes;
    try {
        changes = storage::History(form_.database()).day(date);
    } catch (const StorageError&) {
        // The question is asked without the names; the store says what fails.
        return;
    }
    for (PageConflict& c : conflicts) {
        // The newest store of the cell (or the memo) is the one that wrote their text.
        for (const storage::Change& h : changes) {
            const bool same = c.kind == PageConflict::Cell ? h.isCell() && h.row == c.row && h.col == c.col
                                                           : h.field == QLatin1String("Memo");
            if (!same)
                continue;
            if (h.newText == c.theirs) {
                c.theirDesk = h.desk;
                c.theirMoment = h.moment;
            }
            break;
        }
    }
}

void OtherDesks::pageStored()
{
    mark(false);
    const bool relaid = std::exchange(relaid_, false);
    const bool merged = std::exchange(merged_, false);
    // The screen shows what is stored now: the other desk's entries beside these, under the
    // layout they were merged in.
    if (!(merged || relaid) || form_.currentRow().calDate != form_.PageDate)
        return;
    if (!relaid) {
        form_.showStored();
        return;
    }
    try {
        form_.reshowPage();
    } catch (const StorageError& e) {
        form_.report(e.message());
    } catch (const LayoutError& e) {
        form_.report(e.message());
    }
}
