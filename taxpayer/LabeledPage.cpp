#include "taxpayer/LabeledPage.h"

#include "core/TextRoutines.h"

namespace cad {

LabeledPage::LabeledPage(QStringList lines) : m_lines(std::move(lines))
{
    const qsizetype n = m_lines.size();
    m_next.resize(size_t(n));
    m_prev.resize(size_t(n));
    m_index.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        m_next[size_t(i)] = i + 1;
        m_prev[size_t(i)] = i - 1;
        m_index[TrimBlanks(m_lines.at(i))].at.push_back(i);
    }
}

QString LabeledPage::readLabelValue(const QString& label)
{
    const auto found = m_index.find(label);
    if (found == m_index.end() || found->first == found->at.size()) return {};
    // Only reads remove lines, and a read removes the first remaining line of its text.
    const qsizetype line = found->at[found->first++];
    const qsizetype valueLine = m_next[size_t(line)];
    QString value;
    if (valueLine < m_lines.size())
        value = TrimBlanks(m_lines.at(valueLine)).replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    remove(line);
    return value;
}

void LabeledPage::remove(qsizetype line)
{
    const qsizetype next = m_next[size_t(line)], prev = m_prev[size_t(line)];
    if (prev < 0)
        m_head = next;
    else
        m_next[size_t(prev)] = next;
    if (next < m_lines.size()) m_prev[size_t(next)] = prev;
}

QStringList LabeledPage::lines() const
{
    QStringList out;
    for (qsizetype i = m_head; i < m_lines.size(); i = m_next[size_t(i)])
        out << m_lines.at(i);
    return out;
}

} // namespace cad
