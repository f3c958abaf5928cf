#pragma once
// What the day page does about the other desks that work on the same book on a practice
// server.
//
// The book's notices (storage::BookEvents: a page stored, the set-up stored, the book
// restored, or notices missed while the connection was down) are gathered for a moment and
// acted on once the desk is not in the middle of a store, a question or an open list:
// - the page on screen stored elsewhere: read again and shown in place (the current cell,
//   the scroll and an open editor stay). A page that holds typing here keeps it and is
//   marked (lblOtherDesk): the next store merges;
// - the set-up stored elsewhere: the typed page is stored under the layout it was typed in,
//   the page is laid out again under the new set-up, and the user is told once;
// - the book restored elsewhere: the user chooses whether the typed page goes over the
//   restored one, and the page is read again from the restored book.
// A store of the page that loses to another desk's store (the page was stored there after it
// was read here) is merged: what was typed here goes into their page, frmConflicts asks where
// both desks changed the same cell, and the merge is stored and shown.
//
// What it needs of the page (frmAppt's public side): the date and the row as read
// (PageDate, currentRow, typedSinceRead, pageOnScreen), the page table and the book's events,
// the set-up's version the page is laid out under (SettingsVersion), whether to wait
// (pageOpen, storing), and the page life's own steps: SavePage, storeRow, LocatePage,
// takeStored, showStored, reshowPage, report, and the mark lblOtherDesk. The page calls it
// through setMergeLostStore and its signals loaded, pageStored and pageOpened.
//
// The file engine never raises a notice and no store loses there: on the file this does
// nothing.
#include "page/pagemerge.h"

#include <QDate>
#include <QList>
#include <QObject>

class QTimer;
class frmAppt;

namespace storage {
class StaleVersion;
struct PageRow;
}

class OtherDesks : public QObject {
    Q_OBJECT
public:
    explicit OtherDesks(frmAppt& form);

    // A store of `typed` lost: another desk stored the page (its page goes with `lost`) or
    // removed it as empty since this desk read it. Merges what was typed into their page,
    // asking where both changed a cell, and stores the merge, which `typed` then holds. False
    // when the user cancelled the question: nothing was stored and the page is marked.
    // Throws storage::StorageError when the merge cannot be stored.
    bool mergeLostStore(const storage::StaleVersion& lost, storage::PageRow& typed);

private:
    void watch();
    // Acts on what was heard, or waits a little longer.
    void act();
    void pageStoredElsewhere();
    bool setupStoredElsewhere();
    void bookReplacedElsewhere();
    // The page was stored: what it shows is the book's now.
    void pageStored();
    void mark(bool changed);
    // Names the desk and the moment of the store that wrote their text of each conflict.
    void nameTheirStores(QList<PageConflict>& conflicts, QDate date);

    frmAppt& form_;
    QTimer* heard_ = nullptr;
    bool heardPage_ = false;
    bool heardSetup_ = false;
    bool heardRestore_ = false;
    // The status line shows a failure of this component's.
    bool told_ = false;
    // The last store merged another desk's entries into the page: the screen shows them.
    bool merged_ = false;
    // ... and carried what was typed here over to the rows of a new set-up: the page is laid
    // out again.
    bool relaid_ = false;
};
