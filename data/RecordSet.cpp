#include "data/RecordSet.h"

#include "data/Values.h"

#include <QRegularExpression>
#include <algorithm>

namespace cad {

namespace {

QString quoteIdentifier(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('`'), QLatin1String("``"));
    return QLatin1Char('`') + q + QLatin1Char('`');
}

} // namespace

RecordSet::RecordSet(Connection& connection, QString sql) : m_conn(connection), m_sql(std::move(sql)) {}

RecordSet::~RecordSet()
{
    destroyed(*this);
}

void RecordSet::setSql(const QString& sql)
{
    if (isOpen()) close();
    m_sql = sql;
}

void RecordSet::setParam(const QString& name, const QVariant& value)
{
    m_params.insert(name.toLower(), value);
}

QVariant RecordSet::param(const QString& name) const
{
    return m_params.value(name.toLower());
}

void RecordSet::setDeclaredWidths(const QHash<QString, int>& widths)
{
    m_declared.clear();
    for (auto it = widths.begin(); it != widths.end(); ++it)
        m_declared.insert(it.key().toLower(), it.value());
    for (auto& f : m_fields)
        f.declaredWidth = m_declared.value(f.name.toLower(), 0);
}

std::pair<QString, QVariantList> RecordSet::boundStatement() const
{
    // ":name" outside quotes becomes "?", its value taken from the master row or the parameters.
    QString out;
    QVariantList values;
    QChar quote;
    const QString& s = m_sql;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            out += c;
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            quote = c;
            out += c;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < s.size() &&
            (s[i + 1].isLetter() || s[i + 1] == QLatin1Char('_'))) {
            qsizetype j = i + 1;
            while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_')))
                ++j;
            const QString name = s.mid(i + 1, j - i - 1);
            QVariant v = m_params.value(name.toLower());
            if (m_master)
                v = m_master->isOpen() && !m_master->isEmpty() && m_master->hasField(name)
                        ? m_master->value(name)
                        : QVariant();
            values << v;
            out += QLatin1Char('?');
            i = j - 1;
            continue;
        }
        out += c;
    }
    return {out, values};
}

void RecordSet::open()
{
    if (isOpen()) return;
    const auto [sql, values] = boundStatement();
    QueryResult result = m_conn.query(sql, values);
    m_sortKeys.clear(); // a new reading comes in the statement's order; a re-read keeps the operator's
    load(std::move(result));
    m_current = m_rows.size() > 0 ? 0 : -1;
    setState(State::Browse);
    rowsReset(*this);
    afterOpen(*this);
    scrolled();
}

void RecordSet::load(QueryResult&& result)
{
    m_fields = std::move(result.fields);
    m_rows = std::move(result.rows);
    m_index.clear();
    for (int i = int(m_fields.size()) - 1; i >= 0; --i) {
        FieldDef& f = m_fields[size_t(i)];
        f.declaredWidth = m_declared.value(f.name.toLower(), 0);
        m_index.insert(f.name.toLower(), i);
    }
    m_order.clear();
    m_buffer.clear();
    m_modified = false;
    // Keep the order the operator chose when the same columns come back.
    std::erase_if(m_sortKeys, [&](const SortKey& k) { return k.column >= int(m_fields.size()); });
    rebuildOrder();
}

void RecordSet::close()
{
    if (!isOpen()) return;
    m_buffer.clear();
    m_modified = false;
    m_rows.reset(0);
    m_order.clear();
    m_current = -1;
    setState(State::Inactive);
    rowsReset(*this);
    afterClose(*this);
    scrolled();
}

void RecordSet::refresh(bool keepCurrent)
{
    requireOpen("atualizar");
    checkBrowseMode();
    const int pk = primaryKeyColumn();
    const QVariant key = pk >= 0 && m_current >= 0 ? valueAt(m_current, pk) : QVariant();
    const int oldRow = m_current;
    const auto [sql, values] = boundStatement();
    load(m_conn.query(sql, values));
    if (keepCurrent && !key.isNull() && !holdsKey(pk, key)) {
        const int storeIndex = m_rows.size();
        if (!reloadRow(storeIndex, key))
            m_rows.remove(storeIndex); // deleted meanwhile
        else if (!m_order.empty())
            m_order.push_back(storeIndex);
    }
    m_current = std::min(oldRow, rowCount() - 1);
    if (m_current < 0 && rowCount() > 0) m_current = 0;
    rowsReset(*this);
    if (!key.isNull()) locate(m_fields[size_t(pk)].name, key);
    scrolled();
}

