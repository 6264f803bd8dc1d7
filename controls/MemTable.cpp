#include "MemTable.h"

#include <QLocale>

#include <cmath>
#include <stdexcept>

namespace {

// The schema names its codes EAN_KOD… and CN_KOD, its titles NAZEV…, people ZAKAZNIK, UZIVATEL,
// JMENO and PRIJMENI, and a cash movement's description POPIS.
TMemTable::ColumnKind KindOf(const QString& fieldName) {
    const QString field = fieldName.toUpper();
    if (field.startsWith(QStringLiteral("EAN_KOD")) || field == QStringLiteral("CN_KOD"))
        return TMemTable::ColumnKind::Code;
    static const QStringList names{QStringLiteral("ZAKAZNIK"), QStringLiteral("UZIVATEL"),
                                   QStringLiteral("JMENO"), QStringLiteral("PRIJMENI"),
                                   QStringLiteral("POPIS")};
    if (field.startsWith(QStringLiteral("NAZEV")) || names.contains(field))
        return TMemTable::ColumnKind::Name;
    return TMemTable::ColumnKind::Plain;
}

} // namespace

TMemTable::TMemTable(QObject* parent) : TMemTable(QStringList(), parent) {}

TMemTable::TMemTable(const QStringList& columns, QObject* parent) : QAbstractTableModel(parent) {
    setColumns(columns);
    connect(this, &QAbstractItemModel::dataChanged, this, &TMemTable::changed);
    connect(this, &QAbstractItemModel::rowsInserted, this, &TMemTable::changed);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &TMemTable::changed);
    connect(this, &QAbstractItemModel::modelReset, this, &TMemTable::changed);
}

void TMemTable::setColumns(const QStringList& names) {
    beginResetModel();
    m_columns.clear();
    for (const QString& name : names)
        m_columns.append({name, {}, false, -1, {}, 0, KindOf(name)});
    m_rows.clear();
    m_pendingRow = -1;
    endResetModel();
    moveCurrent(-1);
}

QStringList TMemTable::columns() const {
    QStringList names;
    for (const Column& c : m_columns)
        names.append(c.name);
    return names;
}

int TMemTable::columnIndex(const QString& name) const {
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int TMemTable::checkedColumn(const QString& name) const {
    const int index = columnIndex(name);
    if (index < 0)
        throw std::out_of_range("TMemTable: no column " + name.toStdString());
    return index;
}

const TMemTable::Column& TMemTable::column(const QString& name) const {
    return m_columns.at(checkedColumn(name));
}

TMemTable::Column& TMemTable::column(const QString& name) {
    return m_columns[checkedColumn(name)];
}

void TMemTable::checkRow(int row) const {
    if (row < 0 || row >= rowCount())
        throw std::out_of_range("TMemTable: no row " + std::to_string(row));
}

void TMemTable::setColumnTitle(const QString& name, const QString& title) {
    const int section = checkedColumn(name);
    m_columns[section].title = title;
    emit headerDataChanged(Qt::Horizontal, section, section);
}

void TMemTable::setColumnReadOnly(const QString& name, bool readOnly) {
    column(name).readOnly = readOnly;
}

void TMemTable::setColumnDecimals(const QString& name, int decimals) {
    column(name).decimals = decimals;
}

void TMemTable::setColumnMaxLength(const QString& name, int length) {
    column(name).maxLength = length;
}

void TMemTable::setColumnAlignment(const QString& name, Qt::Alignment alignment) {
    column(name).alignment = alignment;
}

QVariantList TMemTable::fitted(QVariantList values) const {
    values.resize(m_columns.size());
    return values;
}

int TMemTable::appendRecord(const QVariantList& values) {
    const int row = rowCount();
    insertAt(row, {fitted(values)});
    moveCurrent(row, true);
    return row;
}

void TMemTable::appendRecords(const QList<QVariantList>& rows) {
    if (rows.isEmpty())
        return;
    QList<QVariantList> fittedRows;
    fittedRows.reserve(rows.size());
    for (const QVariantList& values : rows)
        fittedRows.append(fitted(values));
    insertAt(rowCount(), fittedRows);
    moveCurrent(rowCount() - 1, true);
}

int TMemTable::insertRecord(int row, const QVariantList& values) {
    if (row != rowCount())
        checkRow(row);
    insertAt(row, {fitted(values)});
    moveCurrent(row, true);
    return row;
}

void TMemTable::deleteRecord(int row) {
    checkRow(row);
    removeAt(row, 1);
}

void TMemTable::setRows(QList<QVariantList> rows) {
    beginResetModel();
    for (QVariantList& values : rows)
        values = fitted(std::move(values));
    m_rows = std::move(rows);
    m_pendingRow = -1;
    endResetModel();
    moveCurrent(m_rows.isEmpty() ? -1 : 0, true);
}

void TMemTable::replaceRows(QList<QVariantList> rows) {
    const int current = m_current;
    setRows(std::move(rows));
    if (current > 0 && !m_rows.isEmpty())
        setCurrentRow(std::min(current, static_cast<int>(m_rows.size()) - 1));
}

void TMemTable::clear() {
    setRows({});
}

QVariant TMemTable::value(int row, const QString& column) const {
    checkRow(row);
    return m_rows.at(row).at(checkedColumn(column));
}

void TMemTable::setValue(int row, const QString& column, const QVariant& value) {
    checkRow(row);
    setData(index(row, checkedColumn(column)), value);
}

QVariantList TMemTable::record(int row) const {
    checkRow(row);
    return m_rows.at(row);
}

void TMemTable::setCurrentRow(int row) {
    checkRow(row);
    moveCurrent(row);
}

QVariant TMemTable::field(const QString& column) const {
    const int section = checkedColumn(column);
    return m_current < 0 ? QVariant() : m_rows.at(m_current).at(section);
}

void TMemTable::setField(const QString& column, const QVariant& value) {
    if (m_current < 0)
        throw std::out_of_range("TMemTable: no current row for " + column.toStdString());
    setValue(m_current, column, value);
}

int TMemTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TMemTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TMemTable::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const QVariant& value = m_rows.at(index.row()).at(index.column());
    const Column& c = m_columns.at(index.column());
    const int decimals = c.decimals;
    switch (role) {
    case Qt::DisplayRole:
        if (decimals == 0 && !value.isNull())
            return QString::number(std::llround(value.toDouble()));
        if (decimals > 0 && !value.isNull())
            return QLocale().toString(value.toDouble(), 'f', decimals);
        return value;
    case Qt::EditRole:
        return value;
    case Qt::TextAlignmentRole:
        if (c.alignment)
            return QVariant::fromValue(c.alignment | Qt::AlignVCenter);
        if (decimals >= 0)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

bool TMemTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    // An editor leaving a cell writes back what it showed; only a real change touches the row,
    // so a clerk's new row left untouched is still dropped.
    QVariant& cell = m_rows[index.row()][index.column()];
    const bool bothEmpty =
        (cell.isNull() || cell.toString().isEmpty()) && (value.isNull() || value.toString().isEmpty());
    if (bothEmpty || (!cell.isNull() && cell == value))
        return true;
    cell = value;
    if (index.row() == m_pendingRow)
        m_pendingTouched = true;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant TMemTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column& c = m_columns.at(section);
    if (role == FieldNameRole)
        return c.name;
    if (role == MaxLengthRole)
        return c.maxLength > 0 ? QVariant(c.maxLength) : QVariant();
    if (role == DecimalsRole)
        return c.decimals >= 0 ? QVariant(c.decimals) : QVariant();
    if (role == KindRole)
        return static_cast<int>(c.kind);
    if (role == Qt::DisplayRole)
        return c.title.isEmpty() ? c.name : c.title;
    return {};
}

Qt::ItemFlags TMemTable::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && !m_columns.at(index.column()).readOnly)
        result |= Qt::ItemIsEditable;
    return result;
}

