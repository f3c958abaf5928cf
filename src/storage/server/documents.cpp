// The help text kept on the server.
#include "storage/tr.h"
#include "storage/server/serverengine.h"
#include <QCoreApplication>

namespace storage {

QString ServerEngine::readHelp()
{
    const QString what = Tr::tr("reading the help text");
    QString help;
    server_.read(what, [&] {
        QSqlQuery& q = server_.run(QStringLiteral("SELECT Help FROM tbl_Order ORDER BY id LIMIT 1"), {}, what);
        help = q.next() ? q.value(0).toString() : QString();
        q.finish();
    });
    return help;
}

}  // namespace storage
