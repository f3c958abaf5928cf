#pragma once
// File operations that a copy of the database needs to be safe on a removable disk: data on
// the disk before a copy counts as made, renames that replace a file in one step and are
// themselves on the disk before they count, and reads that come from the disk rather than
// from the system's cache. Each returns an empty text, or what went wrong in words fit for
// the user (no full stop at the end).
#include <QString>

class QFile;

namespace durable {

// Copies `source` to `target` (replacing it) and flushes the copy to the disk. The copy is
// the user's own file, readable and writable by the user alone, whatever the source's mode
// (a backup on a write-protected disk is read-only, and its copy must still be written).
QString copyToDisk(const QString& source, const QString& target);
// The same from a file already open, read from its start and left open: a database holds its
// locks only as long as every handle of the program on that file stays open.
QString copyToDisk(QFile& source, const QString& target);

// Reads the whole file back from the disk itself, not from the system's cache: a disk that
// dropped some of the data shows it now. The file stays in the cache for what reads it next.
// Given `original` (open), what is read back must also be that file's bytes, one for one.
QString readBack(const QString& path, QFile* original = nullptr);

// Replaces `target` by `source` in one rename.
QString replace(const QString& source, const QString& target);

// Gives the file `path` the second name `second`, which must not exist yet. `unsupported`
// is set when the disk has no second names (a FAT stick), so the caller can do without.
QString link(const QString& path, const QString& second, bool* unsupported = nullptr);

// Keeps the file `path` also under the name `kept` (a second name for the same file where the
// disk allows, a copy elsewhere); an earlier `kept` is replaced.
QString keepAs(const QString& path, const QString& kept);

// Makes the renames done in `folder` durable (on systems that keep names apart from data).
// A disk whose folders cannot be synced at all is taken as it is.
QString syncFolder(const QString& folder);

// For tests: the `step`th of the operations above from now on (counting a copy's creation
// and each of its writes, every flush, rename, link and folder sync) fails with the system
// error `error`, once. A step of 0 turns it off. Returns how many steps ran since the last
// call, and whether the failure was made.
void failStepForTesting(int step, int error);
int stepsForTesting();
bool failedForTesting();
// For tests: the next copy reads back with the byte at `at` changed, as from a disk that lost
// part of what it was given while it said the write was done. -1 turns it off.
void changeCopyForTesting(qint64 at);

}  // namespace durable
