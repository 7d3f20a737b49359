// The combo box's entry in the class table.
#include "combobox/QVcomboBoxControl.h"
#include "library/ClassRegistry.h"

namespace qv {

namespace {
constexpr MemberId kMembers[] = {
    {u"Text", 0},          {u"BackColor", -501}, {u"BorderStyle", -504},
    {u"Font", -512},       {u"ForeColor", -513}, {u"Enabled", -514},
    {u"Appearance", -520}, {u"Refresh", -550},   {u"ShowAboutBox", -552}};
constexpr MemberId kEvents[] = {
    {u"Click", -600},  {u"DblClick", -601},  {u"KeyDown", -602},   {u"KeyPress", -603},
    {u"KeyUp", -604},  {u"MouseDown", -605}, {u"MouseMove", -606}, {u"MouseUp", -607},
    {u"Change", 1},    {u"DropDown", 2},     {u"Button1Click", 3}, {u"Button2Click", 4},
    {u"ItemFound", 5}, {u"ItemNotFound", 6}, {u"ListClick", 7},    {u"ValidationCheck", 8}};
}  // namespace

ClassInfo QVcomboBoxControlClass() {
    return {u"QVcomboBoxControl",
            u"_QVcomboBoxControl",
            u"__QVcomboBoxControl",
            kMembers,
            kEvents,
            [](Host& host) -> std::unique_ptr<Control> {
                return std::make_unique<QVcomboBoxControl>(host);
            },
            [] { return &QVcomboBoxControl::MemberTableOf(); }};
}

}  // namespace qv
