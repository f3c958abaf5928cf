#pragma once
// The storage's texts: one context for both engines, so the same text is translated once.
#include <QCoreApplication>

namespace storage {
struct Tr {
    Q_DECLARE_TR_FUNCTIONS(storage)
};
}  // namespace storage
