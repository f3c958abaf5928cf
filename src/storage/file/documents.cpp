// The help text kept in the file.
#include "storage/tr.h"
#include "storage/file/fileengine.h"

#include <QSqlQuery>
#include <QVariant>
#include <QCoreApplication>

namespace storage {

QString FileEngine::readHelp()
{
    QSqlQuery q = file_.prepare(QStringLiteral("SELECT Help FROM tbl_Order ORDER BY rowid LIMIT 1"));
    file_.exec(q, Tr::tr("reading the help text"));
    return q.next() ? q.value(0).toString() : QString();
}

}  // namespace storage
