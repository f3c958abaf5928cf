#include "platform/programfolder.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

namespace {
QString g_folder;
QString g_server;
std::function<void()> g_endHandler;
}  // namespace

namespace program {

QString folder()
{
    return g_folder.isEmpty() ? QCoreApplication::applicationDirPath() : g_folder;
}

void setFolder(const QString& path)
{
    g_folder = path;
}

QString databasePath()
{
    return QDir(folder()).filePath(QStringLiteral("db.mdb"));
}

BookLocation bookLocation()
{
    return BookLocation{databasePath(), g_server};
}

void setServer(const QString& conninfo)
{
    g_server = conninfo;
}

void end()
{
    if (g_endHandler) {
        g_endHandler();
        return;
    }
    // Every window goes at once, without asking any of them, then the event loop ends.
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}

void setEndHandler(std::function<void()> handler)
{
    g_endHandler = std::move(handler);
}

}  // namespace program
