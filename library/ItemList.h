// The items of a list widget: texts, 32-bit item data, the selected item and the last added one,
// with a combo box list's searches. Hosts show the list as a view of this model (never a copy of
// its texts) and hear of each change through a listener.
//
// Searches compare by Unicode simple case folding. Find-prefix and find-exact examine the items
// from start + 1 on and wrap around, so that item `start` comes last (start -1: from item 0).
// They run on an index of the items in folded order, brought up to date on the first search after
// a change (appended items are sorted and merged in; any other change rebuilds it): a search is
// two binary searches and a walk down a tree of item positions, which is one path when `start`
// is -1 or 0 or the list is in folded order, and at worst visits every match.
#pragma once

#include <cstdint>
#include <vector>

#include "library/String.h"

namespace qv {

class ItemList {
  public:
    // Told of every change; the "about to" calls come before the items change (as a Qt item
    // model must announce them), the others after.
    class Listener {
      public:
        virtual void ItemsAboutToBeInserted(int32_t /*first*/, int32_t /*count*/) {}
        virtual void ItemsAboutToBeRemoved(int32_t /*first*/, int32_t /*count*/) {}
        virtual void ItemsInserted(int32_t first, int32_t count) = 0;
        virtual void ItemsRemoved(int32_t first, int32_t count) = 0;
        virtual void ItemChanged(int32_t index) = 0;
        virtual void SelectionChanged(int32_t index) = 0;

      protected:
        ~Listener() = default;
    };
    void SetListener(Listener* listener) { listener_ = listener; }

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    bool Valid(int32_t index) const { return index >= 0 && index < Count(); }
    // An invalid index reads as an empty item.
    const String& Text(int32_t index) const;
    int32_t Data(int32_t index) const;
    // False (and nothing changed) for an invalid index.
    bool SetText(int32_t index, String text);
    bool SetData(int32_t index, int32_t data);

    // Inserts before `at`, or appends when `at` is -1; the new item's index, which becomes
    // NewIndex, or -1 (nothing changed) when `at` is outside -1..Count().
    int32_t Insert(String text, int32_t at = -1);
    bool Remove(int32_t index);
    void Clear();

    int32_t Selected() const { return selected_; }
    // -1 clears the selection; false (nothing changed) outside -1..Count()-1.
    bool Select(int32_t index);
    int32_t NewIndex() const { return newIndex_; }

    // The first item, from start + 1 on and wrapping around, whose text begins with / equals
    // `text` without regard to case; -1 when none.
    int32_t FindPrefix(StringView text, int32_t start) const;
    int32_t FindExact(StringView text, int32_t start) const;

    // Bytes the search index holds (beside the items' own).
    size_t IndexBytes() const;

  private:
    struct Item {
        String text;
        int32_t data = 0;
    };
    void Changed();  // every change but an append
    void EnsureIndex() const;
    void BuildTree() const;
    // The least position above `start` among the index entries [lo, hi); INT32_MAX when none.
    int32_t LeastAbove(size_t node, size_t nodeLo, size_t nodeHi, size_t lo, size_t hi,
                       int32_t start) const;
    // The first match from start + 1 on among the entries whose heads lie in [headLo, headHi]
    // and, when `refine` is set, for which compare(text) is 0 (< 0 sorts before the matches).
    template <class Compare>
    int32_t Find(int32_t start, uint64_t headLo, uint64_t headHi, bool refine,
                 Compare compare) const;

    std::vector<Item> items_;
    int32_t selected_ = -1;
    int32_t newIndex_ = -1;
    Listener* listener_ = nullptr;

    // The index: item positions in folded order (ties by position), valid for the first
    // `indexed_` items, with the first four folded units of each (its head, so that most
    // comparisons need not reach the text); and a tree over it keeping the least and greatest
    // position per inner node (the leaves are the entries themselves).
    mutable std::vector<int32_t> order_;
    mutable std::vector<uint64_t> heads_;
    mutable size_t indexed_ = 0;
    mutable bool treeValid_ = false;
    mutable size_t leaves_ = 0;
    mutable std::vector<int32_t> least_, greatest_;
};

}  // namespace qv
