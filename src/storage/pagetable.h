#pragma once
// The page rows of tbl_Appt: one stored day page per row.
#include "storage/database.h"
#include "storage/history.h"
#include "storage/settings.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

namespace storage {

class Database;

struct PageRow {
    qint64 id = 0;  // the row's place in the table; later rows have larger ids
    QDate calDate;
    QString data;
    bool dataNull = true;  // Data was never written
    std::optional<bool> clinic;  // closed flag; std::nullopt when never written
    QString memo;
    Layout layout;  // the copy of the settings taken when the row was added
    // On a server: the row's count of stores when it was read; a store from an older count
    // is refused (another desk stored the page in between). The file keeps none.
    int version = 0;

    // The row of a page just added (or, with id -1, of one not added yet) holding what it was
    // added with.
    static PageRow added(qint64 id, QDate date, const Layout& layout, const QString& data, bool closed,
                         const QString& memo)
    {
        PageRow row;
        row.id = id;
        row.calDate = date;
        row.layout = layout;
        row.data = data;
        row.dataNull = false;
        row.clinic = closed;
        row.memo = memo;
        return row;
    }
};

// A store over a page that another desk stored (or removed) after this desk read it. Nothing
// was written; the page as it is stored now (none when it is gone) goes with the refusal, so
// that the page life can merge what this desk typed into it.
class StaleVersion : public StorageError {
public:
    StaleVersion(const QString& message, std::optional<PageRow> stored)
        : StorageError(message), stored_(std::move(stored)) {}
    const std::optional<PageRow>& stored() const { return stored_; }

private:
    std::optional<PageRow> stored_;
};

class PageTable {
public:
    explicit PageTable(Database& db) : db_(db) {}

    // The time and provider of each cell as the page on screen shows them, kept with every
    // change the stores below record in the history.
    void setCellLabels(const CellLabels& labels) { labels_ = labels; }

    // The newest row of a date (the one the backward walk would reach first).
    std::optional<PageRow> find(QDate date);
    // Adds the row of a new page whole, in one transaction: the layout copy, the weekday's
    // template (or what was typed) as its Data, the closed flag and the memo. Returns the new
    // row.
    PageRow add(QDate date, const Layout& settingsLayout, const QString& data, bool closed,
                const QString& memo = QString());
    // Stores Data, Clinic and Memo of a row; the row then carries the version it was stored
    // as. On a server a row stored or removed by another desk since it was read is left as it
    // is: StaleVersion. The cells, flag and memo that change are recorded in the history with
    // the store (the add records what differs from the weekday's new page), and with them the
    // texts typed here that the user did not keep (Change::notKept), labelled as the cells.
    void update(PageRow& row, std::vector<Change> notKept = {});
    void remove(qint64 id);
    // Deletes many rows in one transaction.
    void remove(const QList<qint64>& ids);
    // Deletes rows in one transaction, each only if it is still as it was read: a row another
    // desk stored in between stays.
    void removeUnchanged(const QList<PageRow>& rows);

    // Calls visit for each row from the newest (or from the row `fromId`, inclusive) back to
    // the oldest, until visit returns false. With withLayout false the layout is not read.
    void walk(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId = {},
              bool withLayout = false);

    int count();

private:
    Database& db_;
    CellLabels labels_;
};

}  // namespace storage
