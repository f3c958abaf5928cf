#pragma once
// The list of every stored cell that holds a searched name, in a window beside the day page:
// one row per cell, oldest date first, pages of today and later marked. Enter or a double
// click on a row opens that page at that cell.
#include <QDate>
#include <QList>
#include <QString>
#include <QWidget>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace storage {
class Database;
}

// One found cell of a stored page, at its grid coordinates on the day page.
struct Hit {
    QDate date;
    int row = 0;
    int col = 0;
    QString time;      // the time label of its row
    QString provider;  // the provider's name, or the column's number where it has none
    QString text;      // the cell's text
};

// Every cell of the stored pages that holds the name, within each page's layout as the day
// page shows it (a past page's own, the settings' for today and later), sorted by date,
// row and column. Throws storage::StorageError.
QList<Hit> collectHits(storage::Database& db, const QString& name);

class frmHits : public QWidget {
    Q_OBJECT
public:
    explicit frmHits(QWidget* dayPage);

    QLabel* lblHits;
    QTreeWidget* lstHits;

    // Fills the list, selects the first hit of today or later, and shows the window
    // beside the day page.
    void showHits(const QString& name, const QList<Hit>& hits);
    // The hit of a list row.
    const Hit& hit(int index) const { return hits_[index]; }

signals:
    void openHit(QDate date, int row, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeBesideDayPage();
    void activate(QTreeWidgetItem* item);

    QList<Hit> hits_;
};
