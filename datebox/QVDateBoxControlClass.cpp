// The date box's entry in the class table.
#include "datebox/QVDateBoxControl.h"
#include "library/ClassRegistry.h"

namespace qv {

namespace {
// The date box has no default member; its Refresh is numbered by the library with its other
// members when the class is built.
constexpr MemberId kMembers[] = {
    {u"Text", -517},      {u"BackColor", -501}, {u"BorderStyle", -504}, {u"Font", -512},
    {u"ForeColor", -513}, {u"Enabled", -514},   {u"Appearance", -520},  {u"ShowAboutBox", -552}};
}  // namespace

ClassInfo QVDateBoxControlClass() {
    return {u"QVDateBoxControl",
            u"_QVDateBoxControl",
            u"__QVDateBoxControl",
            kMembers,
            kStandardEventIds,
            [](Host& host) -> std::unique_ptr<Control> {
                return std::make_unique<QVDateBoxControl>(host);
            },
            [] { return &QVDateBoxControl::MemberTableOf(); }};
}

}  // namespace qv
