#pragma once
// The client search of the day page: a name typed by the user is looked for in the stored
// pages, newest row first, and each page that holds it is shown with the found cell open,
// one at a time; the questions stand in the panel Frame2. "All" lists every found cell at
// once in a window beside the page.
#include <QDate>
#include <QObject>
#include <QPointer>
#include <optional>

class QLabel;
class QPushButton;
class frmAppt;
class frmHits;

namespace storage {
class NameMatcher;
}

class ClientSearch : public QObject {
    Q_OBJECT
public:
    explicit ClientSearch(frmAppt& form);

    // Controls in Frame2
    QLabel* lblMessage;
    QPushButton* cmdYes;
    QPushButton* cmdNo;
    QPushButton* cmdAll;

    // Members
    QString SearchName;
    // The row to go on from: the last page whose stored text matched.
    std::optional<qint64> SearchMark;
    bool SearchFirst = false;
    bool SearchFound = false;
    bool SearchFoundAny = false;
    // What cmdYes does: 1 continue this search, 2 start a new one.
    int SearchMode = 2;

    void StartSearch();
    void SearchNext();
    // Shows the page of a date, storing the page on screen first so that nothing typed
    // at a hit is lost. False when the page could not be shown (the user was told).
    bool GoToDate(QDate date);
    void ShowSearchResult();
    void cmdYes_Click();
    void cmdNo_Click();
    void cmdAll_Click();

    // The list of every found cell, while it is open.
    frmHits* hits() const;

private:
    // Gives a file from before the index of its pages' text that the search asks, as the day
    // page opens, with a progress bar where that takes more than half a second.
    void prepareIndex();
    // The data cells of the page on screen, column by column: the first that holds the name
    // is opened in the cell editor. False when none does.
    bool scanCells(const storage::NameMatcher& matcher);
    // Why the page of a date cannot be laid out for showing; empty when it can.
    QString layoutFault(QDate date);
    // Makes a cell current, scrolls it into view and opens the cell editor over it.
    void openCell(int row, int col);
    // A page picked in the list of every found cell.
    // Brings the day page forward on a day chosen in the list of found cells; false when the
    // day could not be shown.
    bool showFoundDay(QDate date);
    void openHit(QDate date, int row, int col);
    void endSearch();

    frmAppt& form_;
    QPointer<frmHits> hits_;
};
