#include "storage/database.h"

#include "platform/programfolder.h"
#include "storage/bookevents.h"
#include "storage/engine.h"
#include "storage/file/fileengine.h"
#include "storage/server/desk.h"
#include "storage/server/serverengine.h"

namespace storage {

StorageError::StorageError(const QString& message, Kind kind, const QString& cause)
    : std::runtime_error(message.toStdString()), message_(message), kind_(kind), cause_(cause)
{
}

QString StorageError::reason() const
{
    const qsizetype lineEnd = message_.indexOf(QLatin1Char('\n'));
    return lineEnd < 0 ? message_ : message_.mid(lineEnd + 1);
}

Database::Database(const QString& path) : engine_(std::make_unique<FileEngine>(path))
{
}

namespace {

std::unique_ptr<Engine> open(const program::BookLocation& location, Database::Use use)
{
    if (location.onServer() && use == Database::Use::DayPage)
        return std::make_unique<DeskEngine>(location.server);
    if (location.onServer())
        return std::make_unique<ServerEngine>(location.server);
    return std::make_unique<FileEngine>(location.file);
}

}  // namespace

Database::Database(const program::BookLocation& location) : engine_(open(location, Use::Screen))
{
}

Database::Database(const program::BookLocation& location, Use use) : engine_(open(location, use))
{
}

Database::Database(std::unique_ptr<Engine> engine) : engine_(std::move(engine))
{
}

Database::~Database() = default;

BookEvents& Database::events()
{
    if (!events_) {
        events_ = std::make_unique<BookEvents>();
        engine_->watch(events_.get());
    }
    return *events_;
}

const QString& Database::path() const
{
    return engine_->name();
}

bool Database::readOnly()
{
    return engine_->readOnly();
}

QString Database::readOnlyReason()
{
    return engine_->readOnlyReason();
}

QString Database::connectedTo()
{
    return engine_->connectedTo();
}

void Database::reopen()
{
    engine_->reopen();
}

void Database::prepareSearch(const std::function<void(qint64, qint64)>& progress)
{
    engine_->prepareSearch(progress);
}

QString Database::describe(const QString& what, const QString& detail) const
{
    return engine_->describe(what, detail);
}

}  // namespace storage
