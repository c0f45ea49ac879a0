#pragma once
#include "data/Connection.h"
#include "data/Event.h"
#include "data/FieldDef.h"
#include "data/RowStore.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace cad {

class RecordSet;

/// A client-side sort key: a column and its direction.
struct SortKey
{
    int column;
    bool ascending = true;
    bool operator==(const SortKey&) const = default;
};

/// A value looked up in another record set, never stored (an expense type's description, say).
struct LookupDef
{
    QString name;         ///< the looked-up field's name
    QString keyField;     ///< this record set's column holding the key
    RecordSet* list;      ///< where the key is looked up
    QString listKeyField; ///< the list's column compared with the key
    QString listResultField;
    int width = 0;
};

/// Rows of one statement with a cursor and the states browse, insert and edit. Changes are
/// written to the statement's table by primary key; every value travels as a bound parameter.
/// Named parameters (":name") are filled from params() or from a master record set.
class RecordSet
{
public:
    enum class State
    {
        Inactive,
        Browse,
        Insert,
        Edit
    };

    RecordSet(Connection& connection, QString sql = {});
    virtual ~RecordSet();
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;

    // --- statement and opening
    void setSql(const QString& sql);
    [[nodiscard]] const QString& sql() const { return m_sql; }
    void setParam(const QString& name, const QVariant& value);
    [[nodiscard]] QVariant param(const QString& name) const;
    /// Declared widths (characters) for columns, by name; texts written are cut to them.
    void setDeclaredWidths(const QHash<QString, int>& widths);
    /// The table changes are written to; by default the table behind the first column.
    void setUpdateTable(const QString& table) { m_updateTable = table; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    [[nodiscard]] bool isReadOnly() const { return m_readOnly; }

    void open();
    void close();
    [[nodiscard]] bool isOpen() const { return m_state != State::Inactive; }
    /// Reads the statement again, keeping the current row (by primary key) where it still exists.
    /// KEEPCURRENT: a current row the statement no longer returns (a saved row outside the search)
    /// is read again by its key and stays current, after the other rows.
    void refresh(bool keepCurrent = false);

    // --- master/detail
    /// Reads this record set again whenever MASTER's current row changes; each named parameter
    /// takes the value of the master column of the same name (case ignored).
    void setMaster(RecordSet* master);

    // --- looked-up values
    void addLookup(const LookupDef& def);

    // --- state and cursor
    [[nodiscard]] State state() const { return m_state; }
    [[nodiscard]] bool isEditing() const { return m_state == State::Insert || m_state == State::Edit; }
    [[nodiscard]] int rowCount() const;
    [[nodiscard]] bool isEmpty() const { return rowCount() == 0; }
    /// Visible position of the current row, -1 when there is none.
    [[nodiscard]] int currentRow() const { return m_current; }
    [[nodiscard]] bool atFirst() const { return m_current <= 0; }
    [[nodiscard]] bool atLast() const { return m_current >= rowCount() - 1; }
    void first();
    void prior();
    void next();
    void last();
    /// Moves to visible row ROW; a pending change is saved first (or abandoned when unchanged).
    void moveTo(int row);
    /// Moves to the first row whose FIELD equals VALUE; false (and no move) when there is none.
    bool locate(const QString& field, const QVariant& value);

    // --- fields
    [[nodiscard]] int fieldCount() const { return int(m_fields.size()); }
    [[nodiscard]] const FieldDef& fieldDef(int column) const { return m_fields[size_t(column)]; }
    [[nodiscard]] int fieldIndex(const QString& name) const; ///< -1 when absent (case ignored)
    [[nodiscard]] bool hasField(const QString& name) const;
    /// The current row's value (the pending one while inserting or editing). Throws for an unknown name.
    [[nodiscard]] QVariant value(const QString& name) const;
    [[nodiscard]] QString text(const QString& name) const { return value(name).toString(); }
    [[nodiscard]] bool isNull(const QString& name) const { return value(name).isNull(); }
    /// Value of any visible row, without moving (for lists and grids).
    [[nodiscard]] QVariant valueAt(int row, int column) const;
    [[nodiscard]] QVariant valueAt(int row, const QString& name) const;
    /// Writes a value into the pending row; texts are cut to the column's width.
    void setValue(const QString& name, const QVariant& value);
    [[nodiscard]] bool isModified() const { return m_modified; }

    // --- changes
    void append(); ///< new empty row at the end, made current
    void edit();
    void post();
    void cancel();
    void remove();          ///< deletes the current row on the server
    void checkBrowseMode(); ///< saves a changed pending row, abandons an unchanged one

    // --- client-side order
    void setSortKeys(const std::vector<SortKey>& keys);
    [[nodiscard]] const std::vector<SortKey>& sortKeys() const { return m_sortKeys; }

    // --- events (a handler's exception stops the operation that fired it)
    Event<RecordSet&> beforePost;
    Event<RecordSet&> afterPost;
    Event<RecordSet&> afterEdit;
    Event<RecordSet&> afterInsert;
    Event<RecordSet&> afterScroll; ///< current row changed (also after open, close, refresh)
    Event<RecordSet&> afterOpen;
    Event<RecordSet&> afterClose;
    Event<RecordSet&> stateChanged;
    /// Rows were added, removed or reordered, or the set was opened or closed: lists start over.
    Event<RecordSet&> rowsReset;
    /// Values of one visible row changed (a posted row, a value written into the pending row).
    Event<RecordSet&, int> rowChanged;
    Event<RecordSet&, int> rowInserted; ///< a visible row appeared at this position
    Event<RecordSet&, int> rowRemoved;  ///< the visible row at this position went away
    /// The set is being destroyed: whoever still points at it lets go.
    Event<RecordSet&> destroyed;

    [[nodiscard]] Connection& connection() { return m_conn; }
    /// Bytes kept for rows (for measurements).
    [[nodiscard]] size_t storedBytes() const { return m_rows.bytesUsed(); }

private:
    [[nodiscard]] QVariant decode(int column, RowStore::Cell cell) const;
    [[nodiscard]] QVariant lookupValue(const LookupDef& def, int row) const;
    [[nodiscard]] int storeRow(int visibleRow) const
    {
        return m_order.empty() ? visibleRow : m_order[size_t(visibleRow)];
    }
    [[nodiscard]] QByteArray encode(int column, const QVariant& v) const;
    void requireOpen(const char* action) const;
    void requireModifiable() const;
    void setState(State s);
    void load(QueryResult&& result);
    void rebuildOrder();
    [[nodiscard]] QString tableName() const;
    [[nodiscard]] int primaryKeyColumn() const;
    bool reloadRow(int storeIndex, const QVariant& key); ///< false when the server has no such row
    [[nodiscard]] bool holdsKey(int pk, const QVariant& key) const;
    std::pair<QString, QVariantList> boundStatement() const;
    void scrolled();
    void masterMoved();

    Connection& m_conn;
    QString m_sql;
    QHash<QString, QVariant> m_params; // lower-case names
    QHash<QString, int> m_declared;    // lower-case names
    QString m_updateTable;
    bool m_readOnly = false;

    std::vector<FieldDef> m_fields;
    QHash<QString, int> m_index; // lower-case name -> column
    std::vector<LookupDef> m_lookups;
    RowStore m_rows;
    std::vector<int> m_order; // visible row -> stored row; empty means stored order
    std::vector<SortKey> m_sortKeys;

    State m_state = State::Inactive;
    int m_current = -1;
    int m_beforeInsert = -1;        // current row before append(), restored by cancel()
    std::vector<QVariant> m_buffer; // pending row while inserting or editing
    bool m_modified = false;
    std::vector<bool> m_changed;

    RecordSet* m_master = nullptr;
    Subscription m_masterMoved; // a detail may be destroyed before its master
};

} // namespace cad
