#include "common/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
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
