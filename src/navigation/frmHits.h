#pragma once
// The list of every stored cell that holds a searched name, in a window beside the day page:
// one row per cell, oldest date first, pages of today and later marked. Enter or a double
// click on a row opens that page at that cell.
#include <QAbstractTableModel>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QWidget>

class QLabel;
class QTreeView;

namespace storage {
class Database;
struct Layout;
}

// One found cell of a stored page, at its grid coordinates on the day page.
struct Hit {
    QDate date;
    int row = 0;
    int col = 0;
    QString time;      // the time label of its row
    QString provider;  // the provider's name, or the column's number where it has none
    QString text;      // the cell's text
    // A text once in the cell and gone from it now: when it went and by which desk.
    bool removed = false;
    QDateTime removedAt;
    QString removedBy;
};

// Why the day page cannot lay a page out with this layout (the page's own or the settings'),
// as a sentence for the user; empty when it can.
QString layoutFault(const storage::Layout& layout);

// Every cell of the stored pages that holds the name, within each page's layout as the day
// page shows it (a past page's own, the settings' for today and later), and every text that
// held the name and was taken out of its cell since (from the history, marked removed),
// sorted by date, row and column. The dates of pages that hold the name but cannot be laid out go to
// notLaidOut, oldest first. Throws storage::StorageError.
QList<Hit> collectHits(storage::Database& db, const QString& name, QList<QDate>* notLaidOut = nullptr);

// The found cells as the list shows them: mark (today or later), date, weekday, time,
// provider and text.
class HitsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Mark, Date, Day, Time, Provider, Text, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;
    void setHits(const QList<Hit>& hits, QDate today);
    const Hit& hit(int row) const { return hits_[row]; }
    // The first row of today or later, or -1.
    int firstUpcoming() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Hit> hits_;
    QDate today_;
};

class frmHits : public QWidget {
    Q_OBJECT
public:
    explicit frmHits(QWidget* dayPage);

    QLabel* lblHits;
    QTreeView* lstHits;

    // Fills the list, selects the first hit of today or later, and shows the window
    // beside the day page. The summary names the pages that could not be listed.
    void showHits(const QString& name, const QList<Hit>& hits, const QList<QDate>& notLaidOut = {});
    const HitsModel& hits() const { return model_; }

signals:
    void openHit(QDate date, int row, int col);
    // A removed text: its page is opened with the history of its cell.
    void openRemoved(QDate date, int row, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeBesideDayPage();
    void activate(const QModelIndex& index);

    HitsModel model_;
};
