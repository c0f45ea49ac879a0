#include "data/widgets/DbLookupCombo.h"

#include "core/ErrorSink.h"
#include "data/Values.h"
#include "data/widgets/RecordSetModel.h"

namespace cad {

DbLookupCombo::DbLookupCombo(QWidget* parent)
    : QComboBox(parent), m_link(this, [this] { setKey(m_link.value()); })
{
    setEditable(false);
    setMaxVisibleItems(20);
    connect(this, &QComboBox::activated, this, &DbLookupCombo::onActivated);
}

void DbLookupCombo::setList(RecordSet* list, const QString& keyField, const QString& shownField)
{
    m_list = list;
    m_keyField = keyField;
    m_model = new RecordSetModel(*list, {ColumnDef{shownField, {}, 0}}, this);
    setModel(m_model);
    setModelColumn(0);
    // A re-read list shows the current key again, moving its row to it when present.
    m_listOpened = list->afterOpen.subscribe([this](RecordSet&) { setKey(m_key); });
    m_listClosed = list->afterClose.subscribe([this](RecordSet&) { showKey(); });
}

void DbLookupCombo::bind(RecordSet* set, const QString& field)
{
    m_link.bind(set, field, false);
}

void DbLookupCombo::setKey(const QVariant& key)
{
    m_key = key;
    if (!m_list || !m_list->isOpen()) {
        showKey();
        return;
    }
    const int col = m_list->fieldIndex(m_keyField);
    int found = -1;
    if (!key.isNull() && col >= 0)
        for (int r = 0; r < m_list->rowCount() && found < 0; ++r)
            if (values::equal(m_list->valueAt(r, col), key)) found = r;
    if (found >= 0) guarded([&] { m_list->moveTo(found); });
    m_settingKey = true;
    setCurrentIndex(found);
    m_settingKey = false;
}

bool DbLookupCombo::choose(const QVariant& key)
{
    setKey(key);
    const int row = currentIndex();
    if (RecordSet* set = m_link.set())
        set->setValue(m_link.field(), row >= 0 ? m_list->valueAt(row, m_keyField) : QVariant());
    if (row < 0) return false;
    Q_EMIT picked();
    return true;
}

void DbLookupCombo::showKey()
{
    m_settingKey = true;
    setCurrentIndex(-1);
    m_settingKey = false;
}

void DbLookupCombo::onActivated(int row)
{
    if (m_settingKey || !m_list || row < 0) return;
    const QVariant key = m_list->valueAt(row, m_keyField);
    if (m_link.set() && !m_link.write(key)) {
        setKey(m_key);
        return;
    }
    m_key = key;
    guarded([&] { m_list->moveTo(row); });
    Q_EMIT picked();
}

} // namespace cad