void RecordSet::setMaster(RecordSet* master)
{
    m_master = master;
    m_masterMoved = master->afterScroll.subscribe([this](RecordSet&) { masterMoved(); });
}

void RecordSet::masterMoved()
{
    if (!isOpen()) return;
    checkBrowseMode();
    const auto [sql, values] = boundStatement();
    load(m_conn.query(sql, values));
    m_current = m_rows.size() > 0 ? 0 : -1;
    rowsReset(*this);
    scrolled();
}

void RecordSet::addLookup(const LookupDef& def)
{
    m_lookups.push_back(def);
}

int RecordSet::rowCount() const
{
    return m_rows.size() + (m_state == State::Insert ? 1 : 0);
}

void RecordSet::first()
{
    moveTo(0);
}

void RecordSet::prior()
{
    moveTo(m_current - 1);
}

void RecordSet::next()
{
    moveTo(m_current + 1);
}

void RecordSet::last()
{
    moveTo(rowCount() - 1);
}

void RecordSet::moveTo(int row)
{
    if (!isOpen()) return;
    if (isEditing() && row != m_current) checkBrowseMode();
    if (rowCount() == 0) return;
    row = std::clamp(row, 0, rowCount() - 1);
    if (row == m_current) return;
    m_current = row;
    scrolled();
}

bool RecordSet::locate(const QString& field, const QVariant& value)
{
    const int col = fieldIndex(field);
    if (col < 0 || !isOpen()) return false;
    for (int r = 0; r < rowCount(); ++r) {
        if (values::equal(valueAt(r, col), value)) {
            moveTo(r);
            return true;
        }
    }
    return false;
}

int RecordSet::fieldIndex(const QString& name) const
{
    return m_index.value(name.toLower(), -1);
}

bool RecordSet::hasField(const QString& name) const
{
    if (fieldIndex(name) >= 0) return true;
    return std::any_of(m_lookups.begin(), m_lookups.end(),
                       [&](const LookupDef& l) { return l.name.compare(name, Qt::CaseInsensitive) == 0; });
}

QVariant RecordSet::value(const QString& name) const
{
    if (!isOpen()) return {};
    return valueAt(m_current, name); // row -1: the field's null value
}

QVariant RecordSet::valueAt(int row, const QString& name) const
{
    const int col = fieldIndex(name);
    if (col >= 0) return row < 0 ? QVariant() : valueAt(row, col);
    for (const auto& l : m_lookups)
        if (l.name.compare(name, Qt::CaseInsensitive) == 0) return row < 0 ? QVariant() : lookupValue(l, row);
    throw DbError(QStringLiteral("Campo '%1' não encontrado").arg(name));
}

QVariant RecordSet::valueAt(int row, int column) const
{
    if (isEditing() && row == m_current) return m_buffer[size_t(column)];
    return decode(column, m_rows.cell(storeRow(row), column));
}

QVariant RecordSet::decode(int column, RowStore::Cell cell) const
{
    if (cell.null) return {};
    return values::fromServerText(m_fields[size_t(column)].kind, cell.bytes);
}

QByteArray RecordSet::encode(int column, const QVariant& v) const
{
    return values::toServerText(m_fields[size_t(column)].kind, v);
}

QVariant RecordSet::lookupValue(const LookupDef& def, int row) const
{
    const QVariant key = valueAt(row, def.keyField);
    if (key.isNull() || !def.list || !def.list->isOpen()) return {};
    const int keyCol = def.list->fieldIndex(def.listKeyField);
    for (int r = 0; r < def.list->rowCount(); ++r)
        if (values::equal(def.list->valueAt(r, keyCol), key))
            return def.list->valueAt(r, def.listResultField);
    return {};
}

void RecordSet::requireOpen(const char* action) const
{
    if (!isOpen())
        throw DbError(QStringLiteral("Não é possível %1: a lista está fechada").arg(QLatin1String(action)));
}

void RecordSet::requireModifiable() const
{
    if (m_readOnly) throw DbError(QStringLiteral("Esta lista não pode ser alterada"));
}

void RecordSet::setState(State s)
{
    if (m_state == s) return;
    m_state = s;
    stateChanged(*this);
}

void RecordSet::setValue(const QString& name, const QVariant& value)
{
    if (!isEditing()) throw DbError(QStringLiteral("O registro não está em modo de edição ou inclusão"));
    const int col = fieldIndex(name);
    if (col < 0) throw DbError(QStringLiteral("Campo '%1' não encontrado").arg(name));
    const FieldDef& f = m_fields[size_t(col)];
    QVariant v = values::convertForField(f, value);
    m_buffer[size_t(col)] = v;
    m_changed[size_t(col)] = true;
    m_modified = true;
    rowChanged(*this, m_current);
}

