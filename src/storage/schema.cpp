#include "storage/schema.h"

namespace storage {

QList<ExpectedTable> expectedTables(bool onServer)
{
    QList<ExpectedTable> tables = {
        {QStringLiteral("tbl_Setup"),
         {"location", "open", "Close", "timeslot", "Listno", "Names", "Sites", "FixedMemo", "bookno",
          "Readme", "Licence", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun", "chk1", "chk2",
          "chk3", "chk4", "chk5", "chk6", "chk7"}},
        {QStringLiteral("tbl_Appt"),
         {"CalDate", "Data", "Clinic", "Memo", "location", "open", "Close", "timeslot", "Listno",
          "Sites", "Names"}},
        {QStringLiteral("tbl_Order"), {"Help"}},
    };
    if (onServer) {
        tables[0].fields << QStringLiteral("version") << QStringLiteral("id");
        tables[1].fields << QStringLiteral("id") << QStringLiteral("version");
        tables[2].fields << QStringLiteral("id");
    }
    return tables;
}

QStringList missingFields(const ExpectedTable& expected, const QStringList& present)
{
    QStringList missing;
    for (const QString& f : expected.fields)
        if (!present.contains(f.toLower()))
            missing << f;
    return missing;
}

}  // namespace storage
