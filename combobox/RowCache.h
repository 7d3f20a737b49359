// RowCache: the records behind a combo box's items: a table of values by (column, row) with
// named columns, filled from a query's result set. Item i owns row i; the cache never has more
// rows than the list has items. Counts are 32-bit, so lists of any length keep their records.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "library/String.h"
#include "library/Variant.h"

namespace qv {

class RowCache {
  public:
    int32_t Rows() const { return rows_; }
    int32_t Columns() const { return static_cast<int32_t>(names_.size()); }
    const String& ColumnName(int32_t column) const { return names_[static_cast<size_t>(column)]; }

    // Empties the table and forgets the columns.
    void Clear();
    // Starts a fill: these columns, no rows.
    void SetColumns(std::vector<String> names);
    // Appends a row, moving the values out of `values` (missing ones are Empty, extra ones
    // dropped); an empty span appends an empty row.
    void AppendRow(std::span<Variant> values);

    // An item was inserted at `at` (or appended, at -1) and the list now holds `items`: with
    // columns, the table grows to the item count and an inserted item gets an empty row at its
    // place, the rows after it moving down.
    void ItemInserted(int32_t at, int32_t items);
    // Item `index` was removed and the list now holds `items`: its row goes (the rows after it
    // move up), and the table never keeps more rows than items. An emptied list clears it.
    void ItemRemoved(int32_t index, int32_t items);
    // The table grows to `rows` rows (never shrinks).
    void GrowTo(int32_t rows);

    // The column whose right-trimmed name equals `name` right-trimmed without regard to case;
    // the last one when several do, -1 when none.
    int32_t FindColumn(StringView name) const;
    // Appends a column with this name; every row gets an Empty cell.
    int32_t AddColumn(String name);

    // Empty outside the table.
    Variant Cell(int32_t column, int32_t row) const;
    // False (nothing changed) outside the table.
    bool SetCell(int32_t column, int32_t row, Variant value);

  private:
    size_t At(int32_t column, int32_t row) const {
        return static_cast<size_t>(row) * names_.size() + static_cast<size_t>(column);
    }
    std::vector<String> names_;
    std::vector<Variant> cells_;  // row after row, Columns() cells each
    int32_t rows_ = 0;
};

}  // namespace qv
