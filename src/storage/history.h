#pragma once
// Every change stored in the book, remembered in tbl_History: one row per changed cell of a
// page (and per changed memo, closed flag or settings field), written in the transaction of
// the store itself, so that any overwrite can be seen and undone.
#include "storage/settings.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

namespace storage {

class Database;
class NameMatcher;

// The field a change was made in: "Data" for a cell of a page, "Memo" and "Clinic" for the
// page's memo and closed flag, a field of tbl_Setup (CalDate invalid) for the settings.
// "NotKept" is no store: a text typed on this desk that the user gave up for another desk's
// when both changed the same cell (row and column set) or the memo (none): old text theirs,
// new text the one not kept, so that it can still be seen and put back.
struct Change {
    qint64 id = 0;
    QDate calDate;
    QString field;
    int row = -1;  // the cell's row and column in the page's cell text (cells only)
    int col = -1;
    QString timeLabel;  // the cell's time and provider as the page showed them
    QString provider;
    QString oldText;
    QString newText;
    QDateTime moment;  // UTC
    QString desk;

    bool isCell() const { return field == QLatin1String("Data"); }
    bool notKept() const { return field == QLatin1String("NotKept"); }
};

// The labels of a page's cells as the screen shows them: the time of each row of the cell
// text and the provider of each column (either may be shorter than the text).
struct CellLabels {
    QStringList times;
    QStringList providers;
};

// A page as stored: its cell text, closed flag and memo.
struct PageState {
    QString data;
    bool closed = false;
    QString memo;
};

// A new page of a date as the settings make it: the weekday's template and flag, no memo.
PageState newPage(QDate date, const Settings& settings);
// A stored row as the page shows it: Data never written is the weekday's template (with the
// weekday's flag where no flag was written either); a flag never written otherwise shows open.
PageState storedPage(QDate date, const QString& data, bool dataNull, std::optional<bool> clinic,
                     const QString& memo, const std::function<Settings()>& settings);

// The changes of fields of the settings row, by name, from their values before and after.
std::vector<Change> settingChanges(const QStringList& fields, const QVariantList& before,
                                   const QVariantList& after);

// This desk as the history names it: "computer/login", the part that cannot be found named
// so, "unknown desk" when neither can; never empty.
QString deskName();
// Names this desk otherwise (empty: found again); a connection opened later takes it.
void setDeskName(const QString& name);

// The changes that turn `before` into `after` on a date: one per cell whose text differs, and
// one each for the flag and the memo when they differ. Nothing when the page is unchanged.
std::vector<Change> pageChanges(QDate date, const PageState& before, const PageState& after,
                                const CellLabels& labels);

class History {
public:
    explicit History(Database& db) : db_(db) {}

    // The changes of one cell of a page, newest first.
    std::vector<Change> cell(QDate date, int row, int col);
    // Every change stored on a page, newest first.
    std::vector<Change> day(QDate date);
    // Texts once in a cell that held the name and no longer hold it, newest removal first,
    // one per cell: `stillThere` tells whether the cell's text now holds the name.
    std::vector<Change> removed(const NameMatcher& matcher,
                                const std::function<bool(const Change&)>& stillThere);

private:
    Database& db_;
};

}  // namespace storage
