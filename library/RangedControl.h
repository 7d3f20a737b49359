// RangedControl: a data-entry control whose value may be held to a range (the numeric and the
// date box): CheckRange, the two bounds and whether each bound itself belongs to the range.
#pragma once

#include "library/DataEntryControl.h"

namespace qv {

template <class T>
struct ValueRange {
    bool check = false;
    bool includeSmallest = true;
    bool includeLargest = true;
    T smallest{};
    T largest{};

    // Whether `v` lies in the range; always true while the range is not checked. The bounds are
    // not compared with each other: a smallest value above the largest admits nothing.
    bool Admits(const T& v) const {
        if (!check) return true;
        const bool below = includeSmallest ? v < smallest : v <= smallest;
        const bool above = includeLargest ? v > largest : v >= largest;
        return !below && !above;
    }
};

template <class T>
class RangedControl : public DataEntryControl {
  public:
    bool CheckRange() const { return mRange.check; }
    void CheckRange(bool New_CheckRange) { Store(mRange.check, New_CheckRange, u"CheckRange"); }
    bool IncludeLargestValueToRange() const { return mRange.includeLargest; }
    void IncludeLargestValueToRange(bool v) {
        Store(mRange.includeLargest, v, u"IncludeLargestValueToRange");
    }
    bool IncludeSmallestValueToRange() const { return mRange.includeSmallest; }
    void IncludeSmallestValueToRange(bool v) {
        Store(mRange.includeSmallest, v, u"IncludeSmallestValueToRange");
    }
    T LargestValue() const { return mRange.largest; }
    void LargestValue(T New_LargestValue) {
        Store(mRange.largest, Bound(New_LargestValue), u"LargestValue");
    }
    T SmallestValue() const { return mRange.smallest; }
    void SmallestValue(T New_SmallestValue) {
        Store(mRange.smallest, Bound(New_SmallestValue), u"SmallestValue");
    }

  protected:
    using DataEntryControl::DataEntryControl;

    // The bound a write stores; raises error 380 for a value the control refuses as a bound.
    virtual T Bound(const T& value) const { return value; }

    ValueRange<T> mRange;

  private:
    template <class V>
    void Store(V& member, const V& value, const char16_t* name) {
        member = value;
        this->RecolourAndNotice(name);
    }
};

}  // namespace qv
