#include "MoxGrid.h"

#include "MemTable.h"
#include "MoxColors.h"
#include "MoxNumEdit.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

QColor tinted(const QColor& color, int red, int green, int blue) {
    return QColor(std::max(0, color.red() - red), std::max(0, color.green() - green),
                  std::max(0, color.blue() - blue));
}

// The row indicator: a blank fixed column whose current row carries a black arrow.
class RowIndicator final : public QHeaderView {
public:
    explicit RowIndicator(QTableView* grid) : QHeaderView(Qt::Vertical, grid), m_grid(grid) {}

    QSize sizeHint() const override { return {12, QHeaderView::sizeHint().height()}; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.rect = rect;
        option.section = logicalIndex;
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        if (logicalIndex != m_grid->currentIndex().row())
            return;
        const QPointF centre = QRectF(rect).center();
        const QPointF arrow[] = {centre + QPointF(-2, -4), centre + QPointF(2, 0), centre + QPointF(-2, 4)};
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(isEnabled() ? MoxColors::Text : MoxColors::DisabledText);
        painter->drawPolygon(arrow, 3);
        painter->restore();
    }

private:
    QTableView* m_grid;
};

} // namespace

class TMoxGridDelegate final : public QStyledItemDelegate {
public:
    explicit TMoxGridDelegate(TMoxGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const TMoxCellParams params =
            m_grid->cellParams(index, cell.state.testFlag(QStyle::State_Selected), cell.font);
        cell.state &= ~QStyle::State_Selected;
        cell.backgroundBrush = params.background;
        cell.font = params.font;
        cell.palette.setColor(QPalette::Text, params.fontColor);
        m_grid->style()->drawControl(QStyle::CE_ItemViewItem, &cell, painter, m_grid);
    }

    // A numeric column is typed as the desks' number fields are, in the locale; an emptied cell
    // holds no number rather than a zero the clerk never typed.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const QVariant decimals = header(index, TMemTable::DecimalsRole);
        if (decimals.isValid()) {
            auto* number = new TMoxNumEdit(parent);
            number->setDecimal(decimals.toInt());
            number->setThSeparator(false);
            return number;
        }
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        const QVariant length = header(index, TMemTable::MaxLengthRole);
        if (auto* line = qobject_cast<QLineEdit*>(editor); line && length.isValid())
            line->setMaxLength(length.toInt());
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* number = qobject_cast<TMoxNumEdit*>(editor);
        if (!number)
            return QStyledItemDelegate::setEditorData(editor, index);
        const QVariant value = index.data(Qt::EditRole);
        if (value.isNull())
            number->clear();
        else
            number->setValue(value.toDouble());
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        auto* number = qobject_cast<TMoxNumEdit*>(editor);
        if (!number)
            return QStyledItemDelegate::setModelData(editor, model, index);
        if (number->text().trimmed().isEmpty())
            model->setData(index, QVariant());
        else if (number->decimal() == 0)
            model->setData(index, number->valueInt());
        else
            model->setData(index, number->value());
    }

private:
    static QVariant header(const QModelIndex& index, int role) {
        return index.model()->headerData(index.column(), Qt::Horizontal, role);
    }

    TMoxGrid* m_grid;
};

TMoxGrid::TMoxGrid(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new TMoxGridDelegate(this));
    setVerticalHeader(new RowIndicator(this));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        QPalette palette = header->palette();
        palette.setColor(QPalette::Button, MoxColors::PaleGreen);
        palette.setColor(QPalette::Window, MoxColors::PaleGreen);
        header->setPalette(palette);
    }
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &TMoxGrid::titleClicked);
    // Fitting waits for the desk to finish a change (rows, titles, hidden columns) and is done once.
    m_fitTimer.setSingleShot(true);
    m_fitTimer.setInterval(0);
    connect(&m_fitTimer, &QTimer::timeout, this, &TMoxGrid::fitColumns);
    horizontalHeader()->viewport()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (m_fitting)
            return;
        // The clerk's dragging of a column edge is held, and the room is shared out again once the
        // clerk lets go; a column hidden or shown by the owner changes the room at once.
        if (m_clerkOnHeader)
            m_clerkWidths.insert(column, size);
        else
            scheduleFit();
    });
    updateColors();
    updateSortMark();
}

