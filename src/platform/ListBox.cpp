// The list box over a QTableWidget. Clicks go through MouseDown and CellClick before the table's own
// selection handling; the inline editor is opened and closed here so its events come in order.
#include "platform/ListBox.h"

#include "platform/Exceptions.h"
#include "platform/Graphics.h"
#include "platform/Window.h"
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolTip>
#include <algorithm>

namespace platform {

class ListTable : public QTableWidget {
public:
    ListTable(ListBox* box, QWidget* parent) : QTableWidget(parent), box_(box) {}

    // Opens the editor on a cell, closing any other first.
    void StartEdit(const QModelIndex& index) {
        CloseActiveEditor();
        if (!edit(index, AllEditTriggers, nullptr))
            return;
        editing_ = index;
        if (box_->CellGotFocus && box_->CanFire())
            box_->CellGotFocus(index.row(), index.column());
    }

    // Confirms the open editor as Return does: the value goes into the cell, then CellAction and
    // CellLostFocus.
    void ConfirmActiveEditor() {
        if (QWidget* editor = ActiveEditor()) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
        }
    }

    // Commits and closes the open editor, as a click elsewhere does.
    void CloseActiveEditor() {
        if (QWidget* editor = ActiveEditor()) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }

    QWidget* ActiveEditor() const { return editing_.isValid() ? indexWidget(editing_) : nullptr; }

    // A list not yet shown has no height to scroll in: the row goes to the top when it shows.
    void ScrollToTop(int row) {
        if (isVisible()) {
            scrollTo(model()->index(row, 0), PositionAtTop);
            pendingTop_ = -1;
        } else {
            pendingTop_ = row;
        }
    }

    // The key typed into the open editor; true when CellKeyDown swallowed it.
    bool EditorKey(const QKeyEvent& e) {
        if (!editing_.isValid() || !box_->CellKeyDown || !box_->CanFire())
            return false;
        return box_->CellKeyDown(editing_.row(), editing_.column(), KeyText(e));
    }

protected:
    void showEvent(QShowEvent* e) override {
        QTableWidget::showEvent(e);
        if (pendingTop_ >= 0 && pendingTop_ < rowCount()) {
            updateGeometries();
            scrollTo(model()->index(pendingTop_, 0), PositionAtTop);
        }
        pendingTop_ = -1;
    }

    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton || !box_->CanFire()) {
            QTableWidget::mousePressEvent(e);
            return;
        }
        QPointer<ListTable> self(this);
        CloseActiveEditor();
        if (!self)
            return;
        const QPoint inViewport = e->position().toPoint();
        const QPoint inControl = viewport()->mapTo(this, inViewport);
        if (box_->MouseDown && box_->MouseDown(inControl.x(), inControl.y()))
            return;
        if (!self)
            return;
        QModelIndex index = indexAt(inViewport);
        if (index.isValid() && box_->CellClick) {
            const QRect cell = visualRect(index);
            if (box_->CellClick(index.row(), index.column(), inViewport.x() - cell.x(),
                                inViewport.y() - cell.y()))
                return;
            if (!self)
                return;
            index = indexAt(inViewport);
        }
        QTableWidget::mousePressEvent(e);
        if (self && index.isValid() &&
            box_->EffectiveType(index.row(), index.column()) == ListBox::TypeEditable)
            box_->EditCell(index.row(), index.column());
    }

    void mouseDoubleClickEvent(QMouseEvent* e) override {
        QPointer<ListTable> self(this);
        QTableWidget::mouseDoubleClickEvent(e);
        if (self && e->button() == Qt::LeftButton && box_->DoubleClick && box_->CanFire())
            box_->DoubleClick();
    }

    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
        const QPersistentModelIndex index = editing_;
        editing_ = QPersistentModelIndex();
        const bool confirmed = hint == QAbstractItemDelegate::SubmitModelCache;
        if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem)
            hint = QAbstractItemDelegate::NoHint; // Tab ends the edit; it does not walk to the next cell
        QTableWidget::closeEditor(editor, hint);
        if (!index.isValid() || !box_->CanFire())
            return;
        QPointer<ListTable> self(this);
        if (confirmed && box_->CellAction)
            box_->CellAction(index.row(), index.column());
        if (self && index.isValid() && box_->CellLostFocus)
            box_->CellLostFocus(index.row(), index.column());
    }

private:
    ListBox* box_;
    QPersistentModelIndex editing_;
    int pendingTop_ = -1;
};

// Draws the CellBackgroundPaint picture under the text, handles Return in the editor at once
// (Qt would confirm it later from the event queue), and shows the list's help tag.
class ListDelegate : public QStyledItemDelegate {
public:
    ListDelegate(ListBox* box, ListTable* table) : QStyledItemDelegate(table), box_(box), table_(table) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o = option;
        if (box_->CellBackgroundPaint && box_->CanFire() && !option.rect.isEmpty()) {
            QImage cell(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
            cell.fill(option.palette.color(QPalette::Base));
            bool handled;
            {
                Graphics g(cell);
                handled = box_->CellBackgroundPaint(g, index.row(), index.column());
            }
            p->drawImage(option.rect.topLeft(), cell);
            if (handled)
                o.state &= ~QStyle::State_Selected; // the handler drew the whole background
        }
        QStyledItemDelegate::paint(p, o, index);
    }

