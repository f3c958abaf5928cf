#pragma once
// What the program settles before its first window: the folder of db.mdb and the lock that
// keeps a second copy off the same file.
#include "platform/databaselock.h"
#include "platform/datafolder.h"

#include <memory>

namespace startup {

struct Begun {
    bool run = false;   // false: the program ends here with exitCode
    int exitCode = 0;
    std::unique_ptr<program::DatabaseLock> lock;  // held for the program's life; none without a folder
};

// Points the program at its data folder and locks its db.mdb there. A failed first-start
// copy, or a folder where no lock can be made, is told in a message box and the program goes
// on; a file another copy is running on is told and the program ends.
Begun begin(const program::DataFolderPlaces& places);

}  // namespace startup