void TMoxGrid::setModel(QAbstractItemModel* model) {
    for (const QMetaObject::Connection& connection : std::as_const(m_modelConnections))
        disconnect(connection);
    m_modelConnections.clear();
    m_clerkWidths.clear();
    QTableView::setModel(model);
    if (model) {
        m_modelConnections << connect(model, &QAbstractItemModel::modelReset, this, &TMoxGrid::updateSortMark)
                           << connect(model, &QAbstractItemModel::headerDataChanged, this,
                                      &TMoxGrid::updateSortMark)
                           << connect(model, &QAbstractItemModel::modelReset, this, &TMoxGrid::scheduleFit)
                           << connect(model, &QAbstractItemModel::rowsInserted, this, &TMoxGrid::scheduleFit)
                           << connect(model, &QAbstractItemModel::rowsRemoved, this, &TMoxGrid::scheduleFit)
                           << connect(model, &QAbstractItemModel::layoutChanged, this, &TMoxGrid::scheduleFit)
                           << connect(model, &QAbstractItemModel::dataChanged, this, &TMoxGrid::scheduleFit)
                           << connect(model, &QAbstractItemModel::headerDataChanged, this,
                                      &TMoxGrid::scheduleFit);
    }
    scheduleFit();
    if (auto* table = qobject_cast<TMemTable*>(model)) {
        m_modelConnections << connect(table, &TMemTable::currentRowChanged, this, &TMoxGrid::followTableRow);
        followTableRow(table->currentRow());
    }
    updateSortMark();
}

void TMoxGrid::setSelectionModel(QItemSelectionModel* selectionModel) {
    QTableView::setSelectionModel(selectionModel);
    // The view submits on every row change, also when the table itself moves the current row
    // onto a new row; the grid decides when the clerk leaves a row. The view connects by name,
    // so only a disconnect by name undoes it.
    if (selectionModel && model())
        disconnect(selectionModel, SIGNAL(currentRowChanged(QModelIndex, QModelIndex)), model(),
                   SLOT(submit()));
}

void TMoxGrid::followTableRow(int row) {
    if (row < 0 || row == currentIndex().row())
        return;
    // The table moved by itself (a new row, a deleted one): nothing of the clerk's to submit.
    const QScopedValueRollback following(m_followingTable, true);
    setCurrentIndex(model()->index(row, std::max(0, currentIndex().column())));
}

QString TMoxGrid::fieldName(int column) const {
    if (!model())
        return {};
    // A caption is no field name: an owner would sort its statement by a word that is no column.
    return model()->headerData(column, Qt::Horizontal, TMemTable::FieldNameRole).toString();
}

void TMoxGrid::setSorting(const QString& sorting) {
    m_sorting = sorting;
    updateSortMark();
}

void TMoxGrid::titleClicked(int column) {
    const QString field = fieldName(column);
    if (field.isEmpty())
        return;
    const bool ascending = m_sorting.startsWith(field + u' ') && !m_sorting.contains(QStringLiteral(" DESC"));
    m_sorting = field + (ascending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    updateSortMark();
    emit sortingChanged(m_sorting, column);
}

void TMoxGrid::updateSortMark() {
    // The mark promises an order, and only an owner that listens re-reads the rows in it.
    const QString field = m_sorting.section(u' ', 0, 0);
    int column = -1;
    if (isSignalConnected(QMetaMethod::fromSignal(&TMoxGrid::sortingChanged)) && !field.isEmpty() && model())
        for (int c = 0; c < model()->columnCount() && column < 0; ++c)
            if (fieldName(c) == field)
                column = c;
    QHeaderView* header = horizontalHeader();
    header->setSortIndicatorShown(column >= 0);
    header->setSortIndicator(column, m_sorting.contains(QStringLiteral(" DESC")) ? Qt::DescendingOrder
                                                                                 : Qt::AscendingOrder);
}

void TMoxGrid::connectNotify(const QMetaMethod& signal) {
    QTableView::connectNotify(signal);
    if (signal == QMetaMethod::fromSignal(&TMoxGrid::sortingChanged))
        updateSortMark();
}

void TMoxGrid::disconnectNotify(const QMetaMethod& signal) {
    QTableView::disconnectNotify(signal);
    // Called under the signal lock: asking about connections now would deadlock.
    if (!signal.isValid() || signal == QMetaMethod::fromSignal(&TMoxGrid::sortingChanged))
        QMetaObject::invokeMethod(this, &TMoxGrid::updateSortMark, Qt::QueuedConnection);
}

void TMoxGrid::setOnGetCellParams(CellParamsHandler handler) {
    m_onGetCellParams = std::move(handler);
    viewport()->update();
}

void TMoxGrid::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    viewport()->update();
}

