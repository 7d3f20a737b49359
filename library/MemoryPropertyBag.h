// An in-memory property store: for hosts, form files, tests and tools.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "library/PropertyBag.h"
#include "library/RuntimeError.h"

namespace qv {

// Keeps each value with its subtype under a case-sensitive key, in the order the keys were first
// stored. Objects are cloned when stored and again when handed out, so neither side can change
// the other's copy.
//
// WriteProperty leaves out a value equal to its default (and forgets an earlier value of that
// key) unless constructed with omitDefaults = false. Equal means: the same subtype and value, or
// two numbers (Booleans included) that are numerically equal, or two equal strings; objects are
// always stored.
class MemoryPropertyBag final : public PropertyBag {
  public:
    struct Entry {
        String key;
        Variant value;
    };

    // `keepLogs` false: no read or write log (a bag that lives with a form, read many times).
    explicit MemoryPropertyBag(bool omitDefaults = true, bool keepLogs = true)
        : omitDefaults_(omitDefaults), keepLogs_(keepLogs) {}

    // Raises the error chosen with FailReading for that key.
    Variant ReadProperty(const String& key, const Variant& defaultValue) override;
    void WriteProperty(const String& key, const Variant& value,
                       const Variant& defaultValue) override;

    // Stores the value as given, never omitted (for setting up a test).
    void Set(const String& key, const Variant& value);
    // Set for a key the bag does not hold (a reader that has checked): no look-up.
    void Append(String key, const Variant& value);
    // The stored value (objects cloned); std::out_of_range when absent.
    Variant Get(const String& key) const;
    bool Has(const String& key) const;
    // True when the key was there.
    bool Remove(const String& key);
    void Clear() {
        entries_.clear();
        index_.clear();
    }

    // From now on ReadProperty of `key` raises error `errorNumber`, stored or not.
    void FailReading(const String& key, int32_t errorNumber = err::TypeMismatch);
    void StopFailing(const String& key);

    const std::vector<Entry>& Entries() const { return entries_; }
    std::vector<String> Keys() const;
    // Keys in the order ReadProperty and WriteProperty were called for them (omitted writes
    // included), for tests that pin the order of a control's reads and writes.
    const std::vector<String>& ReadLog() const { return readLog_; }
    const std::vector<String>& WriteLog() const { return writeLog_; }
    void ClearLogs() {
        readLog_.clear();
        writeLog_.clear();
    }

    // The equality WriteProperty uses to leave out defaults.
    static bool EqualsDefault(const Variant& value, const Variant& defaultValue);

  private:
    Entry* FindEntry(const String& key);
    const Entry* FindEntry(const String& key) const;
    void Store(const String& key, const Variant& value);

    bool omitDefaults_;
    bool keepLogs_;
    std::vector<Entry> entries_;
    // Positions by key once the bag holds more than a few keys (a form file may hold thousands
    // for one control); empty until then, and after a removal until the next look-up.
    mutable std::unordered_map<String, size_t> index_;
    std::vector<std::pair<String, int32_t>> failing_;
    std::vector<String> readLog_;
    std::vector<String> writeLog_;
};

}  // namespace qv
