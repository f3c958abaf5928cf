#pragma once
// What other desks did to the book, as the server tells this desk: its notifications turned
// into signals. The page life decides what to read again and when. On the file (one desk at a
// time) nothing is ever raised.
#include <QDate>
#include <QObject>

namespace storage {

class BookEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // Another desk stored the page of a date.
    void pageChanged(QDate date);
    // Another desk stored the set-up: the layout or a template.
    void settingsChanged();
    // Another desk replaced the whole book (a restore).
    void bookReplaced();
    // The connection was lost and is open again: whatever other desks did meanwhile was not
    // heard, so what is shown must be read again.
    void missed();
    // This desk works offline, from its journal: it stopped reaching the server, or kept
    // one more page there.
    void serverAway();
    // The server answers again: the pages kept meanwhile wait to be stored.
    void serverBack();
};

}  // namespace storage
