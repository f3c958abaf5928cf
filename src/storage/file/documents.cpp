// The help text kept in the file.
#include "storage/file/fileengine.h"

#include <QSqlQuery>
#include <QVariant>
#include <QCoreApplication>

namespace {
// The storage's texts, one context for both engines: the same text is translated once.
struct Tr {
    Q_DECLARE_TR_FUNCTIONS(storage)
};
}  // namespace

namespace storage {

QString FileEngine::readHelp()
{
    QSqlQuery q = file_.prepare(QStringLiteral("SELECT Help FROM tbl_Order ORDER BY rowid LIMIT 1"));
    file_.exec(q, Tr::tr("reading the help text"));
    return q.next() ? q.value(0).toString() : QString();
}

}  // namespace storage
