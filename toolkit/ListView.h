// ListView: a report-style list view, one row per item, one text per column.
#pragma once

#include <string>
#include <vector>

#include "toolkit/WinControl.h"

namespace tk {

class ListView : public WinControl {
public:
    ListView(Component* owner, WinControl* parent, Rect bounds);

    void AddColumn(const std::string& caption, int width);
    // Appends a row; cells beyond the columns are ignored. Returns its index.
    int AddRow(const std::vector<std::string>& cells);
    void SetCell(int row, int column, const std::string& text);
    std::string Cell(int row, int column) const;
    void DeleteRow(int row);
    void Clear();
    int RowCount() const;
    int ColumnCount() const { return columns_; }

private:
    int columns_ = 0;
};

} // namespace tk
