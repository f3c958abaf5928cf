#include "common/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <sqlite3.h>
#include <sys/stat.h>

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile::remove(path);
    if (content.isNull())
        return;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

qint64 lockHolder(const QString& lockFile)
{
    return readAll(lockFile).split('\n').value(0).trimmed().toLongLong();
}

int fileMode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

QVariant fileSql(const QString& path, const QString& statement)
{
    QVariant result;
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fileSql"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (!q.exec(statement))
                failure = q.lastError().text();
            else if (q.next())
                result = q.value(0);
        } else {
            failure = db.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fileSql"));
    if (!failure.isEmpty())
        QTest::qFail(qPrintable(statement + ": " + failure), __FILE__, __LINE__);
    return result;
}

QStringList fileRows(const QString& path, const QStringList& statements)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fileRows"));
        db.setDatabaseName(path);
        if (!db.open())
            rows = {QStringLiteral("<cannot open>")};
        for (const QString& sql : db.isOpen() ? statements : QStringList()) {
            QSqlQuery q(db);
            if (!q.exec(sql)) {
                rows = {QStringLiteral("<cannot read>")};
                break;
            }
            while (q.next()) {
                QString row;
                for (int i = 0; i < q.record().count(); ++i)
                    row += (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString()) + u'|';
                rows << row;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fileRows"));
    return rows;
}

void crashInTheMiddleOf(const QString& path, const char* change)
{
    const QString scratch = path + QStringLiteral(".crashing");
    QFile::remove(scratch);
    QVERIFY(QFile::copy(path, scratch));
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(scratch.toUtf8().constData(), &db), SQLITE_OK);
    // A cache too small for the change: its pages go into the file before the end.
    QCOMPARE(sqlite3_exec(db, "PRAGMA cache_size = 2; BEGIN", nullptr, nullptr, nullptr), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, change, nullptr, nullptr, nullptr), SQLITE_OK);
    QVERIFY(QFileInfo(scratch + QStringLiteral("-journal")).size() > 0);
    writeFile(path, readAll(scratch));
    writeFile(path + QStringLiteral("-journal"), readAll(scratch + QStringLiteral("-journal")));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QFile::remove(scratch);
}
