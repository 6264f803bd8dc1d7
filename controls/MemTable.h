#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QVariant>

// A desk's unsaved work (the lending cart, the reservation list, a title's media, the stocktaking
// list) or a copy of a query's rows: named columns of QVariant values, a current row that a grid
// follows, and a guard against rows added or removed by the clerk in the grid.
//
// The program changes rows through appendRecord, insertRecord, deleteRecord, setRows and clear;
// these are never refused. The generic insertRows/removeRows are what a view does for the clerk
// (Insert, Ctrl+Delete, moving past the last row); they are refused unless the desk allows them.
// A row the clerk inserted stays pending until a value is written into it: submit() (leaving the
// row or the grid) drops it while untouched, revert() (Esc) drops it in any case.
class TMemTable final : public QAbstractTableModel {
    Q_OBJECT

public:
    // Header role that gives a column's name (the field name a grid sorts by).
    static constexpr int FieldNameRole = Qt::UserRole + 1;
    // Header role that gives the most characters a text column holds; invalid when unlimited.
    static constexpr int MaxLengthRole = Qt::UserRole + 2;
    // Header role that gives the decimals of a numeric column; invalid for other columns.
    static constexpr int DecimalsRole = Qt::UserRole + 3;
    // Header role that gives what the column holds (a ColumnKind), for the width a grid gives it.
    static constexpr int KindRole = Qt::UserRole + 4;

    // A code column holds the shop's 16-digit codes; a name column holds titles, names and
    // descriptions, which take the room a wider window gives. A column is of the kind its field
    // name says.
    enum class ColumnKind { Plain, Code, Name };

    explicit TMemTable(QObject* parent = nullptr);
    explicit TMemTable(const QStringList& columns, QObject* parent = nullptr);

    // Sets the columns and drops all rows and column settings.
    void setColumns(const QStringList& names);
    QStringList columns() const;
    // The column's position, or -1 for an unknown name.
    int columnIndex(const QString& name) const;
    void setColumnTitle(const QString& name, const QString& title);
    // A read-only column is shown but not edited by the clerk; the program still writes it.
    void setColumnReadOnly(const QString& name, bool readOnly);
    // Shows the column's numbers with this many decimals in the locale, right-aligned; whole
    // numbers (decimals 0: keys, counts) are never grouped.
    void setColumnDecimals(const QString& name, int decimals);
    // Aligns a column that is not numeric, for example dates shown right-aligned.
    void setColumnAlignment(const QString& name, Qt::Alignment alignment);
    // The clerk's editor takes no more characters than the database column holds.
    void setColumnMaxLength(const QString& name, int length);

    bool isEmpty() const { return m_rows.isEmpty(); }
    // Values in column order; missing values are null, surplus ones are dropped.
    int appendRecord(const QVariantList& values = {});
    void appendRecords(const QList<QVariantList>& rows);
    int insertRecord(int row, const QVariantList& values = {});
    void deleteRecord(int row);
    // Replaces all rows at once, for example with the rows of a query.
    void setRows(QList<QVariantList> rows);
    // Replaces all rows and keeps the current row where it was (the last row when fewer are left).
    void replaceRows(QList<QVariantList> rows);
    void clear();

    QVariant value(int row, const QString& column) const;
    void setValue(int row, const QString& column, const QVariant& value);
    QVariantList record(int row) const;

    // The current row, -1 while the table is empty.
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    QVariant field(const QString& column) const;
    void setField(const QString& column, const QVariant& value);

    bool userInsertAllowed() const { return m_userInsert; }
    void setUserInsertAllowed(bool allowed) { m_userInsert = allowed; }
    bool userDeleteAllowed() const { return m_userDelete; }
    void setUserDeleteAllowed(bool allowed) { m_userDelete = allowed; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

public slots:
    bool submit() override;
    void revert() override;

signals:
    void currentRowChanged(int row);
    // Any change of values or rows, by the program or by the clerk.
    void changed();

private:
    struct Column {
        QString name;
        QString title;
        bool readOnly = false;
        int decimals = -1;
        Qt::Alignment alignment;
        int maxLength = 0; // 0: unlimited
        ColumnKind kind = ColumnKind::Plain;
    };

    const Column& column(const QString& name) const;
    Column& column(const QString& name);
    int checkedColumn(const QString& name) const;
    void checkRow(int row) const;
    QVariantList fitted(QVariantList values) const;
    void insertAt(int row, const QList<QVariantList>& rows);
    void removeAt(int row, int count);
    void moveCurrent(int row, bool force = false);
    void dropPending();

    QList<Column> m_columns;
    QList<QVariantList> m_rows;
    int m_current = -1;
    bool m_userInsert = false;
    bool m_userDelete = false;
    int m_pendingRow = -1;
    bool m_pendingTouched = false;
};
