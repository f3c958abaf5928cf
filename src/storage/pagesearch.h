#pragma once
// Finding a client's name in the stored pages: which page rows' cell text holds it,
// walking the table newest first, without building any SQL from the name.
#include "storage/settings.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>
#include <optional>

namespace storage {

class Database;

// Whether a text holds a name, case ignored for every letter (Unicode simple case folding,
// so müller finds MÜLLER). The same answer on a QString and on stored UTF-8 bytes.
class NameMatcher {
public:
    explicit NameMatcher(const QString& name);

    const QString& name() const { return name_; }
    bool matches(QStringView text) const;
    // Where the name next stands in a text from a position on, or -1.
    qsizetype indexIn(QStringView text, qsizetype from) const;
    bool matchesUtf8(const char* data, qsizetype size) const;

private:
    QString name_;
    // An ASCII name is looked for in the bytes themselves, folded to small letters.
    bool ascii_ = false;
    QByteArray folded_;
    // Two characters outside ASCII fold to ASCII letters: U+017F (s) and U+212A (k).
    bool foldsFromBeyondAscii_ = false;
    mutable QByteArray buffer_;
};

// A page row whose cell text holds the name.
struct PageMatch {
    qint64 id = 0;
    QDate calDate;
    QString data;  // only from allMatches
    Layout layout; // only from allMatches
};

class PageSearch {
public:
    PageSearch(Database& db, const QString& name) : db_(db), matcher_(name) {}

    const NameMatcher& matcher() const { return matcher_; }

    // Only the row the day page shows for a date takes part: the newest row of that date.
    // An older row of the same date, or a row without a readable date, is passed over,
    // since no page can show it.

    // The newest row below `beforeId` (every row when it is empty) whose Data holds the
    // name: its id and date only.
    std::optional<PageMatch> next(std::optional<qint64> beforeId);

    // Every row whose Data holds the name, newest first, with its text and layout copy.
    void allMatches(const std::function<void(const PageMatch&)>& visit);

    // What the user should know about the search of this book; empty where nothing.
    QString notice();

private:
    Database& db_;
    NameMatcher matcher_;
};

}  // namespace storage
