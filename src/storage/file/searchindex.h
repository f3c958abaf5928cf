#pragma once
// What the file's index of its pages' text is asked for a name: the pages that may hold it.
#include <QByteArray>
#include <QString>
#include <optional>

namespace storage {

// The index's query for the pages that may hold a name (as the matcher keeps it): every
// trigram of each stretch of three or more ASCII characters of the name, in small letters,
// which every page holding the name holds too. None where the name has no such stretch:
// only the walk finds those.
std::optional<QByteArray> searchIndexQuery(const QString& name);

}  // namespace storage
