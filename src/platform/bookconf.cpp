#include "platform/bookconf.h"

#include "platform/serveraddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace program {
namespace {

struct Tr {
    Q_DECLARE_TR_FUNCTIONS(bookconf)
};

const QString kServerKey = QStringLiteral("book/server");

QString statusText(QSettings::Status status)
{
    return status == QSettings::FormatError ? Tr::tr("it is not an INI file")
                                            : Tr::tr("it cannot be read or written");
}

}  // namespace

QString confPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("calvora.conf"));
}

RememberedBook rememberedBook(const QString& folder)
{
    RememberedBook book;
    const QString path = confPath(folder);
    if (!QFileInfo::exists(path))
        return book;
    QSettings conf(path, QSettings::IniFormat);
    if (conf.status() != QSettings::NoError) {
        book.error = Tr::tr("The settings file %1 was not read: %2.")
                         .arg(QDir::toNativeSeparators(path), statusText(conf.status()));
        return book;
    }
    // A hand-written value with a comma in it comes back as a list: it was one text.
    const QVariant v = conf.value(kServerKey);
    book.server = (v.typeId() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", "))
                                                         : v.toString()).trimmed();
    if (book.server.isEmpty())
        return book;
    QString why;
    const std::optional<ServerAddress> address = readServerAddress(book.server, why);
    if (!address) {
        book.error = Tr::tr("The server named in %1 cannot be used: %2.")
                         .arg(QDir::toNativeSeparators(path), why);
    } else if (address->hasPassword) {
        // Whoever wrote it there meant well; the password is not used from a file that any
        // program of this user reads.
        book.server = withoutPassword(book.server);
        book.error = Tr::tr("The server named in %1 carries a password. Calvora does not take "
                                    "passwords from its files: remove it from there and keep it in "
                                    "~/.pgpass, or type it when asked.")
                         .arg(QDir::toNativeSeparators(path));
    }
    return book;
}

QString rememberBook(const QString& folder, const QString& server)
{
    const QString path = confPath(folder);
    if (server.isEmpty() && !QFileInfo::exists(path))
        return {};
    QString why;
    if (!server.isEmpty()) {
        const std::optional<ServerAddress> address = readServerAddress(server, why);
        if (!address)
            return Tr::tr("The connection string is not valid: %1.").arg(why);
        if (address->hasPassword)
            return Tr::tr("The connection string holds a password. Calvora never stores "
                                  "one: keep it in ~/.pgpass, PGPASSWORD or a PGSERVICE entry, or "
                                  "type it when the program asks.");
    }
    bool empty = false;
    {
        QSettings conf(path, QSettings::IniFormat);
        if (server.isEmpty())
            conf.remove(kServerKey);
        else
            conf.setValue(kServerKey, server);
        conf.sync();
        if (conf.status() != QSettings::NoError)
            return Tr::tr("The settings file %1 could not be written: %2.")
                .arg(QDir::toNativeSeparators(path), statusText(conf.status()));
        empty = conf.allKeys().isEmpty();
    }
    // Back on the file with nothing else to remember: no settings file at all, as before.
    QFile file(path);
    if (empty && !file.remove())
        return Tr::tr("The settings file %1 could not be removed: %2.")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

}  // namespace program
