#pragma once
#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace cad {

/// An in-memory table of text fields with a current row, shown by a grid; each text written is
/// cut to its field's width.
class MemoryTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Field
    {
        QString name;
        int width;
    };

    MemoryTable(std::vector<Field> fields, QObject* parent = nullptr);

    /// Removes every row.
    void clear();
    /// Appends a row of VALUES (by field name; fields left out stay empty) and makes it current.
    void append(const QHash<QString, QString>& values);

    [[nodiscard]] int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    /// The current row's text of field NAME; empty without a current row.
    [[nodiscard]] QString value(const QString& name) const;
    [[nodiscard]] int fieldIndex(const QString& name) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation o, int role) const override;
    bool setHeaderData(int section, Qt::Orientation o, const QVariant& value, int role) override;

Q_SIGNALS:
    void currentRowChanged(int row);

private:
    std::vector<Field> m_fields;
    QStringList m_titles;
    std::vector<QStringList> m_rows;
    int m_current = -1;
};

} // namespace cad
