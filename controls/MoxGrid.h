#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QTableView>
#include <QTimer>
#include <QVariant>

#include <functional>

// What a cell is drawn with. The owner's handler may change the font, its colour and the
// background before the grid adds its own tints.
struct TMoxCellParams {
    int row = -1;
    int column = -1;
    QString field;
    QVariant value;
    bool highlighted = false;
    QFont font;
    QColor fontColor;
    QColor background;
};

// The desks' grid over a query's rows or an in-memory table (TMemTable). Clicking a column title
// asks the owner to re-read the rows in that column's order; the grid never reorders rows itself.
// With editing allowed (edit triggers set) and not read-only, read-only columns and the current
// row are tinted so the clerk sees where typing goes.
// Columns fit their header and their rows, a code column (TMemTable::KindRole) at least a
// 16-digit code; the room a wider grid has left goes to its name columns (to the last column
// when it has none). A column the clerk resized keeps the clerk's width.
class TMoxGrid final : public QTableView {
    Q_OBJECT

public:
    using CellParamsHandler = std::function<void(TMoxCellParams&)>;
    using DeleteConfirmation = std::function<bool()>;

    explicit TMoxGrid(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    void setSelectionModel(QItemSelectionModel* selectionModel) override;

    // For example "NAZEV ASC" or "CENA DESC"; empty when unsorted.
    QString sorting() const { return m_sorting; }
    void setSorting(const QString& sorting);
    // The column's field name: the model's TMemTable::FieldNameRole header, else its title.
    QString fieldName(int column) const;

    void setOnGetCellParams(CellParamsHandler handler);
    // Asked before the clerk's Ctrl+Delete removes a row of a TMemTable that allows it; without
    // it nothing is removed.
    void setDeleteConfirmation(DeleteConfirmation confirm) { m_confirmDelete = std::move(confirm); }

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // The navigator's moves (TMoxNavigator), done as the clerk's keys do them.
    void priorRow();
    void nextRow();
    // A new row before the current one, as Insert gives.
    void insertRow();
    // The current row removed, as Ctrl+Delete does.
    void deleteRow();
    // The open cell's text written into the row and the row ended.
    void postRow();
    // The open cell's text dropped and a new row left empty removed, as Esc does.
    void cancelRow();

signals:
    // A column title was clicked; the owner re-reads its rows in the new order.
    void sortingChanged(const QString& sorting, int column);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void connectNotify(const QMetaMethod& signal) override;
    void disconnectNotify(const QMetaMethod& signal) override;

private:
    friend class TMoxGridDelegate;

    TMoxCellParams cellParams(const QModelIndex& index, bool selected, const QFont& font) const;
    bool allowsEditing() const;
    void titleClicked(int column);
    void updateSortMark();
    void updateColors();
    void moveToRow(int row);
    QWidget* openEditor() const;
    void insertByClerk(int row);
    void deleteByClerk();
    void followTableRow(int row);
    void scheduleFit();
    void fitColumns();
    int codeWidth() const;

    QString m_sorting;
    bool m_readOnly = false;
    bool m_followingTable = false;
    bool m_fitting = false;
    bool m_clerkOnHeader = false;
    QTimer m_fitTimer;
    QHash<int, int> m_clerkWidths;
    CellParamsHandler m_onGetCellParams;
    DeleteConfirmation m_confirmDelete;
    QList<QMetaObject::Connection> m_modelConnections;
};
