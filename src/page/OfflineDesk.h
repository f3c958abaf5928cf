#pragma once
// What the day page does while its desk works without the server (storage::DeskEngine): the
// status line says since when the server does not answer and how many pages wait on this
// desk; a page the server never had says so beside its date; and once the server answers,
// the pages kept in the desk's journal are stored, oldest first, each merged as a store that
// lost to another desk (frmConflicts asks where both changed a cell). A book replaced on the
// server meanwhile (a restore) gets none of them blindly: each page is offered, to be stored
// over the restored book or discarded.
// On the file, and on a server screen other than the day page, this does nothing.
#include <QObject>

class frmAppt;
class QTimer;

namespace storage {
class DeskEngine;
struct WaitingPage;
}

class OfflineDesk : public QObject {
    Q_OBJECT
public:
    explicit OfflineDesk(frmAppt& form);

    // Stores the pages the journal keeps; returns how many were stored and asked about.
    struct Replayed {
        int stored = 0;
        int asked = 0;
        int waiting = 0;  // still in the journal (cancelled, or the server went away again)
        QString failure;  // why the first page that could not be stored was not
        bool cancelled = false;  // the user cancelled a question: not asked again at once
    };
    Replayed replay();

private:
    void watch();
    void showState();
    // Stores the kept pages and says in the status line how it went.
    void storeKept();
    // Stores one kept page; false when the user cancelled its question.
    bool storePage(const storage::WaitingPage& page, bool replaced, Replayed& counts);
    // Stores the fixed memo and book number kept offline (StoreCancelled when the user
    // cancels the question).
    void storeMemo(bool replaced, Replayed& counts);
    void showMemo();
    void reloadShownPage();

    frmAppt& form_;
    storage::DeskEngine* desk_ = nullptr;
    bool replaying_ = false;
    QTimer* again_ = nullptr;
};
