// Types into a text box on the headless host; exits 0 when the box did what it should.
#include <cstdio>

#include "hosts/headless/HeadlessHost.h"
#include "txtbox/QVtxtBoxControl.h"

int main() {
    qv::headless::Container form;
    auto& name = form.Add<qv::QVtxtBoxControl>(u"txtName");
    name.AllUcase(true);
    form.Focus(name);
    form.Type(u"anna ");
    form.Leave();
    const bool ok = name.Text().ToString() == u"ANNA";
    std::puts(ok ? "headless: ok" : "headless: unexpected text");
    return ok ? 0 : 1;
}
