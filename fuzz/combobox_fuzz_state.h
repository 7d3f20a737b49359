// The observable state of a combo box, compared and printed for the fuzz target's reports.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "combobox/QVcomboBoxControl.h"
#include "fuzz/fuzz_support.h"
#include "library/Variant.h"

namespace qv_fuzz {

using namespace qv;

// The properties the target reads and compares, the writable ones first (written by late
// binding), each with the kind of value a write makes (see Reader::Make): t a text value, x a
// list index, l long, i small integer, s string, n a column name, o a connection object,
// b boolean; '-' read only.
struct Prop {
    const char16_t* name;
    char kind;
};
// clang-format off
inline constexpr Prop kProps[] = {
    {u"Text", 't'}, {u"ListIndex", 'x'}, {u"MinLen", 'l'}, {u"MustFitDataList", 'b'},
    {u"MustHaveValue", 'b'}, {u"Trim", 'b'}, {u"ForbiddenCharacters", 's'}, {u"Locked", 'b'},
    {u"Enabled", 'b'}, {u"DropDownStyle", 'b'}, {u"Button1Visible", 'b'},
    {u"Button2Visible", 'b'}, {u"SelectedOnGotFocus", 'b'}, {u"MaxLength", 'i'},
    {u"DataField", 'n'}, {u"DataIdField", 'n'}, {u"SqlQueryString", 's'}, {u"Connection", 'o'},
    {u"UseWarningColor", 'b'}, {u"SelStart", 'l'}, {u"SelLength", 'l'},
    {u"ListCount", '-'}, {u"ListBoxDropped", '-'}, {u"NewIndex", '-'}, {u"BackColor", '-'}};
// clang-format on
inline constexpr size_t kPropCount = std::size(kProps);
inline constexpr size_t kWritableCount = 21;
static_assert(kProps[kWritableCount - 1].kind != '-' && kProps[kWritableCount].kind == '-');

struct Snapshot {
    std::vector<String> items{};
    std::vector<int32_t> data{};
    int32_t listIndex = -1;
    String field;
    int32_t selStart = 0, selLength = 0;
    bool dropped = false, focus = false, timer = false;
    int32_t rows = 0, columns = 0;
    // With a deep snapshot: the column names and the cells, row by row.
    std::vector<String> names{};
    std::vector<Variant> cells{};
    std::vector<Variant> props{};  // kProps in order
};

inline Snapshot Take(QVcomboBoxControl& b, bool deep) {
    // The getters looked up once: lookups by name would take much of the fuzzer's time.
    static const std::vector<const Member*> getters = [] {
        std::vector<const Member*> g;
        for (const Prop& p : kProps) g.push_back(QVcomboBoxControl::MemberTableOf().Find(p.name));
        return g;
    }();
    Snapshot s;
    const ItemList& items = b.ListBox().Items();
    s.items.reserve(static_cast<size_t>(items.Count()));
    for (int32_t i = 0; i < items.Count(); ++i) {
        s.items.push_back(items.Text(i));
        s.data.push_back(items.Data(i));
    }
    s.listIndex = b.ListIndex();
    s.field = b.TextBox().Text();
    s.selStart = b.TextBox().SelStart();
    s.selLength = b.TextBox().SelLength();
    s.dropped = b.ListBoxDropped();
    s.focus = b.HasFocus();
    s.timer = b.Timer().Enabled();
    const RowCache& cache = b.Cache();
    s.rows = cache.Rows();
    s.columns = cache.Columns();
    if (deep) {
        for (int32_t c = 0; c < s.columns; ++c) s.names.push_back(cache.ColumnName(c));
        for (int32_t r = 0; r < s.rows; ++r)
            for (int32_t c = 0; c < s.columns; ++c) s.cells.push_back(cache.Cell(c, r));
    }
    s.props.reserve(kPropCount);
    for (const Member* m : getters) s.props.push_back(m->get(b));
    return s;
}

// The name of the first observable difference, "" when there is none (cells only when both
// snapshots are deep).
inline std::string Difference(const Snapshot& a, const Snapshot& b) {
    if (a.items != b.items) return "the item texts";
    if (a.data != b.data) return "the item data";
    if (a.listIndex != b.listIndex) return "ListIndex";
    if (a.field != b.field) return "the field's text";
    if (a.selStart != b.selStart || a.selLength != b.selLength) return "the field's selection";
    if (a.dropped != b.dropped) return "the dropped state";
    if (a.focus != b.focus) return "HasFocus";
    if (a.timer != b.timer) return "the timer";
    if (a.rows != b.rows || a.columns != b.columns) return "the cache's rows or columns";
    if (a.names != b.names) return "the cache's column names";
    if (a.cells.size() == b.cells.size())
        for (size_t i = 0; i < a.cells.size(); ++i)
            if (!SameVariant(a.cells[i], b.cells[i])) return "a cache cell";
    for (size_t i = 0; i < kPropCount; ++i)
        if (!SameVariant(a.props[i], b.props[i])) return ToUtf8(kProps[i].name);
    return {};
}

[[noreturn]] inline void Fail(const std::string& what, const std::string& step,
                              const Snapshot& before, const Snapshot* after) {
    std::fprintf(stderr, "combobox_fuzz: invariant violated: %s\n  step: %s\n", what.c_str(),
                 step.c_str());
    for (const Snapshot* s : {&before, after}) {
        if (!s) continue;
        std::fprintf(stderr,
                     "  %s: field \"%s\" sel %d+%d ListIndex %d dropped %d focus %d timer %d "
                     "cache %d x %d\n   items (%zu):",
                     s == &before ? "before" : "after", Printable(s->field).c_str(), s->selStart,
                     s->selLength, s->listIndex, s->dropped, s->focus, s->timer, s->rows,
                     s->columns, s->items.size());
        const size_t shown = std::min<size_t>(s->items.size(), 24);
        for (size_t i = 0; i < shown; ++i)
            std::fprintf(stderr, " \"%s\"/%d", Printable(s->items[i]).c_str(), s->data[i]);
        if (shown < s->items.size()) std::fprintf(stderr, " ...");
        std::fprintf(stderr, "\n   ");
        for (size_t i = 0; i < kPropCount; ++i)
            std::fprintf(stderr, " %s=%s", ToUtf8(kProps[i].name).c_str(),
                         Show(s->props[i]).c_str());
        std::fprintf(stderr, "\n");
    }
    std::abort();
}

}  // namespace qv_fuzz
