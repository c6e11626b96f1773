// The shift list and its accessible table: an interface of its own, made by a factory for this
// list, because Qt's item-view table exposes every model column, even one no eye can see. Rows
// are the list's items; table column c is the list's column c + 1. Qt's tree view numbers its
// announced cells by every column, so the list announces focus and selection itself.
#include "ui/main/ShiftListView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QTreeWidget>
#include <QWindow>

#include <algorithm>

namespace ui {
namespace {

constexpr int kHiddenColumns = 1;  // the identifier, leftmost

int modelColumn(int tableColumn) { return tableColumn + kHiddenColumns; }

// The table's children are the header row, then the cells row by row; row -1 is the header.
int childNumber(int row, int column, int columns) { return (row + 1) * columns + column; }

// One cell of the table, or with row -1 one of its column headers. It reads the list when asked,
// so it stays true while the list is refilled.
class ShiftListCell final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ShiftListCell(QTreeWidget* list, int row, int column) : list_(list), row_(row), column_(column) {}

    bool isHeader() const { return row_ < 0; }
    QTreeWidget* list() const { return list_; }
    int row() const { return row_; }
    int column() const { return column_; }

    bool isValid() const override
    {
        if (!list_ || modelColumn(column_) >= list_->columnCount())
            return false;
        return isHeader() || row_ < list_->topLevelItemCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(list_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        if (isHeader())
            return list_->headerItem()->text(modelColumn(column_));
        return list_->topLevelItem(row_)->text(modelColumn(column_));
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        if (isHeader()) {
            const QHeaderView* header = list_->header();
            const int section = modelColumn(column_);
            return QRect(header->mapToGlobal(QPoint(header->sectionViewportPosition(section), 0)),
                         QSize(header->sectionSize(section), header->height()));
        }
        const QRect shown = list_->visualRect(index());
        return QRect(list_->viewport()->mapToGlobal(shown.topLeft()), shown.size());
    }

    QAccessible::Role role() const override { return isHeader() ? QAccessible::ColumnHeader : QAccessible::Cell; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        if (isHeader())
            return state;
        const QRect shown = list_->visualRect(index());
        state.invisible = !shown.intersects(list_->viewport()->rect());
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        state.focused = list_->hasFocus() && list_->currentIndex().row() == row_;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface && !isHeader())
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override
    {
        return isValid() && !isHeader() && list_->selectionModel()->isRowSelected(row_, QModelIndex());
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QModelIndex index() const { return list_->model()->index(row_, modelColumn(column_)); }

    QPointer<QTreeWidget> list_;
    int row_;
    int column_;
};

// The list as a table.
class ShiftListTable final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ShiftListTable(QTreeWidget* list) : QAccessibleWidget(list, QAccessible::Table) {}
    ~ShiftListTable() override { forgetCells(); }

    QTreeWidget* list() const { return static_cast<QTreeWidget*>(widget()); }

    // The cell's interface, made once and kept until the list's rows change.
    QAccessibleInterface* cell(int row, int column) const
    {
        if (column < 0 || column >= columnCount() || row < -1 || row >= rowCount())
            return nullptr;
        const qint64 key = (qint64(row + 1) << 32) | quint32(column);
        if (const auto found = cells_.constFind(key); found != cells_.cend())
            if (QAccessibleInterface* known = QAccessible::accessibleInterface(*found))
                return known;
        auto* made = new ShiftListCell(list(), row, column);
        cells_.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return (rowCount() + 1) * columnCount(); }
    QAccessibleInterface* child(int index) const override
    {
        const int columns = columnCount();
        if (index < 0 || columns == 0)
            return nullptr;
        return cell(index / columns - 1, index % columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* found = dynamic_cast<const ShiftListCell*>(child);
        if (!found || found->list() != list() || !found->isValid())
            return -1;
        return childNumber(found->row(), found->column(), columnCount());
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QHeaderView* header = list()->header();
        const QPoint onHeader = header->mapFromGlobal(QPoint(x, y));
        if (header->isVisible() && header->rect().contains(onHeader))
            return cell(-1, header->logicalIndexAt(onHeader) - kHiddenColumns);
        const QPoint onRows = list()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!list()->viewport()->rect().contains(onRows))
            return nullptr;
        const QModelIndex at = list()->indexAt(onRows);
        return at.isValid() ? cell(at.row(), at.column() - kHiddenColumns) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        const QModelIndex current = list()->currentIndex();
        if (!list()->hasFocus() || !current.isValid())
            return nullptr;
        return cell(current.row(), std::max(current.column() - kHiddenColumns, 0));
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override { return row < 0 ? nullptr : cell(row, column); }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> out;
        for (int row : selectedRows())
            for (int column = 0; column < columnCount(); ++column)
                out << cell(row, column);
        return out;
    }
    QString columnDescription(int column) const override
    {
        return column >= 0 && column < columnCount() ? list()->headerItem()->text(modelColumn(column)) : QString();
    }
    QString rowDescription(int) const override { return QString(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override { return std::max(list()->columnCount() - kHiddenColumns, 0); }
    int rowCount() const override { return list()->topLevelItemCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        for (const QModelIndex& index : list()->selectionModel()->selectedRows())
            rows << index.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return list()->selectionModel()->isRowSelected(row, QModelIndex()); }
    bool selectRow(int row) override { return changeRow(row, QItemSelectionModel::ClearAndSelect); }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override { return changeRow(row, QItemSelectionModel::Deselect); }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { forgetCells(); }

private:
    bool changeRow(int row, QItemSelectionModel::SelectionFlag how)
    {
        if (row < 0 || row >= rowCount())
            return false;
        list()->selectionModel()->select(list()->model()->index(row, 0), how | QItemSelectionModel::Rows);
        return true;
    }
    void forgetCells()
    {
        for (QAccessible::Id id : std::as_const(cells_))
            if (QAccessible::accessibleInterface(id))
                QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }

    mutable QHash<qint64, QAccessible::Id> cells_;
};

QList<QAccessibleInterface*> ShiftListCell::columnHeaderCells() const
{
    auto* table = dynamic_cast<ShiftListTable*>(parent());
    QAccessibleInterface* header = table ? table->cell(-1, column_) : nullptr;
    return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

QAccessibleInterface* makeShiftListTable(const QString&, QObject* object)
{
    auto* list = qobject_cast<ShiftListView*>(object);
    return list ? new ShiftListTable(list) : nullptr;
}

void announce(QTreeWidget* list, QAccessible::Event what, const QModelIndex& index)
{
    if (!QAccessible::isActive() || !index.isValid())
        return;
    // A row is announced by its first shown cell, whichever of its cells is meant.
    const int column = std::max(index.column() - kHiddenColumns, 0);
    if (column >= list->columnCount() - kHiddenColumns)
        return;
    QAccessibleEvent event(list, what);
    event.setChild(childNumber(index.row(), column, list->columnCount() - kHiddenColumns));
    QAccessible::updateAccessibility(&event);
}

}  // namespace

ShiftListView::ShiftListView(QWidget* parent) : QTreeWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(&makeShiftListTable);
        return true;
    }();
    (void)installed;
}

// QTreeView's own versions would announce cells numbered by every column; these do what they do
// for the eye and announce the cells of the table screen readers are shown.
void ShiftListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (allColumnsShowFocus()) {
        for (const QModelIndex& row : {previous, current})
            if (row.isValid()) {
                const QRect cell = visualRect(row);
                viewport()->update(QRect(0, cell.top(), viewport()->width(), cell.height()));
            }
    }
    announce(this, QAccessible::Focus, current);
}

void ShiftListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    announce(this, QAccessible::SelectionAdd, selected.indexes().value(0));
    announce(this, QAccessible::SelectionRemove, deselected.indexes().value(0));
}

}  // namespace ui
