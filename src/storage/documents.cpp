#include "storage/documents.h"

#include "storage/database.h"
#include "storage/engine.h"

namespace storage {

QString readHelp(Database& db)
{
    return db.engine().readHelp();
}

}  // namespace storage
