#include "data/widgets/FieldLink.h"

#include "core/ErrorSink.h"

namespace cad {

FieldLink::FieldLink(QWidget* control, std::function<void()> refresh)
    : m_control(control), m_refresh(std::move(refresh))
{
}

void FieldLink::bind(RecordSet* set, const QString& field, bool followRowChanges)
{
    m_set = set;
    m_field = field;
    m_subscriptions.clear();
    auto again = [this](RecordSet&) { refresh(); };
    // A control may outlive its set (a screen's fields go after its members): it then shows nothing.
    m_subscriptions.push_back(set->destroyed.subscribe([this](RecordSet&) { m_set = nullptr; }));
    m_subscriptions.push_back(set->afterScroll.subscribe(again));
    m_subscriptions.push_back(set->stateChanged.subscribe(again));
    if (followRowChanges)
        m_subscriptions.push_back(set->rowChanged.subscribe([this](RecordSet& s, int row) {
            if (row == s.currentRow()) refresh();
        }));
    refresh();
}

QVariant FieldLink::value() const
{
    if (!m_set || !m_set->isOpen() || m_set->currentRow() < 0) return {};
    return m_set->value(m_field);
}

bool FieldLink::canChange() const
{
    return !m_displayOnly && m_set && m_set->isOpen() && !m_set->isReadOnly();
}

bool FieldLink::write(const QVariant& v, bool partial)
{
    if (!canChange()) {
        refresh();
        return false;
    }
    m_updating = true;
    bool taken = false;
    const bool ok = guarded([&] {
        if (m_set->state() == RecordSet::State::Browse) {
            if (m_set->isEmpty())
                m_set->append();
            else
                m_set->edit();
        }
        try {
            m_set->setValue(m_field, v);
            taken = true;
        } catch (const DbError&) {
            if (!partial) throw;
        }
    });
    m_updating = false;
    if (!ok) refresh();
    return taken;
}

void FieldLink::refresh()
{
    if (m_updating || !m_control) return;
    m_updating = true;
    m_refresh();
    m_updating = false;
}

} // namespace cad