    bool helpEvent(QHelpEvent* e, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (e->type() == QEvent::ToolTip && !box_->Widget()->toolTip().isEmpty()) {
            QToolTip::showText(e->globalPos(), box_->Widget()->toolTip(), view);
            return true;
        }
        return QStyledItemDelegate::helpEvent(e, view, option, index);
    }

protected:
    bool eventFilter(QObject* object, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(e);
            if (table_->EditorKey(*key))
                return true;
            auto* editor = qobject_cast<QWidget*>(object);
            if (editor && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, e);
    }

private:
    ListBox* box_;
    ListTable* table_;
};

ListBox::ListBox(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    table_ = new ListTable(this, HostWidget());
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAutoScroll(false);
    table_->setShowGrid(false);
    table_->setWordWrap(false);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setVisible(d.hasHeading);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->setHorizontalScrollBarPolicy(d.scrollHorizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(d.scrollVertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    table_->setItemDelegate(new ListDelegate(this, table_));
    table_->setColumnCount(std::max(1, d.columnCount));
    columnTypes_.assign(size_t(table_->columnCount()), TypeDefault);
    Attach(table_);
    if (d.rowHeight > 0)
        SetDefaultRowHeight(d.rowHeight);
    SetColumnWidths(d.columnWidths);
    for (const QString& row : d.rows)
        AddRow(row.split('\t'));
    QObject::connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, table_,
                     [this] { SelectionMaybeChanged(); });
}

ListBox::~ListBox() = default;

int ListBox::ListCount() const {
    return table_->rowCount();
}
int ListBox::ColumnCount() const {
    return table_->columnCount();
}

void ListBox::SetColumnWidths(const QString& widths) {
    columnWidths_ = widths;
    ApplyColumnWidths();
}

void ListBox::ApplyColumnWidths() {
    const QStringList parts = columnWidths_.split(',');
    const int n = table_->columnCount();
    std::vector<int> given(size_t(n), -1);
    int used = 0, open = 0;
    for (int c = 0; c < n; ++c) {
        bool ok = false;
        const int w = c < parts.size() ? parts[c].trimmed().toInt(&ok) : 0;
        if (ok && w >= 0) {
            given[size_t(c)] = w;
            used += w;
        } else {
            ++open;
        }
    }
    const int inner = Width() - 2 * table_->frameWidth();
    const int share = open ? std::max(20, (inner - used) / open) : 0;
    for (int c = 0; c < n; ++c) {
        const int w = given[size_t(c)] >= 0 ? given[size_t(c)] : share;
        table_->setColumnHidden(c, w == 0);
        if (w > 0)
            table_->setColumnWidth(c, w);
    }
    table_->horizontalHeader()->setStretchLastSection(given[size_t(n - 1)] < 0);
}

int ListBox::DefaultRowHeight() const {
    return table_->verticalHeader()->defaultSectionSize();
}

void ListBox::SetDefaultRowHeight(int h) {
    table_->verticalHeader()->setMinimumSectionSize(
        std::min(h, table_->verticalHeader()->minimumSectionSize()));
    table_->verticalHeader()->setDefaultSectionSize(h);
    for (int r = 0; r < ListCount(); ++r)
        table_->setRowHeight(r, h);
}

void ListBox::CheckCell(int row, int column) const {
    if (row < 0 || row >= ListCount() || column < 0 || column >= ColumnCount())
        throw OutOfBoundsException(QString("No list cell %1, %2").arg(row).arg(column));
}

QTableWidgetItem* ListBox::ItemAt(int row, int column) {
    QTableWidgetItem* item = table_->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        table_->setItem(row, column, item);
    }
    return item;
}

QString ListBox::Cell(int row, int column) const {
    CheckCell(row, column);
    const QTableWidgetItem* item = table_->item(row, column);
    return item ? item->text() : QString();
}

void ListBox::SetCell(int row, int column, const QString& text) {
    CheckCell(row, column);
    ItemAt(row, column)->setText(text);
}

int ListBox::CellType(int row, int column) const {
    CheckCell(row, column);
    const auto& types = cellTypes_[size_t(row)];
    return size_t(column) < types.size() ? types[size_t(column)] : TypeDefault;
}

void ListBox::SetCellType(int row, int column, int type) {
    CheckCell(row, column);
    auto& types = cellTypes_[size_t(row)];
    if (types.size() <= size_t(column))
        types.resize(size_t(column) + 1, TypeDefault);
    types[size_t(column)] = type;
}

int ListBox::ColumnType(int column) const {
    if (column < 0 || column >= ColumnCount())
        throw OutOfBoundsException("No list column " + QString::number(column));
    return columnTypes_[size_t(column)];
}

