#include "common/deskprocess.h"

#include "common/daypage.h"
#include "common/testbook.h"
#include "storage/server/server.h"

DeskProcess::DeskProcess(TestBook& book, const QString& folder)
{
    process_.setProgram(QStringLiteral(CALVORA_DESK_DRIVER));
    // Each desk a computer of its own: its own folder, and in it its own journal.
    process_.setArguments({book.server().conninfo(), DayPageFixture::Today.toString(Qt::ISODate),
                           folder.isEmpty() ? folder_.path() : folder});
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start();
    ready = process_.waitForStarted(10000) && line() == QLatin1String("ready");
}

DeskProcess::~DeskProcess()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    send(QStringLiteral("quit"));
    if (!process_.waitForFinished(10000))
        process_.kill();
    process_.waitForFinished(2000);
}

QString DeskProcess::send(const QString& command)
{
    process_.write(command.toUtf8() + '\n');
    return line();
}

void DeskProcess::kill()
{
    process_.kill();  // SIGKILL
    process_.waitForFinished(10000);
}

QString DeskProcess::line()
{
    while (!process_.canReadLine())
        if (!process_.waitForReadyRead(15000))
            return QStringLiteral("<no answer> ") + QString::fromUtf8(process_.readAllStandardError());
    return QString::fromUtf8(process_.readLine()).trimmed();
}
