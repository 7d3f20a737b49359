#include "library/MemoryPropertyBag.h"

#include <algorithm>
#include <stdexcept>

namespace qv {

namespace {

Variant CloneObject(const Variant& v) {
    if (!v.IsObject()) return v;
    std::shared_ptr<Object> object = v.As<Object>();
    return object ? Variant(object->Clone()) : v;
}

}  // namespace

bool MemoryPropertyBag::EqualsDefault(const Variant& value, const Variant& defaultValue) {
    if (value.IsObject() || defaultValue.IsObject()) return false;
    if (value == defaultValue) return true;
    if (value.IsNumber() && defaultValue.IsNumber())
        return value.ToDouble() == defaultValue.ToDouble();
    return false;
}

Variant MemoryPropertyBag::ReadProperty(const String& key, const Variant& defaultValue) {
    if (keepLogs_) readLog_.push_back(key);
    for (const auto& [failingKey, number] : failing_)
        if (failingKey == key) Raise(number, u"PropertyBag", {});
    const Entry* e = FindEntry(key);
    return e ? CloneObject(e->value) : defaultValue;
}

void MemoryPropertyBag::WriteProperty(const String& key, const Variant& value,
                                      const Variant& defaultValue) {
    if (keepLogs_) writeLog_.push_back(key);
    if (omitDefaults_ && EqualsDefault(value, defaultValue)) {
        Remove(key);
        return;
    }
    Store(key, value);
}

void MemoryPropertyBag::Set(const String& key, const Variant& value) {
    Store(key, value);
}

Variant MemoryPropertyBag::Get(const String& key) const {
    const Entry* e = FindEntry(key);
    if (!e) throw std::out_of_range("MemoryPropertyBag: no key " + ToUtf8(key));
    return CloneObject(e->value);
}

bool MemoryPropertyBag::Has(const String& key) const {
    return FindEntry(key) != nullptr;
}

bool MemoryPropertyBag::Remove(const String& key) {
    index_.clear();  // positions after the removed entry move
    return std::erase_if(entries_, [&](const Entry& e) { return e.key == key; }) > 0;
}

void MemoryPropertyBag::FailReading(const String& key, int32_t errorNumber) {
    StopFailing(key);
    failing_.emplace_back(key, errorNumber);
}

void MemoryPropertyBag::StopFailing(const String& key) {
    std::erase_if(failing_, [&](const auto& f) { return f.first == key; });
}

std::vector<String> MemoryPropertyBag::Keys() const {
    std::vector<String> keys;
    for (const Entry& e : entries_) keys.push_back(e.key);
    return keys;
}

MemoryPropertyBag::Entry* MemoryPropertyBag::FindEntry(const String& key) {
    return const_cast<Entry*>(std::as_const(*this).FindEntry(key));
}

namespace {
constexpr size_t kIndexFrom = 16;  // below this many keys a scan is as quick and costs no memory
}

const MemoryPropertyBag::Entry* MemoryPropertyBag::FindEntry(const String& key) const {
    if (entries_.size() < kIndexFrom) {
        for (const Entry& e : entries_)
            if (e.key == key) return &e;
        return nullptr;
    }
    if (index_.empty())
        for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].key, i);
    const auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second];
}

void MemoryPropertyBag::Append(String key, const Variant& value) {
    entries_.push_back({std::move(key), CloneObject(value)});
    if (!index_.empty()) index_.emplace(entries_.back().key, entries_.size() - 1);
}

void MemoryPropertyBag::Store(const String& key, const Variant& value) {
    if (Entry* e = FindEntry(key)) {
        e->value = CloneObject(value);
        return;
    }
    entries_.push_back({key, CloneObject(value)});
    if (!index_.empty()) index_.emplace(key, entries_.size() - 1);
}

}  // namespace qv
