#include "pgserver.h"

#include "generator.h"
#include "storage/database.h"
#include "storage/server/server.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>

namespace bench {
namespace {

// The suite's own script starts and stops the cluster; its note names the cluster's folder.
QString cluster(const char* action, const QString& note)
{
    QProcess p;
    p.start(QStringLiteral("sh"), {QStringLiteral(CALVORA_PGCLUSTER), QString::fromLatin1(action), note});
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("pgcluster.sh %1 failed: %2")
            .arg(QString::fromLatin1(action), QString::fromLocal8Bit(p.readAllStandardError()).trimmed());
    return {};
}

QTemporaryDir& noteFolder()
{
    static QTemporaryDir dir;
    return dir;
}

QString notePath()
{
    return noteFolder().filePath(QStringLiteral("pgcluster"));
}

}  // namespace

const BenchServer& twentyYearServer()
{
    static const BenchServer server = [] {
        BenchServer s;
        if (QString why = cluster("start", notePath()); !why.isEmpty()) {
            s.error = why;
            return s;
        }
        std::atexit([] { cluster("stop", notePath()); });
        QFile note(notePath());
        if (!note.open(QIODevice::ReadOnly)) {
            s.error = QStringLiteral("the cluster's note cannot be read");
            return s;
        }
        const QString conninfo =
            QStringLiteral("host=%1 user=postgres dbname=calvora").arg(QString::fromLocal8Bit(note.readAll().trimmed()));
        try {
            storage::restoreServer(twentyYearDatabase().path, conninfo);
        } catch (const storage::StorageError& e) {
            s.error = e.message();
            return s;
        }
        // The server's statistics, as its autovacuum would gather them within a minute of the
        // load: the figures are those of a server at work, not of the minute after a move.
        QProcess analyze;
        analyze.start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-c"),
                                               QStringLiteral("ANALYZE"), conninfo});
        if (!analyze.waitForFinished(120000) || analyze.exitCode() != 0) {
            s.error = QStringLiteral("ANALYZE failed: ") + QString::fromLocal8Bit(analyze.readAllStandardError());
            return s;
        }
        s.conninfo = conninfo;
        return s;
    }();
    return server;
}

}  // namespace bench
