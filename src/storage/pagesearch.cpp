#include "storage/pagesearch.h"

#include "storage/celltext.h"
#include "storage/database.h"
#include "storage/engine.h"

#include <cstdint>
#include <cstring>

namespace storage {
namespace {

// What QString's case-insensitive search makes of these two: the ASCII letters s and k.
constexpr char kLongS[] = "\xC5\xBF";
constexpr char kKelvin[] = "\xE2\x84\xAA";

// Small letters for A to Z, every other byte as it is; written in bytes without branches.
inline uint8_t foldAscii(uint8_t u)
{
    const uint8_t upper = static_cast<uint8_t>(u - uint8_t('A')) < uint8_t(26);
    return u | (static_cast<uint8_t>(-upper) & uint8_t(0x20));
}

// Folds a page into `to` and tells whether any byte lies beyond ASCII. The blocks of a
// fixed length let the compiler fold sixteen bytes at a time.
bool foldInto(char* __restrict to, const char* __restrict from, qsizetype size)
{
    constexpr int Block = 16;
    uint8_t any = 0;
    qsizetype i = 0;
    for (; i + Block <= size; i += Block) {
        uint8_t block = 0;
        for (int j = 0; j < Block; ++j) {
            const auto u = static_cast<uint8_t>(from[i + j]);
            to[i + j] = static_cast<char>(foldAscii(u));
            block |= u;
        }
        any |= block;
    }
    for (; i < size; ++i) {
        const auto u = static_cast<uint8_t>(from[i]);
        to[i] = static_cast<char>(foldAscii(u));
        any |= u;
    }
    return any >= 0x80;
}

bool contains(const char* data, qsizetype size, const char* needle, size_t needleSize)
{
    return memmem(data, size_t(size), needle, needleSize) != nullptr;
}

}  // namespace

// A NUL in the name is looked for as the pages store it.
NameMatcher::NameMatcher(const QString& name) : name_(celltext::storable(name))
{
    ascii_ = true;
    for (QChar c : name_)
        if (c.unicode() >= 0x80) {
            ascii_ = false;
            break;
        }
    if (ascii_) {
        folded_ = name_.toLatin1();
        for (char& c : folded_)
            c = static_cast<char>(foldAscii(static_cast<uint8_t>(c)));
        foldsFromBeyondAscii_ = folded_.contains('s') || folded_.contains('k');
    }
}

bool NameMatcher::matches(QStringView text) const
{
    return text.contains(name_, Qt::CaseInsensitive);
}

qsizetype NameMatcher::indexIn(QStringView text, qsizetype from) const
{
    return text.indexOf(name_, from, Qt::CaseInsensitive);
}

bool NameMatcher::matchesUtf8(const char* data, qsizetype size) const
{
    // A Null field holds nothing, not even an empty name.
    if (!data)
        return false;
    if (ascii_) {
        // Bytes of characters beyond ASCII are all 0x80 and above, so folding byte by
        // byte touches only ASCII letters, and an ASCII name can match only ASCII bytes.
        if (buffer_.size() < size)
            buffer_.resize(size);
        const bool beyondAscii = foldInto(buffer_.data(), data, size);
        if (contains(buffer_.constData(), size, folded_.constData(), size_t(folded_.size())))
            return true;
        if (!foldsFromBeyondAscii_ || !beyondAscii
            || (!contains(data, size, kLongS, 2) && !contains(data, size, kKelvin, 3)))
            return false;
        // A long s or a Kelvin sign stands in the text: only full folding decides.
    }
    return matches(QString::fromUtf8(data, size));
}

std::optional<PageMatch> PageSearch::next(std::optional<qint64> beforeId)
{
    return db_.engine().searchNext(matcher_, beforeId);
}

void PageSearch::allMatches(const std::function<void(const PageMatch&)>& visit)
{
    db_.engine().searchAll(matcher_, visit);
}

QString PageSearch::notice()
{
    return db_.engine().searchNotice();
}

}  // namespace storage
