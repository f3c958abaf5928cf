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

QString databaseProblem(const QString& path, Check check)
{
    try {
        FileConnection db(path);
        if (check != Check::Tables) {
            QSqlQuery q(db.database());
            if (!q.exec(check == Check::Full ? QStringLiteral("PRAGMA integrity_check")
                                             : QStringLiteral("PRAGMA quick_check")))
                return withoutStop(q.lastError().text());
            QStringList findings;
            while (q.next() && findings.size() < 3)
                findings << q.value(0).toString();
            if (findings != QStringList{QStringLiteral("ok")})
                return withoutStop(findings.join(QStringLiteral("; ")));
        }
    } catch (const StorageError& e) {
        return withoutStop(e.reason());
    }
    return {};
}

}  // namespace storage
