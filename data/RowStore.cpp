#include "data/RowStore.h"

#include <cstring>

namespace cad {

namespace {

constexpr size_t kBlockSize = 1 << 20;

// Length prefix: 0 is NULL, otherwise length + 1, seven bits a byte.
size_t prefixSize(uint64_t v)
{
    size_t n = 1;
    while (v >= 0x80) {
        v >>= 7;
        ++n;
    }
    return n;
}

char* putPrefix(char* p, uint64_t v)
{
    while (v >= 0x80) {
        *p++ = char((v & 0x7f) | 0x80);
        v >>= 7;
    }
    *p++ = char(v);
    return p;
}

const char* getPrefix(const char* p, uint64_t& v)
{
    v = 0;
    int shift = 0;
    unsigned char b;
    do {
        b = static_cast<unsigned char>(*p++);
        v |= uint64_t(b & 0x7f) << shift;
        shift += 7;
    } while (b & 0x80);
    return p;
}

} // namespace

void RowStore::reset(int columns)
{
    *this = RowStore(columns);
}

char* RowStore::allocate(size_t n)
{
    m_used += n;
    if (n > m_left) {
        // Left uninitialised: every byte handed out is written by the caller.
        if (n > kBlockSize / 4) {
            // A large row gets a block of its own, so the current block is not wasted.
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(n));
            return m_blocks.back().get();
        }
        // Blocks grow from a small first one: a result of one row keeps little memory.
        const size_t size = std::max(n, m_nextBlock);
        m_nextBlock = std::min(kBlockSize, size * 2);
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        m_free = m_blocks.back().get();
        m_left = size;
    }
    char* p = m_free;
    m_free += n;
    m_left -= n;
    return p;
}

int RowStore::append(const char* const* values, const unsigned long* lengths)
{
    size_t total = 0;
    for (int c = 0; c < m_columns; ++c)
        total += values[c] ? prefixSize(lengths[c] + 1) + lengths[c] : 1;
    char* p = allocate(total);
    m_rows.push_back(p);
    for (int c = 0; c < m_columns; ++c) {
        if (!values[c]) {
            *p++ = 0;
            continue;
        }
        p = putPrefix(p, lengths[c] + 1);
        std::memcpy(p, values[c], lengths[c]);
        p += lengths[c];
    }
    return int(m_rows.size()) - 1;
}

void RowStore::put(int row, const std::vector<QByteArray>& values)
{
    std::vector<const char*> ptrs(size_t(m_columns), nullptr);
    std::vector<unsigned long> lengths(size_t(m_columns), 0);
    for (int c = 0; c < m_columns && c < int(values.size()); ++c) {
        if (!values[size_t(c)].isNull()) {
            ptrs[size_t(c)] = values[size_t(c)].constData();
            lengths[size_t(c)] = values[size_t(c)].size();
        }
    }
    const int added = append(ptrs.data(), lengths.data());
    if (row < added) {
        // Replaced rows leave their old bytes in the block; replacements are rare (saves).
        m_rows[size_t(row)] = m_rows.back();
        m_rows.pop_back();
    }
}

void RowStore::remove(int row)
{
    m_rows.erase(m_rows.begin() + row);
}

RowStore::Cell RowStore::cell(int row, int column) const
{
    const char* p = m_rows[size_t(row)];
    uint64_t v = 0;
    for (int c = 0;; ++c) {
        p = getPrefix(p, v);
        if (c == column) break;
        if (v) p += v - 1;
    }
    if (!v) return {};
    return {std::string_view(p, size_t(v - 1)), false};
}

} // namespace cad
