#include "combobox/RowCache.h"

#include "library/CaseFold.h"

namespace qv {

void RowCache::Clear() {
    names_.clear();
    rows_.clear();
}

void RowCache::SetColumns(std::vector<String> names) {
    names_ = std::move(names);
    rows_.clear();
}

void RowCache::AppendRow(std::vector<Variant> values) {
    values.resize(names_.size());
    rows_.push_back(std::move(values));
}

void RowCache::ItemInserted(int32_t at, int32_t items) {
    if (names_.empty()) return;
    if (at >= 0 && at < Rows())
        rows_.insert(rows_.begin() + at, std::vector<Variant>(names_.size()));
    GrowTo(items);
    if (Rows() > items) rows_.resize(static_cast<size_t>(items));
}

void RowCache::ItemRemoved(int32_t index, int32_t items) {
    if (items <= 0) return Clear();
    if (index >= 0 && index < Rows()) rows_.erase(rows_.begin() + index);
    if (Rows() > items) rows_.resize(static_cast<size_t>(items));
}

void RowCache::GrowTo(int32_t rows) {
    if (rows > Rows()) rows_.resize(static_cast<size_t>(rows), std::vector<Variant>(names_.size()));
}

int32_t RowCache::FindColumn(StringView name) const {
    const String wanted = TrimRightBlanks(name);
    int32_t found = -1;
    for (int32_t c = 0; c < Columns(); ++c)
        if (EqualsFolded(TrimRightBlanks(names_[static_cast<size_t>(c)]), wanted)) found = c;
    return found;
}

int32_t RowCache::AddColumn(String name) {
    names_.push_back(std::move(name));
    for (auto& row : rows_) row.emplace_back();
    return Columns() - 1;
}

Variant RowCache::Cell(int32_t column, int32_t row) const {
    if (column < 0 || column >= Columns() || row < 0 || row >= Rows()) return Variant();
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

bool RowCache::SetCell(int32_t column, int32_t row, Variant value) {
    if (column < 0 || column >= Columns() || row < 0 || row >= Rows()) return false;
    rows_[static_cast<size_t>(row)][static_cast<size_t>(column)] = std::move(value);
    return true;
}

}  // namespace qv
