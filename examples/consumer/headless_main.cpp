// Types into a text box and a numeric box on the headless host; exits 0 when both did what they
// should.
#include <cstdio>

#include "hosts/headless/HeadlessHost.h"
#include "numbox/QVnumBoxControl.h"
#include "txtbox/QVtxtBoxControl.h"

int main() {
    qv::headless::Container form;
    auto& name = form.Add<qv::QVtxtBoxControl>(u"txtName");
    name.AllUcase(true);
    form.Focus(name);
    form.Type(u"anna ");
    auto& price = form.Add<qv::QVnumBoxControl>(u"numPrice");
    form.Focus(price);
    form.Type(u"1234,5");
    form.Leave();
    const bool ok = name.Text().ToString() == u"ANNA" && price.Text().ToString() == u"1.234,50";
    std::puts(ok ? "headless: ok" : "headless: unexpected text");
    return ok ? 0 : 1;
}