void RecordSet::append()
{
    requireOpen("incluir");
    requireModifiable();
    checkBrowseMode();
    m_beforeInsert = m_current;
    m_buffer.assign(m_fields.size(), QVariant());
    m_changed.assign(m_fields.size(), false);
    m_modified = false;
    m_current = m_rows.size();
    setState(State::Insert);
    rowInserted(*this, m_current);
    afterInsert(*this);
    scrolled();
}

void RecordSet::edit()
{
    requireOpen("alterar");
    requireModifiable();
    if (isEditing()) return;
    if (m_current < 0) throw DbError(QStringLiteral("Não há registro para alterar"));
    m_buffer.resize(m_fields.size());
    for (int c = 0; c < fieldCount(); ++c)
        m_buffer[size_t(c)] = decode(c, m_rows.cell(storeRow(m_current), c));
    m_changed.assign(m_fields.size(), false);
    m_modified = false;
    setState(State::Edit);
    afterEdit(*this);
}

void RecordSet::checkBrowseMode()
{
    if (!isEditing()) return;
    if (m_modified)
        post();
    else
        cancel();
}

QString RecordSet::tableName() const
{
    if (!m_updateTable.isEmpty()) return m_updateTable;
    for (const auto& f : m_fields)
        if (!f.orgTable.isEmpty()) return f.orgTable;
    throw DbError(QStringLiteral("A consulta não indica a tabela a gravar"));
}

int RecordSet::primaryKeyColumn() const
{
    for (int c = 0; c < fieldCount(); ++c)
        if (m_fields[size_t(c)].primaryKey) return c;
    return -1;
}

