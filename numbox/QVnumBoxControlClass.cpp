// The numeric box's entry in the class table.
#include "library/ClassRegistry.h"
#include "numbox/QVnumBoxControl.h"

namespace qv {

namespace {
constexpr MemberId kMembers[] = {
    {u"Value", 0},      {u"Text", -517},        {u"BackColor", -501}, {u"BorderStyle", -503},
    {u"Font", -512},    {u"ForeColor", -513},   {u"Enabled", -514},   {u"Appearance", -520},
    {u"Refresh", -550}, {u"ShowAboutBox", -552}};
}  // namespace

ClassInfo QVnumBoxControlClass() {
    return {u"QVnumBoxControl",
            u"_QVnumBoxControl",
            u"__QVnumBoxControl",
            kMembers,
            kStandardEventIds,
            [](Host& host) -> std::unique_ptr<Control> {
                return std::make_unique<QVnumBoxControl>(host);
            },
            [] { return &QVnumBoxControl::MemberTableOf(); }};
}

}  // namespace qv
