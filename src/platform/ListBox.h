// The list box: rows of text cells in columns (a column of width 0 is hidden), single selection,
// cells that open an inline editor when clicked, sorting, and the framework's list events.
#pragma once

#include "platform/Control.h"
#include <vector>

class QTableWidgetItem;

namespace platform {

class Graphics;

class ListTable;

class ListBox : public Control {
public:
    // Cell and column types. A default cell takes its column's type; an editable cell opens an
    // inline editor when clicked.
    enum CellTypes { TypeDefault = 0, TypeNormal = 1, TypeEditable = 3 };

    ListBox(platform::Window& window, const ControlDesc& desc);
    ~ListBox() override;

    int ListCount() const;
    int ColumnCount() const;
    // Widths in pixels separated by commas ("0,100,100"); a missing width shares the space left.
    QString ColumnWidths() const { return columnWidths_; }
    void SetColumnWidths(const QString& widths);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int h);

    // Cells; rows and columns count from 0. OutOfBoundsException outside the list.
    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString& text);
    int CellType(int row, int column) const;
    void SetCellType(int row, int column, int type);
    int ColumnType(int column) const;
    void SetColumnType(int column, int type);

    // Adds a row with its first cell (tabs in the text fill the next cells).
    void AddRow(const QString& text);
    void AddRow(const QStringList& cells);
    void InsertRow(int row, const QString& text);
    void DeleteAllRows();
    // The row added last; -1 before any.
    int LastIndex() const { return lastIndex_; }

    // The selected row; -1 for none. Setting it raises Change when the selection moves.
    int ListIndex() const;
    void SetListIndex(int row);
    bool Selected(int row) const;
    void SetSelected(int row, bool selected);
    // The first cell of the selected row; "" when none is selected.
    QString Text() const;

    int SortedColumn() const { return sortedColumn_; }
    void SetSortedColumn(int column) { sortedColumn_ = column; }
    // Ascending (1) or descending (-1).
    int ColumnSortDirection(int) const { return sortDirection_; }
    void SetColumnSortDirection(int, int direction) { sortDirection_ = direction < 0 ? -1 : 1; }
    // Sorts the rows by the sorted column; rows keep their cells, types and selection.
    void Sort();

    // Scrolls the row to the top (as far as the list can scroll).
    void SetScrollPosition(int row);

    // The row under a point in the control's own pixels; -1 for none.
    int RowFromXY(int x, int y) const;
    // Opens the inline editor on a cell, as a click on an editable cell does.
    void EditCell(int row, int column);
    // The open inline editor; nullptr when no cell is being edited.
    QWidget* ActiveEditor() const;
    // Confirms the open inline editor as Return does (the edit, then CellAction and CellLostFocus);
    // nothing when no cell is being edited.
    void CommitEdit();

    // Events. x and y of CellClick are within the cell; of MouseDown within the control.
    EventHandler<bool(int x, int y)> MouseDown;                      // true swallows the click
    EventHandler<bool(int row, int column, int x, int y)> CellClick; // true: no selection or editing
    EventHandler<void(int row, int column)> CellGotFocus;
    EventHandler<bool(int row, int column, const QString& key)> CellKeyDown; // true swallows the key
    EventHandler<void(int row, int column)> CellAction;    // an edit confirmed with Return or Enter
    EventHandler<void(int row, int column)> CellLostFocus; // the inline editor closed
    EventHandler<void()> Change;                           // the selected row changed
    EventHandler<void()> DoubleClick;
    // g draws on the cell (0, 0 to g.Width(), g.Height()); false lets the list draw the selection
    // highlight over it. The text is drawn over it either way.
    EventHandler<bool(Graphics& g, int row, int column), ShowEscaped::Later> CellBackgroundPaint;

private:
    friend class ListTable;
    friend class ListDelegate;
    void CheckCell(int row, int column) const;
    QTableWidgetItem* ItemAt(int row, int column);
    void ApplyColumnWidths();
    void SelectionMaybeChanged();
    int EffectiveType(int row, int column) const;

    ListTable* table_;
    QString columnWidths_;
    std::vector<std::vector<int>> cellTypes_; // per row, per column
    std::vector<int> columnTypes_;
    int lastIndex_ = -1;
    int notifiedIndex_ = -1;
    int sortedColumn_ = -1;
    int sortDirection_ = 1;
};

} // namespace platform
