#pragma once
#include "data/RecordSet.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace cad {

/// Ties a control to one field of a record set: shows the current row's value and writes the
/// operator's changes back. The first change puts the record into editing by itself (or starts
/// a new row when the open set has no rows); a closed set cannot be changed.
class FieldLink
{
public:
    FieldLink(QWidget* control, std::function<void()> refresh);
    /// FOLLOWROWCHANGES: also refresh when a value of the current row is written. A lookup list
    /// does not: its choice is set from the field only when the record changes as a whole.
    void bind(RecordSet* set, const QString& field, bool followRowChanges = true);
    [[nodiscard]] RecordSet* set() const { return m_set; }
    [[nodiscard]] const QString& field() const { return m_field; }
    [[nodiscard]] QVariant value() const;
    /// False too for a control that only shows its field (filled by look-ups, say).
    [[nodiscard]] bool canChange() const;
    void setDisplayOnly(bool on)
    {
        m_displayOnly = on;
        refresh();
    }
    /// Writes the operator's value; false (and the control is refreshed) when it could not be.
    /// PARTIAL: the text may still be incomplete (a number being typed); a value that does not
    /// convert yet is then left for the next write instead of being reported.
    bool write(const QVariant& v, bool partial = false);
    [[nodiscard]] bool updating() const { return m_updating; }
    void refresh();

private:
    QPointer<QWidget> m_control;
    std::function<void()> m_refresh;
    RecordSet* m_set = nullptr;
    QString m_field;
    bool m_updating = false;
    bool m_displayOnly = false;
    std::vector<Subscription> m_subscriptions; // end with the link
};

} // namespace cad
