#include "library/ItemList.h"

#include <algorithm>
#include <climits>

#include "library/CaseFold.h"

namespace qv {

const String& ItemList::Text(int32_t index) const {
    static const String none;
    return Valid(index) ? items_[static_cast<size_t>(index)].text : none;
}

int32_t ItemList::Data(int32_t index) const {
    return Valid(index) ? items_[static_cast<size_t>(index)].data : 0;
}

bool ItemList::SetText(int32_t index, String text) {
    if (!Valid(index)) return false;
    items_[static_cast<size_t>(index)].text = std::move(text);
    Changed();
    if (listener_) listener_->ItemChanged(index);
    return true;
}

bool ItemList::SetData(int32_t index, int32_t data) {
    if (!Valid(index)) return false;
    items_[static_cast<size_t>(index)].data = data;
    if (listener_) listener_->ItemChanged(index);
    return true;
}

int32_t ItemList::Insert(String text, int32_t at) {
    if (at == -1) at = Count();
    if (at < 0 || at > Count()) return -1;
    const bool append = at == Count();
    if (listener_) listener_->ItemsAboutToBeInserted(at, 1);
    items_.insert(items_.begin() + at, Item{std::move(text), 0});
    if (!append) Changed();  // positions after `at` moved; an append keeps the index's entries
    treeValid_ = false;
    if (selected_ >= at) ++selected_;
    newIndex_ = at;
    if (listener_) listener_->ItemsInserted(at, 1);
    return at;
}

bool ItemList::Remove(int32_t index) {
    if (!Valid(index)) return false;
    if (listener_) listener_->ItemsAboutToBeRemoved(index, 1);
    items_.erase(items_.begin() + index);
    Changed();
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
    if (newIndex_ == index)
        newIndex_ = -1;
    else if (newIndex_ > index)
        --newIndex_;
    if (listener_) listener_->ItemsRemoved(index, 1);
    return true;
}

void ItemList::Clear() {
    const int32_t count = Count();
    if (listener_ && count > 0) listener_->ItemsAboutToBeRemoved(0, count);
    items_.clear();
    items_.shrink_to_fit();
    Changed();
    selected_ = -1;
    newIndex_ = -1;
    if (listener_ && count > 0) listener_->ItemsRemoved(0, count);
}

bool ItemList::Select(int32_t index) {
    if (index < -1 || index >= Count()) return false;
    if (index == selected_) return true;
    selected_ = index;
    if (listener_) listener_->SelectionChanged(index);
    return true;
}

namespace {
// The first four folded units, the first in the highest bits, missing ones 0 (the least unit):
// heads sort as the texts do, equal texts have equal heads.
uint64_t HeadOf(StringView s) {
    uint64_t h = 0;
    for (size_t i = 0; i < 4; ++i) h = (h << 16) | (i < s.size() ? FoldedUnit(s, i) : 0u);
    return h;
}
}  // namespace

void ItemList::Changed() {
    indexed_ = 0;
    order_.clear();
    heads_.clear();
    treeValid_ = false;
}

void ItemList::EnsureIndex() const {
    const size_t n = items_.size();
    if (indexed_ == n && treeValid_) return;
    struct Entry {
        uint64_t head;
        int32_t position;
    };
    const auto before = [this](const Entry& a, const Entry& b) {
        if (a.head != b.head) return a.head < b.head;
        const int c = CompareFolded(items_[static_cast<size_t>(a.position)].text,
                                    items_[static_cast<size_t>(b.position)].text);
        return c != 0 ? c < 0 : a.position < b.position;
    };
    if (indexed_ < n) {
        // The appended items: sorted on their own, then merged with the entries already there.
        std::vector<Entry> entries;
        entries.reserve(n);
        for (size_t i = 0; i < order_.size(); ++i) entries.push_back({heads_[i], order_[i]});
        const auto old = static_cast<std::ptrdiff_t>(entries.size());
        for (size_t i = indexed_; i < n; ++i)
            entries.push_back({HeadOf(items_[i].text), static_cast<int32_t>(i)});
        std::sort(entries.begin() + old, entries.end(), before);
        std::inplace_merge(entries.begin(), entries.begin() + old, entries.end(), before);
        order_.resize(n);
        heads_.resize(n);
        for (size_t i = 0; i < n; ++i) {
            order_[i] = entries[i].position;
            heads_[i] = entries[i].head;
        }
        order_.shrink_to_fit();
        heads_.shrink_to_fit();
        indexed_ = n;
    }
    BuildTree();
}

void ItemList::BuildTree() const {
    leaves_ = 1;
    while (leaves_ < order_.size()) leaves_ *= 2;
    least_.assign(leaves_, INT32_MAX);
    greatest_.assign(leaves_, INT32_MIN);
    const auto leastOf = [this](size_t node) {
        if (node < leaves_) return least_[node];
        return node - leaves_ < order_.size() ? order_[node - leaves_] : INT32_MAX;
    };
    const auto greatestOf = [this](size_t node) {
        if (node < leaves_) return greatest_[node];
        return node - leaves_ < order_.size() ? order_[node - leaves_] : INT32_MIN;
    };
    for (size_t i = leaves_ - 1; i >= 1; --i) {
        least_[i] = std::min(leastOf(2 * i), leastOf(2 * i + 1));
        greatest_[i] = std::max(greatestOf(2 * i), greatestOf(2 * i + 1));
    }
    treeValid_ = true;
}

int32_t ItemList::LeastAbove(size_t node, size_t nodeLo, size_t nodeHi, size_t lo, size_t hi,
                             int32_t start) const {
    if (nodeHi <= lo || hi <= nodeLo) return INT32_MAX;
    if (nodeHi - nodeLo == 1) {  // a leaf: the entry itself
        const int32_t p = order_[nodeLo];
        return p > start ? p : INT32_MAX;
    }
    if (greatest_[node] <= start) return INT32_MAX;
    if (lo <= nodeLo && nodeHi <= hi && least_[node] > start) return least_[node];
    const size_t mid = (nodeLo + nodeHi) / 2;
    return std::min(LeastAbove(2 * node, nodeLo, mid, lo, hi, start),
                    LeastAbove(2 * node + 1, mid, nodeHi, lo, hi, start));
}

namespace {
// The first index in [a, b) for which `pred` is false, `pred` true on a prefix of the range.
template <class Pred>
size_t FirstWhereNot(size_t a, size_t b, Pred pred) {
    while (a < b) {
        const size_t mid = a + (b - a) / 2;
        if (pred(mid))
            a = mid + 1;
        else
            b = mid;
    }
    return a;
}
// The first index in [0, n) whose head is not below `key` (n when none): a binary search without
// branches on the comparisons, which a search of random keys would mispredict half the time.
size_t FirstHeadNotBelow(const uint64_t* heads, size_t n, uint64_t key) {
    if (n == 0) return 0;
    const uint64_t* base = heads;
    while (n > 1) {
        const size_t half = n / 2;
        base = base[half - 1] < key ? base + half : base;
        n -= half;
    }
    return static_cast<size_t>(base - heads) + (*base < key ? 1 : 0);
}
}  // namespace

template <class Compare>
int32_t ItemList::Find(int32_t start, uint64_t headLo, uint64_t headHi, bool refine,
                       Compare compare) const {
    if (items_.empty()) return -1;
    if (start < 0 || start >= Count()) start = -1;
    EnsureIndex();
    const size_t n = heads_.size();
    size_t lo = FirstHeadNotBelow(heads_.data(), n, headLo);
    // The matches are usually few: gallop from `lo` to bound the end before the binary search.
    size_t bound = lo, step = 1;
    while (bound < n && heads_[bound] <= headHi) {
        bound = lo + step < n ? lo + step : n;
        step *= 2;
    }
    const size_t from = lo + step / 4;
    size_t hi = headHi == UINT64_MAX
                    ? bound
                    : from + FirstHeadNotBelow(heads_.data() + from, bound - from, headHi + 1);
    if (refine) {
        // compare(text) < 0: the text sorts before the matches; 0: it matches; > 0: after them.
        const auto text = [this](size_t i) -> const String& {
            return items_[static_cast<size_t>(order_[i])].text;
        };
        lo = FirstWhereNot(lo, hi, [&](size_t i) { return compare(text(i)) < 0; });
        hi = FirstWhereNot(lo, hi, [&](size_t i) { return compare(text(i)) == 0; });
    }
    if (lo == hi) return -1;
    if (hi - lo <= 64) {
        // A few matches: a look at each costs less than the walk down the tree.
        int32_t after = INT32_MAX, least = INT32_MAX;
        for (size_t i = lo; i < hi; ++i) {
            const int32_t p = order_[i];
            least = std::min(least, p);
            if (p > start) after = std::min(after, p);
        }
        return after != INT32_MAX ? after : least;
    }
    const int32_t after = LeastAbove(1, 0, leaves_, lo, hi, start);
    if (after != INT32_MAX) return after;
    return LeastAbove(1, 0, leaves_, lo, hi, -1);  // wrapped: the first match from item 0
}

int32_t ItemList::FindPrefix(StringView text, int32_t start) const {
    const auto byText = [text](const String& item) { return CompareHeadFolded(item, text); };
    const uint64_t head = HeadOf(text);
    // Longer than a head: the matches share the prefix's head and their texts decide.
    if (text.size() >= 4) return Find(start, head, head, true, byText);
    // Shorter: the heads decide (the units after the prefix are free), unless the prefix holds
    // a unit 0, which a shorter item's padding imitates.
    const uint64_t free = text.empty() ? UINT64_MAX : (uint64_t{1} << (16 * (4 - text.size()))) - 1;
    const bool zero = std::find(text.begin(), text.end(), u'\0') != text.end();
    return Find(start, head, head | free, zero, byText);
}

int32_t ItemList::FindExact(StringView text, int32_t start) const {
    const uint64_t head = HeadOf(text);
    return Find(start, head, head, true,
                [text](const String& item) { return CompareFolded(item, text); });
}

size_t ItemList::IndexBytes() const {
    return order_.capacity() * sizeof(int32_t) + heads_.capacity() * sizeof(uint64_t) +
           (least_.capacity() + greatest_.capacity()) * sizeof(int32_t);
}

}  // namespace qv
