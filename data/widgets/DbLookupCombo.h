#pragma once
#include "data/widgets/FieldLink.h"

#include <QComboBox>

namespace cad {

class RecordSetModel;

/// Drop-down list over a record set (key column, shown column), bound to a field. Setting the
/// key from code moves the list's current row to the first row with that key, or shows nothing
/// and leaves the row where it was; picking an entry writes its key into the bound field.
class DbLookupCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit DbLookupCombo(QWidget* parent = nullptr);
    void setList(RecordSet* list, const QString& keyField, const QString& shownField);
    void bind(RecordSet* set, const QString& field);

    /// Shows the row whose key is KEY, moving the list's current row; does not write the field.
    void setKey(const QVariant& key);
    /// As the operator's pick would: shows the row whose key is KEY and writes that row's key into
    /// the bound field (NULL when no row has it, so the record never keeps a value the list does
    /// not show); a shown row also reports picked(). True when a row shows it.
    bool choose(const QVariant& key);
    [[nodiscard]] QVariant key() const { return m_key; }
    /// The text shown (empty when no row matches).
    [[nodiscard]] QString shownText() const { return currentIndex() >= 0 ? currentText() : QString(); }
    [[nodiscard]] RecordSet* list() const { return m_list; }

Q_SIGNALS:
    /// The operator picked an entry (after its key was written into the bound field).
    void picked();

private:
    void showKey();
    void onActivated(int row);

    FieldLink m_link;
    RecordSet* m_list = nullptr;
    Subscription m_listOpened;
    Subscription m_listClosed;
    QString m_keyField;
    RecordSetModel* m_model = nullptr;
    QVariant m_key;
    bool m_settingKey = false;
};

} // namespace cad
