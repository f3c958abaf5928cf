#include "page/OfflineDesk.h"

#include "navigation/MemoPanel.h"
#include "page/FlexGrid.h"
#include "page/frmAppt.h"
#include "page/frmConflicts.h"
#include "page/pagelayout.h"
#include "page/pagemerge.h"
#include "platform/dialogs.h"
#include "storage/bookevents.h"
#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/engine.h"
#include "storage/server/desk.h"
#include "storage/server/journal.h"
#include "storage/storedtime.h"

#include <QLabel>
#include <QLocale>
#include <QScopedValueRollback>
#include <QTime>
#include <QTimer>

using storage::StorageError;

namespace {

// Stores lost again and again to other desks end in a message, never in a silent loop.
constexpr int kMergeAttempts = 5;

QString day(QDate date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

// The time and provider of each cell of a page laid out under `layout`, as its grid heads
// them, for the history and the question.
storage::CellLabels labelsOf(const storage::Layout& layout)
{
    storage::CellLabels labels;
    for (const std::optional<int>& t : cellRowTimes(layout))
        labels.times << (t ? storedtime::label(QTime(0, 0).addSecs(*t * 60)) + u' ' : QString());
    SplitList(layout.names, labels.providers);
    return labels;
}

}  // namespace

OfflineDesk::OfflineDesk(frmAppt& form) : QObject(&form), form_(form)
{
    connect(&form, &frmAppt::loaded, this, &OfflineDesk::watch);
    connect(&form, &frmAppt::pageStored, this, [this] {
        if (!desk_)
            return;
        if (desk_->offline())
            showState();
        // A page stored while others still wait (a question cancelled): they are tried again.
        else if ((desk_->journal().countWaiting() > 0 || desk_->journal().waitingMemo()) && again_ && !replaying_)
            again_->start();
    });
}

void OfflineDesk::watch()
{
    desk_ = form_.database().engine().desk();
    if (!desk_)
        return;
    storage::BookEvents& events = form_.database().events();
    connect(&events, &storage::BookEvents::serverAway, this, &OfflineDesk::showState);
    connect(&events, &storage::BookEvents::serverBack, this, &OfflineDesk::storeKept);
    // Pages a replay could not store (the server refused one, or the user cancelled its
    // question) are tried again a little later, as long as the server answers.
    again_ = new QTimer(this);
    again_->setSingleShot(true);
    again_->setInterval(2000);
    connect(again_, &QTimer::timeout, this, [this] {
        if (!desk_->offline())
            storeKept();
    });
    if (const QString notice = desk_->takeNotice(); !notice.isEmpty())
        form_.report(notice);
    if (desk_->offline())
        showState();
}

void OfflineDesk::storeKept()
{
    const Replayed done = replay();
    QString line = tr("Back online: %n page(s) stored", nullptr, done.stored) + tr(", %1 asked").arg(done.asked);
    if (done.waiting > 0)
        line += tr("; %n page(s) still kept on this desk", nullptr, done.waiting);
    if (!done.failure.isEmpty())
        line += QLatin1Char(' ') + done.failure;
    form_.showStatus(done.stored + done.asked + done.waiting > 0 ? line : QString());
    if (done.waiting > 0 && !done.cancelled && !desk_->offline())
        again_->start();
}

void OfflineDesk::showState()
{
    if (!desk_->offline())
        return;
    const int waiting = desk_->journal().countWaiting();
    form_.showStatus(tr("Offline since %1: the server at %2 does not answer. Pages typed here are kept on this "
                        "desk and stored when it answers again (%n page(s) waiting).",
                        nullptr, waiting)
                         .arg(desk_->offlineSince().toString(QStringLiteral("HH:mm")), desk_->host()));
}

OfflineDesk::Replayed OfflineDesk::replay()
{
    Replayed counts;
    if (!desk_ || replaying_)
        return counts;
    QScopedValueRollback<bool> busy(replaying_, true);
    const bool replaced = desk_->bookReplaced();
    const std::vector<storage::WaitingPage> pages = desk_->journal().waiting();
    for (const storage::WaitingPage& page : pages) {
        try {
            if (!storePage(page, replaced, counts))
                counts.cancelled = true;
        } catch (const StorageError& e) {
            // Offline again, or a store the server refused: the page stays kept, and the
            // status line says why.
            if (counts.failure.isEmpty())
                counts.failure = e.message();
            if (e.kind() == StorageError::Kind::Unreachable)
                break;
        }
    }
    if (counts.failure.isEmpty() || !desk_->offline()) {
        try {
            storeMemo(replaced, counts);
        } catch (const StoreCancelled&) {
            counts.cancelled = true;  // kept, and asked again with the next pages
        } catch (const StorageError& e) {
            if (counts.failure.isEmpty())
                counts.failure = e.message();
        }
    }
    counts.waiting = desk_->journal().countWaiting();
    if (counts.waiting == 0 && !desk_->journal().waitingMemo())
        desk_->acceptBook();
    reloadShownPage();
    return counts;
}

bool OfflineDesk::storePage(const storage::WaitingPage& page, bool replaced, Replayed& counts)
{
    const QDate date = page.typed.calDate;
    const storage::CellLabels labels = labelsOf(page.typed.layout);
    std::optional<storage::PageRow> theirs = desk_->storedPage(date);
    storage::PageRow row = page.typed;
    if (replaced) {
        const dialogs::Answer answer = dialogs::message(
            &form_,
            tr("The appointment book on the server was replaced while this desk was offline: a backup was "
               "restored there. The page of %1 was typed here meanwhile and is not stored.\n\nYes stores it "
               "over the restored page. No discards it.").arg(day(date)),
            frmAppt::tr("Appointments"), dialogs::Buttons::YesNo, dialogs::Icon::Question);
        ++counts.asked;
        if (answer != dialogs::Answer::Yes) {
            desk_->journal().stored(page);
            return true;
        }
        row.id = theirs ? theirs->id : 0;
        row.version = theirs ? theirs->version : 0;
        desk_->storeWaiting(page, row, labels, {});
        ++counts.stored;
        return true;
    }
    storage::PageRow base = page.base;
    bool asked = false;
    for (int attempt = 1;; ++attempt) {
        std::vector<storage::Change> notKept;
        if (!theirs) {
            row.id = 0;
        } else if (base.id == theirs->id && base.version == theirs->version) {
            row.id = theirs->id;
            row.version = theirs->version;
        } else {
            if (attempt == kMergeAttempts)
                throw StorageError(tr("The page of %1 was stored on other desks %n times while this desk stored "
                                      "what it kept offline; it stays kept on this desk.",
                                      nullptr, attempt).arg(day(date)));
            // Stored on another desk while this one was offline (or added there): what
            // was typed here goes into their page.
            if (base.id == 0)
                base.layout = theirs->layout;
            PageMerge merge(base, row, *theirs);
            if (!merge.conflicts.isEmpty()) {
                const auto place = [&labels](const PageConflict& c) {
                    return std::pair<QString, QString>(labels.times.value(c.row).trimmed(),
                                                       labels.providers.value(c.col).trimmed());
                };
                if (!asked)
                    ++counts.asked;
                asked = true;
                if (!frmConflicts::ask(&form_, date, merge.conflicts, place))
                    return false;
                notKept = merge.notKept();
            }
            row = merge.result();
        }
        // The server holds the page as it would be stored (a store whose commit was lost did
        // land): nothing is stored twice.
        if (theirs && row.data == theirs->data && row.clinic == theirs->clinic && row.memo == theirs->memo) {
            desk_->journal().stored(page);
            ++counts.stored;
            return true;
        }
        try {
            desk_->storeWaiting(page, row, labels, notKept);
            ++counts.stored;
            return true;
        } catch (const storage::StaleVersion& again) {
            // Stored elsewhere again in between: the merge is what this desk has typed,
            // merged once more into the page stored now.
            if (theirs)
                base = *theirs;
            theirs = again.stored();
        }
    }
}

void OfflineDesk::storeMemo(bool replaced, Replayed& counts)
{
    const std::optional<storage::Journal::WaitingMemo> memo = desk_->journal().waitingMemo();
    if (!memo)
        return;
    if (replaced) {
        const dialogs::Answer answer = dialogs::message(
            &form_,
            tr("The appointment book on the server was replaced while this desk was offline: a backup was "
               "restored there. The fixed memo and the book number were typed here meanwhile and are not "
               "stored.\n\nYes stores them over the restored ones. No discards them."),
            frmAppt::tr("Appointments"), dialogs::Buttons::YesNo, dialogs::Icon::Question);
        ++counts.asked;
        if (answer != dialogs::Answer::Yes) {
            desk_->journal().memoStored(memo->typed);
            showMemo();
            return;
        }
        desk_->storeKeptMemo(memo->typed, std::nullopt);
    } else {
        // Stored through the server, which merges them with what other desks stored meanwhile;
        // kept in the journal until that store is done.
        MemoPanel::storeAsking(
            form_,
            [this](const storage::MemoAndBook& read, const storage::MemoAndBook& typed) {
                return desk_->storeKeptMemo(typed, read);
            },
            memo->base, memo->typed);
    }
    desk_->journal().memoStored(memo->typed);
    showMemo();
}

void OfflineDesk::showMemo()
{
    if (MemoPanel* memos = form_.findChild<MemoPanel*>())
        memos->refresh();
}

void OfflineDesk::reloadShownPage()
{
    if (!form_.pageOpen())
        return;
    try {
        // The page on screen as stored now; typing since its last store stays on screen and
        // merges when it is stored.
        if (form_.typedSinceRead()) {
            form_.lblOtherDesk->setVisible(true);
            return;
        }
        form_.LocatePage(form_.PageDate);
        form_.reshowPage();
    } catch (const StorageError& e) {
        form_.showStatus(e.message());
    } catch (const LayoutError& e) {
        form_.showStatus(e.message());
    }
}