bool TMemTable::insertRows(int row, int count, const QModelIndex& parent) {
    if (!m_userInsert || parent.isValid() || count < 1 || row < 0 || row > rowCount())
        return false;
    // Only one row of the clerk's is pending at a time; an untouched one gives way.
    if (m_pendingRow >= 0 && !m_pendingTouched && m_pendingRow < row)
        --row;
    submit();
    insertAt(row, QList<QVariantList>(count, fitted({})));
    m_pendingRow = row;
    m_pendingTouched = false;
    moveCurrent(row, true);
    return true;
}

bool TMemTable::removeRows(int row, int count, const QModelIndex& parent) {
    if (!m_userDelete || parent.isValid() || count < 1 || row < 0 || row + count > rowCount())
        return false;
    removeAt(row, count);
    return true;
}

bool TMemTable::submit() {
    if (m_pendingRow >= 0 && !m_pendingTouched)
        dropPending();
    m_pendingRow = -1;
    return true;
}

void TMemTable::revert() {
    if (m_pendingRow >= 0)
        dropPending();
}

void TMemTable::dropPending() {
    const int row = m_pendingRow;
    m_pendingRow = -1;
    removeAt(row, 1);
}

void TMemTable::insertAt(int row, const QList<QVariantList>& rows) {
    const int count = int(rows.size());
    beginInsertRows({}, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        m_rows.insert(row + i, rows.at(i));
    if (m_pendingRow >= row)
        m_pendingRow += count;
    endInsertRows();
    if (m_current >= row)
        moveCurrent(m_current + count);
}

void TMemTable::removeAt(int row, int count) {
    beginRemoveRows({}, row, row + count - 1);
    m_rows.remove(row, count);
    if (m_pendingRow >= row + count)
        m_pendingRow -= count;
    else if (m_pendingRow >= row)
        m_pendingRow = -1;
    endRemoveRows();
    if (m_current >= row + count)
        moveCurrent(m_current - count);
    else if (m_current >= row)
        moveCurrent(std::min(row, rowCount() - 1), true);
}

void TMemTable::moveCurrent(int row, bool force) {
    if (row == m_current && !force)
        return;
    m_current = row;
    emit currentRowChanged(row);
}
