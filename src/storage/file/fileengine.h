#pragma once
// The book in the file db.mdb, through SQLite: the engine of one desk at a time. Each group
// of members below is defined in the file of its domain, as in storage/server.
#include "storage/engine.h"
#include "storage/file/connection.h"

#include <QStringList>
#include <QVariantList>

namespace storage {

class FileEngine final : public Engine {
public:
    // Opens the file and checks it (see FileConnection). Throws StorageError.
    explicit FileEngine(const QString& path) : file_(path) {}

    // The open file, for the file's own tools (benchmarks reach its kept statements).
    FileConnection& connection() { return file_; }

    // connection.cpp
    const QString& name() const override { return file_.path(); }
    QString describe(const QString& what, const QString& detail) const override;
    bool readOnly() override;
    void reopen() override;
    void watch(BookEvents* events) override;

    // pages.cpp
    std::optional<PageRow> findPage(QDate date) override;
    PageRow addPage(QDate date, const Layout& layout, const QString& data, bool closed, const QString& memo,
                    const CellLabels& labels) override;
    void updatePage(PageRow& row, const CellLabels& labels, const std::vector<Change>& notKept) override;
    void removePages(const QList<qint64>& ids) override;
    void removeUnchangedPages(const QList<PageRow>& rows) override;
    void walkPages(const std::function<bool(const PageRow&)>& visit, std::optional<qint64> fromId,
                   bool withLayout) override;
    int countPages() override;

    // settings.cpp
    Settings readSettings() override;
    MemoAndBook writeMemoAndBook(const MemoAndBook& typed, const std::optional<MemoAndBook>& read) override;

    // setup.cpp
    int storeSetup(const Layout& layout, QDate today, std::optional<int> readVersion) override;
    int pagesWithOwnEntries(QDate today) override;
    int storeTemplate(const QString& field, const QString& flag, const QString& cellText, bool closed,
                      std::optional<int> readVersion) override;

    // search.cpp
    std::optional<PageMatch> searchNext(const NameMatcher& matcher, std::optional<qint64> beforeId) override;
    void searchAll(const NameMatcher& matcher, const std::function<void(const PageMatch&)>& visit) override;
    void prepareSearch(const std::function<void(qint64, qint64)>& progress) override;
    // Whether the file holds the search's index whole.
    bool searchIndexed();

    // history.cpp
    std::vector<Change> cellHistory(QDate date, int row, int col) override;
    std::vector<Change> dayHistory(QDate date) override;
    std::vector<Change> overwrittenCells() override;

    // documents.cpp
    QString readHelp() override;

private:
    // settings.cpp: the values of fields of the settings row, read inside the running
    // transaction.
    QVariantList settingsValues(const QStringList& fields);
    // history.cpp: appends changes to the history inside the running transaction, with this
    // connection's desk and the moment now (the file gets its table first where it has none).
    void recordChanges(std::vector<Change> changes);
    // Whether the file holds the history table.
    bool hasHistory();
    // search.cpp: whether a row is the one the day page shows for its date.
    bool shown(qint64 id, QDate date);
    // pages.cpp: the rows the search's index names for a query, newest first, read whole.
    void walkIndexed(const QByteArray& query, const std::function<void(const PageRow&)>& visit);

    FileConnection file_;
};

}  // namespace storage
