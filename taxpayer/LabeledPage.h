#pragma once
// A result page read by its labels, each read in constant time whatever the page's length.
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace cad {

/// The lines of a page, read as "label line, then value line". A read finds the first remaining
/// line whose text, trimmed of blanks and control characters, equals the label; its value is the
/// next remaining line, trimmed, with each "&nbsp;" made a blank; the label line is then removed.
/// An index from trimmed text to line positions replaces the scan from the first line, so chains
/// of reads (a value used as the next label) stay linear in the page's length.
class LabeledPage
{
public:
    explicit LabeledPage(QStringList lines);

    /// The value after LABEL, or empty when no remaining line is LABEL or it is the last line.
    [[nodiscard]] QString readLabelValue(const QString& label);
    /// The remaining lines, in order.
    [[nodiscard]] QStringList lines() const;

private:
    struct Positions
    {
        std::vector<qsizetype> at; // increasing
        size_t first = 0;          // the ones before were removed
    };
    void remove(qsizetype line);

    QStringList m_lines;
    std::vector<qsizetype> m_next, m_prev; // links between remaining lines; m_lines.size() ends them
    qsizetype m_head = 0;
    QHash<QString, Positions> m_index;
};

} // namespace cad
