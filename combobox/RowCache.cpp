#include "combobox/RowCache.h"

#include "library/CaseFold.h"

namespace qv {

void RowCache::Clear() {
    names_.clear();
    cells_.clear();
    rows_ = 0;
}

void RowCache::SetColumns(std::vector<String> names) {
    names_ = std::move(names);
    cells_.clear();
    rows_ = 0;
}

void RowCache::AppendRow(std::span<Variant> values) {
    const size_t n = names_.size();
    for (size_t c = 0; c < n; ++c) {
        if (c < values.size())
            cells_.push_back(std::move(values[c]));
        else
            cells_.emplace_back();
    }
    ++rows_;
}

void RowCache::ItemInserted(int32_t at, int32_t items) {
    if (names_.empty()) return;
    if (at >= 0 && at < Rows()) {
        cells_.insert(cells_.begin() + static_cast<std::ptrdiff_t>(At(0, at)), names_.size(),
                      Variant());
        ++rows_;
    }
    GrowTo(items);
    if (Rows() > items) {
        rows_ = items;
        cells_.resize(At(0, rows_));
    }
}

void RowCache::ItemRemoved(int32_t index, int32_t items) {
    if (items <= 0) return Clear();
    if (index >= 0 && index < Rows()) {
        const auto first = cells_.begin() + static_cast<std::ptrdiff_t>(At(0, index));
        cells_.erase(first, first + static_cast<std::ptrdiff_t>(names_.size()));
        --rows_;
    }
    if (Rows() > items) {
        rows_ = items;
        cells_.resize(At(0, rows_));
    }
}

void RowCache::GrowTo(int32_t rows) {
    if (rows <= Rows()) return;
    rows_ = rows;
    cells_.resize(At(0, rows_));
}

int32_t RowCache::FindColumn(StringView name) const {
    const String wanted = TrimRightBlanks(name);
    int32_t found = -1;
    for (int32_t c = 0; c < Columns(); ++c)
        if (EqualsFolded(TrimRightBlanks(names_[static_cast<size_t>(c)]), wanted)) found = c;
    return found;
}

int32_t RowCache::AddColumn(String name) {
    // Every row gets an Empty cell at its end: the table is laid out again.
    const size_t old = names_.size();
    std::vector<Variant> cells;
    cells.reserve(static_cast<size_t>(rows_) * (old + 1));
    for (int32_t r = 0; r < rows_; ++r) {
        for (size_t c = 0; c < old; ++c)
            cells.push_back(std::move(cells_[static_cast<size_t>(r) * old + c]));
        cells.emplace_back();
    }
    cells_ = std::move(cells);
    names_.push_back(std::move(name));
    return Columns() - 1;
}

Variant RowCache::Cell(int32_t column, int32_t row) const {
    if (column < 0 || column >= Columns() || row < 0 || row >= Rows()) return Variant();
    return cells_[At(column, row)];
}

bool RowCache::SetCell(int32_t column, int32_t row, Variant value) {
    if (column < 0 || column >= Columns() || row < 0 || row >= Rows()) return false;
    cells_[At(column, row)] = std::move(value);
    return true;
}

}  // namespace qv
