#pragma once
// The tables and fields the program relies on, whichever engine keeps the book.
#include <QList>
#include <QString>
#include <QStringList>

namespace storage {

struct ExpectedTable {
    QString table;
    QStringList fields;
};

// The file's tables and fields; on a server every row also has its id, and the settings row
// and the page rows a version.
QList<ExpectedTable> expectedTables(bool onServer);

// The fields of `expected` that a table whose fields are `present` (in small letters) lacks.
QStringList missingFields(const ExpectedTable& expected, const QStringList& present);

}  // namespace storage