void ListBox::SetColumnType(int column, int type) {
    if (column < 0 || column >= ColumnCount())
        throw OutOfBoundsException("No list column " + QString::number(column));
    columnTypes_[size_t(column)] = type;
}

int ListBox::EffectiveType(int row, int column) const {
    const int cell = CellType(row, column);
    if (cell != TypeDefault)
        return cell;
    const int col = ColumnType(column);
    return col != TypeDefault ? col : TypeNormal;
}

void ListBox::AddRow(const QString& text) {
    AddRow(QStringList{text});
}

void ListBox::AddRow(const QStringList& cells) {
    const int row = ListCount();
    InsertRow(row, QString());
    for (int c = 0; c < cells.size() && c < ColumnCount(); ++c)
        SetCell(row, c, cells[c]);
}

void ListBox::InsertRow(int row, const QString& text) {
    row = std::clamp(row, 0, ListCount());
    table_->insertRow(row);
    cellTypes_.insert(cellTypes_.begin() + row, std::vector<int>());
    if (DefaultRowHeight() > 0)
        table_->setRowHeight(row, DefaultRowHeight());
    ItemAt(row, 0)->setText(text);
    lastIndex_ = row;
    notifiedIndex_ = ListIndex(); // the selected row moved down; it is still the same row
}

void ListBox::DeleteAllRows() {
    table_->CloseActiveEditor();
    table_->selectionModel()->clear();
    table_->setRowCount(0);
    cellTypes_.clear();
    lastIndex_ = -1;
    SelectionMaybeChanged();
}

int ListBox::ListIndex() const {
    int first = -1;
    for (const QModelIndex& i : table_->selectionModel()->selectedIndexes())
        if (first < 0 || i.row() < first)
            first = i.row();
    return first;
}

void ListBox::SetListIndex(int row) {
    if (row < 0) {
        table_->clearSelection();
        return;
    }
    if (row >= ListCount())
        throw OutOfBoundsException("No list row " + QString::number(row));
    SetSelected(row, true);
}

bool ListBox::Selected(int row) const {
    return row >= 0 && row < ListCount() && table_->selectionModel()->rowIntersectsSelection(row, {});
}

void ListBox::SetSelected(int row, bool selected) {
    if (row < 0 || row >= ListCount())
        throw OutOfBoundsException("No list row " + QString::number(row));
    const QModelIndex index = table_->model()->index(row, 0);
    if (selected) {
        table_->selectionModel()->select(index,
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    } else {
        table_->selectionModel()->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
}

QString ListBox::Text() const {
    const int row = ListIndex();
    return row < 0 ? QString() : Cell(row, 0);
}

void ListBox::SelectionMaybeChanged() {
    const int now = ListIndex();
    if (now == notifiedIndex_)
        return;
    notifiedIndex_ = now;
    if (Change && CanFire())
        Change();
}

void ListBox::Sort() {
    const int column = sortedColumn_;
    if (column < 0 || column >= ColumnCount() || ListCount() < 2)
        return;
    table_->CloseActiveEditor();
    struct Row {
        QList<QTableWidgetItem*> items;
        std::vector<int> types;
        bool selected;
    };
    std::vector<Row> rows;
    for (int r = 0; r < ListCount(); ++r) {
        Row row{{}, cellTypes_[size_t(r)], Selected(r)};
        for (int c = 0; c < ColumnCount(); ++c)
            row.items.append(table_->takeItem(r, c));
        rows.push_back(std::move(row));
    }
    auto key = [column](const Row& r) { return r.items[column] ? r.items[column]->text() : QString(); };
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        const int order = QString::compare(key(a), key(b), Qt::CaseInsensitive);
        return sortDirection_ > 0 ? order < 0 : order > 0;
    });
    const QSignalBlocker quiet(table_->selectionModel()); // the selected row stays selected: no Change
    table_->clearSelection();
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < ColumnCount(); ++c)
            table_->setItem(r, c, rows[size_t(r)].items[c]);
        cellTypes_[size_t(r)] = rows[size_t(r)].types;
        if (rows[size_t(r)].selected)
            table_->selectionModel()->select(table_->model()->index(r, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    notifiedIndex_ = ListIndex();
    table_->viewport()->update();
}

int ListBox::RowFromXY(int x, int y) const {
    const QPoint p = table_->viewport()->mapFrom(table_, QPoint(x, y));
    if (!table_->viewport()->rect().contains(p))
        return -1;
    return table_->rowAt(p.y());
}

void ListBox::EditCell(int row, int column) {
    CheckCell(row, column);
    ItemAt(row, column);
    table_->StartEdit(table_->model()->index(row, column));
}

void ListBox::SetScrollPosition(int row) {
    if (row >= 0 && row < ListCount())
        table_->ScrollToTop(row);
}

void ListBox::CommitEdit() {
    table_->ConfirmActiveEditor();
}

QWidget* ListBox::ActiveEditor() const {
    return table_->ActiveEditor();
}

} // namespace platform
