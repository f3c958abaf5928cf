#pragma once
// What the set-up page and the template editor store: the practice's layout with the stored
// pages that follow it, and one weekday's template with its closed flag.
#include "storage/database.h"
#include "storage/settings.h"

#include <QDate>
#include <QString>
#include <optional>

namespace storage {

class Database;

// The set-up was stored on another desk after this desk read it (the version given): nothing
// was stored over it.
class StaleSettings : public StorageError {
public:
    using StorageError::StorageError;
};

// One transaction: the settings row takes the layout, and every stored page dated `today` or
// later takes its location and times (it is shown and edited with them from now on, so it
// must keep them when it becomes a past page); those of them with no more providers than the
// new count also take the count, sites and names. Pages with more providers keep their
// columns, and past pages keep their whole layout. Throws StorageError; the rows are then as
// they were. With readVersion, a set-up stored elsewhere since that version is refused
// (StaleSettings). Returns the set-up's version after the store.
int storeSetup(Database& db, const Layout& layout, QDate today, std::optional<int> readVersion = std::nullopt);

// The stored pages dated `today` or later whose cells hold text that is not their weekday's
// template: the pages whose entries would stand at other times under another first time or
// slot length.
int pagesWithOwnEntries(Database& db, QDate today);

// One transaction: the template of a weekday (1 Monday ... 7 Sunday), in its field by name,
// and its closed flag. Throws StorageError; StaleSettings as storeSetup. Returns the set-up's
// version after the store.
int storeTemplate(Database& db, int weekday, const QString& cellText, bool closed,
                  std::optional<int> readVersion = std::nullopt);

// The field that holds a weekday's closed flag (1 Monday ... 7 Sunday): chk1 is Sunday.
QString closedFlagField(int weekday);

}  // namespace storage