void RecordSet::post()
{
    requireOpen("gravar");
    if (!isEditing()) return;
    beforePost(*this);
    const QString table = tableName();
    const int pk = primaryKeyColumn();
    if (pk < 0)
        throw DbError(
            QStringLiteral("A tabela %1 não tem chave primária; o registro não pode ser gravado").arg(table));
    QStringList cols;
    QVariantList vals;
    for (int c = 0; c < fieldCount(); ++c) {
        const FieldDef& f = m_fields[size_t(c)];
        if (!m_changed[size_t(c)] || f.orgName.isEmpty() ||
            f.orgTable.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        cols << quoteIdentifier(f.orgName);
        vals << m_buffer[size_t(c)];
    }
    const QString pkName = quoteIdentifier(m_fields[size_t(pk)].orgName);
    const QString tbl = quoteIdentifier(table);
    QVariant key;
    int storeIndex;
    if (m_state == State::Insert) {
        QStringList marks;
        for (qsizetype i = 0; i < cols.size(); ++i)
            marks << QStringLiteral("?");
        const ExecResult r =
            m_conn.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(tbl, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                           vals);
        key = m_buffer[size_t(pk)].isNull() && m_fields[size_t(pk)].autoIncrement
                  ? QVariant(qlonglong(r.insertId))
                  : m_buffer[size_t(pk)];
        storeIndex = m_rows.size();
    } else {
        storeIndex = storeRow(m_current);
        const QVariant oldKey = decode(pk, m_rows.cell(storeIndex, pk));
        key = m_changed[size_t(pk)] ? m_buffer[size_t(pk)] : oldKey;
        if (!cols.isEmpty()) {
            QStringList sets;
            for (const auto& c : cols)
                sets << c + QStringLiteral("=?");
            vals << oldKey;
            m_conn.execute(
                QStringLiteral("UPDATE %1 SET %2 WHERE %3=?").arg(tbl, sets.join(QLatin1Char(',')), pkName),
                vals);
        }
    }
    reloadRow(storeIndex, key);
    const bool inserted = m_state == State::Insert;
    if (inserted && !m_order.empty()) m_order.push_back(storeIndex);
    m_buffer.clear();
    m_modified = false;
    setState(State::Browse);
    rowChanged(*this, m_current);
    if (inserted) scrolled();
    afterPost(*this);
}

bool RecordSet::holdsKey(int pk, const QVariant& key) const
{
    for (int r = 0; r < m_rows.size(); ++r)
        if (values::equal(decode(pk, m_rows.cell(r, pk)), key)) return true;
    return false;
}

bool RecordSet::reloadRow(int storeIndex, const QVariant& key)
{
    // Read the row back, so the set shows what the server stored (generated key, defaults).
    const QString table = tableName();
    const int pk = primaryKeyColumn();
    const QueryResult fresh =
        m_conn.query(QStringLiteral("SELECT * FROM %1 WHERE %2=?")
                         .arg(quoteIdentifier(table), quoteIdentifier(m_fields[size_t(pk)].orgName)),
                     {key});
    std::vector<QByteArray> row(m_fields.size());
    for (int c = 0; c < fieldCount(); ++c) {
        const FieldDef& f = m_fields[size_t(c)];
        int from = -1;
        if (fresh.rows.size() > 0 && f.orgTable.compare(table, Qt::CaseInsensitive) == 0)
            for (int k = 0; k < int(fresh.fields.size()); ++k)
                if (fresh.fields[size_t(k)].orgName.compare(f.orgName, Qt::CaseInsensitive) == 0) from = k;
        if (from >= 0) {
            const RowStore::Cell cell = fresh.rows.cell(0, from);
            row[size_t(c)] =
                cell.null ? QByteArray() : QByteArray(cell.bytes.data(), qsizetype(cell.bytes.size()));
            if (!cell.null && row[size_t(c)].isNull()) row[size_t(c)] = QByteArray("");
        } else {
            row[size_t(c)] = encode(c, isEditing() ? m_buffer[size_t(c)] : QVariant());
        }
    }
    m_rows.put(storeIndex, row);
    return fresh.rows.size() > 0;
}

void RecordSet::cancel()
{
    if (!isEditing()) return;
    const bool inserting = m_state == State::Insert;
    const int row = m_current;
    m_buffer.clear();
    m_modified = false;
    if (inserting) {
        m_current = std::clamp(m_beforeInsert, m_rows.size() > 0 ? 0 : -1, m_rows.size() - 1);
        setState(State::Browse);
        rowRemoved(*this, row);
        scrolled();
    } else {
        setState(State::Browse);
        rowChanged(*this, row);
    }
}

void RecordSet::remove()
{
    requireOpen("excluir");
    requireModifiable();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (m_current < 0) throw DbError(QStringLiteral("Não há registro para excluir"));
    const int pk = primaryKeyColumn();
    const QString table = tableName();
    if (pk < 0)
        throw DbError(QStringLiteral("A tabela %1 não tem chave primária; o registro não pode ser excluído")
                          .arg(table));
    const int storeIndex = storeRow(m_current);
    m_conn.execute(QStringLiteral("DELETE FROM %1 WHERE %2=?")
                       .arg(quoteIdentifier(table), quoteIdentifier(m_fields[size_t(pk)].orgName)),
                   {decode(pk, m_rows.cell(storeIndex, pk))});
    m_rows.remove(storeIndex);
    if (!m_order.empty()) {
        m_order.erase(m_order.begin() + m_current);
        for (int& i : m_order)
            if (i > storeIndex) --i;
    }
    const int removed = m_current;
    m_current = std::min(m_current, rowCount() - 1);
    rowRemoved(*this, removed);
    scrolled();
}

void RecordSet::setSortKeys(const std::vector<SortKey>& keys)
{
    checkBrowseMode();
    const int pk = primaryKeyColumn();
    const QVariant key = pk >= 0 && m_current >= 0 ? valueAt(m_current, pk) : QVariant();
    m_sortKeys = keys;
    rebuildOrder();
    rowsReset(*this);
    if (!key.isNull()) locate(m_fields[size_t(pk)].name, key);
}

void RecordSet::rebuildOrder()
{
    m_order.clear();
    if (m_sortKeys.empty() || m_rows.size() == 0) return;
    // Decode each sort column once, then order the row numbers.
    std::vector<std::vector<QVariant>> keys;
    for (const SortKey& k : m_sortKeys) {
        std::vector<QVariant> col(size_t(m_rows.size()));
        for (int r = 0; r < m_rows.size(); ++r)
            col[size_t(r)] = decode(k.column, m_rows.cell(r, k.column));
        keys.push_back(std::move(col));
    }
    m_order.resize(size_t(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r)
        m_order[size_t(r)] = r;
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        for (size_t k = 0; k < m_sortKeys.size(); ++k) {
            const int c = values::compare(keys[k][size_t(a)], keys[k][size_t(b)]);
            if (c != 0) return m_sortKeys[k].ascending ? c < 0 : c > 0;
        }
        return false;
    });
}

void RecordSet::scrolled()
{
    afterScroll(*this);
}

} // namespace cad
