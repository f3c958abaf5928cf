#include "storage/file/databasefile.h"

#include "storage/database.h"
#include "storage/file/connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace storage {

QString withoutStop(QString text)
{
    text = text.trimmed();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString pagesProblem(FileConnection& db, Check check)
{
    if (check == Check::Tables)
        return {};
    QSqlQuery q(db.database());
    if (!q.exec(check == Check::Full ? QStringLiteral("PRAGMA integrity_check") : QStringLiteral("PRAGMA quick_check")))
        return withoutStop(q.lastError().text());
    QStringList findings;
    while (q.next() && findings.size() < 3)
        findings << q.value(0).toString();
    if (findings != QStringList{QStringLiteral("ok")})
        return withoutStop(findings.join(QStringLiteral("; ")));
    return {};
}

QString databaseProblem(const QString& path, Check check)
{
    try {
        FileConnection db(path);
        return pagesProblem(db, check);
    } catch (const StorageError& e) {
        return withoutStop(e.reason());
    }
}

}  // namespace storage
