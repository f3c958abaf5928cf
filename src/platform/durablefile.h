#pragma once
// File operations that a copy of the database needs to be safe on a removable disk: data on
// the disk before a copy counts as made, renames that replace a file in one step, and reads
// that come from the disk rather than from the system's cache.
#include <QString>

namespace durable {

// Copies `source` to `target` (replacing it) and flushes the copy to the disk. Returns an
// empty text, or what went wrong as the system says it (no full stop at the end).
QString copyToDisk(const QString& source, const QString& target);

// Forgets the system's cached pages of a file, so that the next read of it comes from the
// disk itself: a disk that dropped the data shows it then.
void dropCache(const QString& path);

// Replaces `target` by `source` in one rename. Returns an empty text or what went wrong.
QString replace(const QString& source, const QString& target);

// Keeps the file `path` also under the name `kept` (a second name for the same file where the
// disk allows, a copy elsewhere); an earlier `kept` is replaced. Returns an empty text or what
// went wrong.
QString keepAs(const QString& path, const QString& kept);

// Makes the renames done in `folder` durable (on systems that keep names apart from data).
void syncFolder(const QString& folder);

}  // namespace durable
