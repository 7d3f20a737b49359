// The text box's entry in the class table.
#include "library/ClassRegistry.h"
#include "txtbox/QVtxtBoxControl.h"

namespace qv {

namespace {
constexpr MemberId kMembers[] = {
    {u"Text", 0},          {u"BackColor", -501}, {u"BorderStyle", -503},
    {u"Font", -512},       {u"ForeColor", -513}, {u"Enabled", -514},
    {u"Appearance", -520}, {u"Refresh", -550},   {u"ShowAboutBox", -552}};
}  // namespace

ClassInfo QVtxtBoxControlClass() {
    return {u"QVtxtBoxControl",
            u"_QVtxtBoxControl",
            u"__QVtxtBoxControl",
            kMembers,
            kStandardEventIds,
            [](Host& host) -> std::unique_ptr<Control> {
                return std::make_unique<QVtxtBoxControl>(host);
            },
            [] { return &QVtxtBoxControl::MemberTableOf(); }};
}

}  // namespace qv
