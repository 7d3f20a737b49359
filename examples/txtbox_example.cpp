// A text box on the headless host, typed into as a user would: prints each event the control
// raises and the background colour after every step.
#include <cstdio>
#include <string>

#include "hosts/headless/HeadlessHost.h"
#include "txtbox/QVtxtBoxControl.h"

namespace {

std::string Hex(qv::Color c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", static_cast<unsigned>(c));
    return buf;
}

std::string ColourName(const qv::QVtxtBoxControl& box, qv::Color c) {
    if (c == box.FocusColor()) return "FocusColor";
    if (c == box.ErrorColor()) return "ErrorColor";
    if (c == box.WarningColor()) return "WarningColor";
    if (c == box.DisabledColor()) return "DisabledColor";
    if (c == box.BackColor()) return "BackColor";
    return Hex(c);
}

std::string Show(const qv::Variant& v) {
    if (v.IsNull()) return "Null";
    if (v.IsString()) return "\"" + qv::ToUtf8(v.ToString()) + "\"";
    return qv::ToUtf8(v.ToString());
}

void Step(qv::headless::Container& form, qv::QVtxtBoxControl& box) {
    const qv::Color c = form.SiteOf(box).BackColor();
    std::printf("  -> background %s (%s), Text = %s\n\n", ColourName(box, c).c_str(),
                Hex(c).c_str(), Show(box.Text()).c_str());
}

}  // namespace

int main() {
    qv::headless::Container form;
    auto& name = form.Add<qv::QVtxtBoxControl>(u"txtName");
    auto& city = form.Add<qv::QVtxtBoxControl>(u"txtCity");
    name.UseWarningColor(true);

    name.SetEventListener([&](qv::StringView event, std::span<const qv::Variant> args) {
        std::string line = "  txtName_" + qv::ToUtf8(event) + "(";
        for (size_t i = 0; i < args.size(); ++i) line += (i ? ", " : "") + Show(args[i]);
        std::printf("%s)\n", (line).c_str());
    });
    // The application's own rule: a name must not be a single letter.
    name.events.ValidationCheck = [&](bool& ValueOkay) {
        if (ValueOkay && qv::TrimBlanks(name.Field(name.ActiveFieldIndex()).Text()).size() == 1) {
            ValueOkay = false;
            std::printf("    (the application overrules: a one-letter name is not okay)\n");
        }
    };

    std::printf("Focus enters txtName\n");
    form.Focus(name);
    Step(form, name);

    std::printf("The user types \"j\"\n");
    form.Type(u"j");
    Step(form, name);

    std::printf("The user types \"ane doe  \"\n");
    form.Type(u"ane doe  ");
    Step(form, name);

    std::printf("The user leaves txtName for txtCity\n");
    form.Focus(city);
    Step(form, name);

    std::printf("The application empties txtName (it must have a value)\n");
    name.Text(qv::Variant(qv::String()));
    Step(form, name);

    std::printf("CheckValueNow returns %s\n", name.CheckValueNow() ? "True" : "False");
    return 0;
}
