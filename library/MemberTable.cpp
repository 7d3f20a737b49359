#include "library/MemberTable.h"

namespace qv {

namespace {

char16_t AsciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

bool SameNameNoCase(StringView a, const char16_t* b) {
    size_t i = 0;
    for (; i < a.size(); ++i)
        if (b[i] == 0 || AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return b[i] == 0;
}

}  // namespace

const Member* MemberTable::Find(StringView name) const {
    for (const Member& m : members_)
        if (m.name && SameNameNoCase(name, m.name)) return &m;
    return nullptr;
}

const Member* MemberTable::Find(int32_t dispId, MemberKind kind) const {
    for (const Member& m : members_)
        if (m.dispId == dispId && m.kind == kind) return &m;
    return nullptr;
}

}  // namespace qv
