// The file's index of its pages' text only narrows the pages the search reads: every page
// the matcher finds a name in must be among the pages the index names for it. The first byte
// gives the length of the name; the rest of the input is the pages, split at each 0xFF byte.
// Half of them are stored before the index exists and reach it as a file from before does,
// the other half are stored empty and then written, as the day page stores them.
#include "storage/file/searchindex.h"
#include "storage/file/tables.h"
#include "storage/pagesearch.h"

#include <cstdint>
#include <cstdlib>
#include <set>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

void exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        std::abort();
}

void step(sqlite3* db, const char* sql, sqlite3_int64 id, const std::string* text)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        std::abort();
    sqlite3_bind_int64(st, 1, id);
    if (text)
        sqlite3_bind_text(st, 2, text->data(), int(text->size()), SQLITE_STATIC);
    if (sqlite3_step(st) != SQLITE_DONE)
        std::abort();
    sqlite3_finalize(st);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t nameSize = std::min<size_t>(data[0], size - 1);
    const char* name = reinterpret_cast<const char*>(data) + 1;
    std::vector<std::string> pages(1);
    for (size_t i = 1 + nameSize; i < size; ++i) {
        if (data[i] == 0xFF && pages.size() < 8)
            pages.emplace_back();
        else if (data[i] != 0xFF && data[i] != 0)
            // The index reads a page's text only up to a NUL character; the program's pages
            // hold none (a server stores none either), so the pages here hold none.
            pages.back() += char(data[i]);
    }

    const storage::NameMatcher matcher(QString::fromUtf8(name, qsizetype(nameSize)));
    const std::optional<QByteArray> query = storage::searchIndexQuery(matcher.name());
    if (!query)
        return 0;

    sqlite3* db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK)
        std::abort();
    exec(db, storage::kFileTables[1]);
    const char* add = "INSERT INTO tbl_Appt (id, CalDate, Data) VALUES (?1, '2001-01-01', ?2)";
    for (size_t i = 0; i < pages.size(); i += 2)
        step(db, add, sqlite3_int64(i + 1), &pages[i]);
    for (const char* sql : storage::kFileSearchIndex)
        exec(db, sql);
    {
        sqlite3_stmt* fill = nullptr;
        sqlite3_prepare_v2(db, storage::kFileSearchIndexFill, -1, &fill, nullptr);
        sqlite3_bind_int64(fill, 1, 0);
        sqlite3_bind_int64(fill, 2, sqlite3_int64(pages.size()));
        if (sqlite3_step(fill) != SQLITE_DONE)
            std::abort();
        sqlite3_finalize(fill);
    }
    const std::string empty;
    for (size_t i = 1; i < pages.size(); i += 2) {
        step(db, add, sqlite3_int64(i + 1), &empty);
        step(db, "UPDATE tbl_Appt SET Data = ?2 WHERE id = ?1", sqlite3_int64(i + 1), &pages[i]);
    }

    std::set<sqlite3_int64> named;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT rowid FROM tbl_ApptSearch WHERE tbl_ApptSearch MATCH ?1", -1, &st, nullptr)
        != SQLITE_OK)
        std::abort();
    sqlite3_bind_text(st, 1, query->constData(), int(query->size()), SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        named.insert(sqlite3_column_int64(st, 0));
    // A query the index cannot read would leave the search without pages.
    if (rc != SQLITE_DONE)
        std::abort();
    sqlite3_finalize(st);
    for (size_t i = 0; i < pages.size(); ++i)
        if (matcher.matchesUtf8(pages[i].data(), qsizetype(pages[i].size())) && !named.count(sqlite3_int64(i + 1)))
            std::abort();
    sqlite3_close(db);
    return 0;
}