bool TMoxGrid::allowsEditing() const {
    return editTriggers() != NoEditTriggers && !m_readOnly;
}

TMoxCellParams TMoxGrid::cellParams(const QModelIndex& index, bool selected, const QFont& font) const {
    TMoxCellParams params;
    params.row = index.row();
    params.column = index.column();
    params.field = fieldName(index.column());
    params.value = index.data(Qt::EditRole);
    params.highlighted = selected && isEnabled();
    params.font = font;
    if (params.highlighted) {
        params.background = palette().color(QPalette::Highlight);
        params.fontColor = palette().color(QPalette::HighlightedText);
    } else {
        const QVariant background = index.data(Qt::BackgroundRole);
        const QVariant foreground = index.data(Qt::ForegroundRole);
        params.background =
            background.isValid() ? background.value<QBrush>().color() : palette().color(QPalette::Base);
        params.fontColor =
            foreground.isValid() ? foreground.value<QBrush>().color() : palette().color(QPalette::Text);
    }
    if (m_onGetCellParams)
        m_onGetCellParams(params);
    if (allowsEditing()) {
        if (!(index.flags() & Qt::ItemIsEditable))
            params.background = tinted(params.background, 47, 31, 15);
        if (index.row() == currentIndex().row())
            params.background = tinted(params.background, 0, 0, 31);
    }
    return params;
}

void TMoxGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (previous.isValid() && current.row() != previous.row() && model() && !m_followingTable)
        model()->submit();
    if (auto* table = qobject_cast<TMemTable*>(model()); table && currentIndex().isValid())
        table->setCurrentRow(currentIndex().row());
    viewport()->update();
    verticalHeader()->viewport()->update();
}

bool TMoxGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    return !m_readOnly && QTableView::edit(index, trigger, event);
}

void TMoxGrid::priorRow() {
    moveToRow(currentIndex().row() - 1);
}

void TMoxGrid::nextRow() {
    moveToRow(currentIndex().row() + 1);
}

void TMoxGrid::moveToRow(int row) {
    if (model() && row >= 0 && row < model()->rowCount())
        setCurrentIndex(model()->index(row, std::max(0, currentIndex().column())));
}

void TMoxGrid::insertRow() {
    if (model() && allowsEditing())
        insertByClerk(currentIndex().isValid() ? currentIndex().row() : 0);
    setFocus();
}

void TMoxGrid::deleteRow() {
    if (model() && !m_readOnly)
        deleteByClerk();
}

