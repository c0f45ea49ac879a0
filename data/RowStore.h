#pragma once
#include <QByteArray>
#include <QVariant>
#include <memory>
#include <string_view>
#include <vector>

namespace cad {

/// Result rows kept as the server sent them, in large blocks: per value a length prefix and the
/// bytes (text form). Values are converted only when one is shown or edited.
class RowStore
{
public:
    /// A value as stored: its bytes, or null.
    struct Cell
    {
        std::string_view bytes;
        bool null = true;
    };

    RowStore() = default;
    explicit RowStore(int columns) : m_columns(columns) {}
    RowStore(RowStore&&) noexcept = default;
    RowStore& operator=(RowStore&&) noexcept = default;

    void reset(int columns);
    [[nodiscard]] int columns() const { return m_columns; }
    [[nodiscard]] int size() const { return int(m_rows.size()); }

    /// Appends a row from arrays of values and lengths (a null pointer is NULL); returns its index.
    int append(const char* const* values, const unsigned long* lengths);
    /// Appends or replaces row ROW (ROW == size() appends) from one QByteArray per column
    /// (a null QByteArray is NULL).
    void put(int row, const std::vector<QByteArray>& values);
    void remove(int row);

    [[nodiscard]] Cell cell(int row, int column) const;
    /// Bytes kept for rows, without the row index.
    [[nodiscard]] size_t bytesUsed() const { return m_used; }

private:
    char* allocate(size_t n);

    int m_columns = 0;
    std::vector<const char*> m_rows;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_free = nullptr;
    size_t m_left = 0;
    size_t m_used = 0;
    size_t m_nextBlock = 4096; // doubled with each block, up to the full block size
};

} // namespace cad
