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
    readLog_.push_back(key);
    for (const auto& [failingKey, number] : failing_)
        if (failingKey == key) Raise(number, u"PropertyBag", {});
    const Entry* e = FindEntry(key);
    return e ? CloneObject(e->value) : defaultValue;
}

void MemoryPropertyBag::WriteProperty(const String& key, const Variant& value,
                                      const Variant& defaultValue) {
    writeLog_.push_back(key);
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
    for (Entry& e : entries_)
        if (e.key == key) return &e;
    return nullptr;
}

const MemoryPropertyBag::Entry* MemoryPropertyBag::FindEntry(const String& key) const {
    for (const Entry& e : entries_)
        if (e.key == key) return &e;
    return nullptr;
}

void MemoryPropertyBag::Store(const String& key, const Variant& value) {
    if (Entry* e = FindEntry(key))
        e->value = CloneObject(value);
    else
        entries_.push_back({key, CloneObject(value)});
}

}  // namespace qv