void TMoxGrid::postRow() {
    if (QWidget* editor = openEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (model())
        model()->submit();
}

void TMoxGrid::cancelRow() {
    if (QWidget* editor = openEditor())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (model())
        model()->revert();
}

QWidget* TMoxGrid::openEditor() const {
    // The navigator's buttons take no focus, so an open cell editor is still the window's focus.
    QWidget* focused = window()->focusWidget();
    return state() == EditingState && focused && viewport()->isAncestorOf(focused) ? focused : nullptr;
}

void TMoxGrid::insertByClerk(int row) {
    if (model()->insertRows(row, 1))
        setCurrentIndex(model()->index(row, std::max(0, currentIndex().column())));
}

void TMoxGrid::deleteByClerk() {
    auto* table = qobject_cast<TMemTable*>(model());
    if (!table || !table->userDeleteAllowed() || !currentIndex().isValid())
        return;
    const int row = currentIndex().row();
    // The desk asks through the shop's message box; a desk that set no question deletes nothing.
    if (m_confirmDelete && m_confirmDelete())
        table->removeRows(row, 1);
}

void TMoxGrid::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (model() && event->key() == Qt::Key_Insert && modifiers == Qt::NoModifier && allowsEditing()) {
        insertByClerk(currentIndex().isValid() ? currentIndex().row() : 0);
        return;
    }
    if (model() && event->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier && !m_readOnly) {
        deleteByClerk();
        return;
    }
    if (model() && event->key() == Qt::Key_Down && modifiers == Qt::NoModifier && allowsEditing() &&
        currentIndex().row() == model()->rowCount() - 1) {
        insertByClerk(model()->rowCount());
        return;
    }
    if (model() && event->key() == Qt::Key_Escape)
        model()->revert();
    QTableView::keyPressEvent(event);
}

void TMoxGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    // An opened cell editor is still inside the grid; only leaving the grid drops an empty new row.
    if (model() && !isAncestorOf(QApplication::focusWidget()))
        model()->submit();
}

void TMoxGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        updateColors();
}

bool TMoxGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            m_clerkOnHeader = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        else if (type == QEvent::MouseButtonRelease && m_clerkOnHeader) {
            m_clerkOnHeader = false;
            scheduleFit();
        }
    }
    return QTableView::eventFilter(watched, event);
}

bool TMoxGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize)
        scheduleFit();
    return QTableView::viewportEvent(event);
}

void TMoxGrid::showEvent(QShowEvent* event) {
    QTableView::showEvent(event);
    scheduleFit();
}

void TMoxGrid::scheduleFit() {
    m_fitTimer.start();
}

int TMoxGrid::codeWidth() const {
    // Sixteen digits between the cell's text margins, and the grid line.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return fontMetrics().horizontalAdvance(QString(16, u'0')) + 2 * margin + (showGrid() ? 1 : 0);
}

void TMoxGrid::fitColumns() {
    if (!model())
        return;
    QHeaderView* header = horizontalHeader();
    QList<int> widths(model()->columnCount(), 0);
    QList<int> growing;
    int total = 0;
    int last = -1;
    for (int column = 0; column < widths.size(); ++column) {
        // A column the owner stretches itself is left to the header.
        if (header->isSectionHidden(column) || header->sectionResizeMode(column) != QHeaderView::Interactive)
            continue;
        const auto kind = static_cast<TMemTable::ColumnKind>(
            model()->headerData(column, Qt::Horizontal, TMemTable::KindRole).toInt());
        int width = std::max(header->sectionSizeHint(column), sizeHintForColumn(column));
        if (kind == TMemTable::ColumnKind::Code)
            width = std::max(width, codeWidth());
        if (const auto clerk = m_clerkWidths.constFind(column); clerk != m_clerkWidths.cend())
            width = *clerk;
        else if (kind == TMemTable::ColumnKind::Name)
            growing.append(column);
        widths[column] = width;
        total += width;
        last = column;
    }
    if (growing.isEmpty() && last >= 0 && !m_clerkWidths.contains(last))
        growing.append(last);
    const int extra = viewport()->width() - total;
    for (qsizetype i = 0; extra > 0 && i < growing.size(); ++i)
        widths[growing.at(i)] += int(extra / growing.size() + (i < extra % growing.size() ? 1 : 0));
    const QScopedValueRollback fitting(m_fitting, true);
    for (int column = 0; column < widths.size(); ++column)
        if (widths.at(column) > 0 && header->sectionSize(column) != widths.at(column))
            header->resizeSection(column, widths.at(column));
}

void TMoxGrid::updateColors() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, isEnabled() ? MoxColors::Writable : MoxColors::Disabled);
    palette.setColor(QPalette::Text, MoxColors::editText(isEnabled()));
    setPalette(palette);
}
