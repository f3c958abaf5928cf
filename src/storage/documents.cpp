#include "storage/documents.h"

#include "storage/database.h"
#include "storage/serverengine.h"

#include <QSqlQuery>
#include <QVariant>

namespace storage {

QString readHelp(Database& db)
{
    if (ServerEngine* server = db.server())
        return server->readHelp();
    QSqlQuery q = db.prepare(QStringLiteral("SELECT Help FROM tbl_Order ORDER BY rowid LIMIT 1"));
    db.exec(q, QStringLiteral("reading the help text"));
    return q.next() ? q.value(0).toString() : QString();
}

}  // namespace storage
