// Fuzz target: the input bytes are a form file. It is loaded, every control it yields is placed
// on a headless form from its class name and property bag, the placed controls are saved and
// written to a new file, and that file is loaded again. A violated invariant prints what it saw
// and aborts (a crash to libFuzzer, a failure to ctest).
//
// Invariants:
//  (a) nothing but a problem list comes out of FormFromJson: no exception, for any bytes;
//  (b) a loaded control whose class is unknown or not available in this build is refused with
//      error 429 and nothing else; a known one that refuses a stored value raises a run-time
//      error; no control is refused for its name, since a load never yields two controls the
//      form cannot tell apart;
//  (c) the written file loads with no problems, with the same title and the same controls
//      (class, name, geometry, the keys in order, the same values), and writing that load gives
//      the same bytes again.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

#include "formfile/FormFile.h"
#include "hosts/headless/HeadlessHost.h"
#include "library/ClassRegistry.h"
#include "library/Font.h"
#include "library/Picture.h"
#include "library/RuntimeError.h"

// Set by the replay driver (-v): print each loaded control and each problem.
bool gFuzzTrace = false;

namespace {

using namespace qv;

[[noreturn]] void Fail(const std::string& what, const std::string& detail = {}) {
    std::fprintf(stderr, "formfile_fuzz: invariant violated: %s\n%s%s", what.c_str(),
                 detail.c_str(), detail.empty() || detail.back() == '\n' ? "" : "\n");
    std::abort();
}

std::string Joined(const std::vector<String>& lines) {
    std::string out;
    for (const String& line : lines) out += "  " + ToUtf8(line) + "\n";
    return out;
}

// (a) FormFromJson, with anything it throws turned into a violation.
FormLoadResult Read(std::string_view bytes, const char* which) {
    try {
        return FormFromJson(bytes);
    } catch (const std::exception& e) {
        Fail(std::string("(a) FormFromJson threw on the ") + which + " file: " + e.what());
    } catch (...) {
        Fail(std::string("(a) FormFromJson threw a non-exception on the ") + which + " file");
    }
}

// Same subtype and value: objects by content, floating point bit for bit.
bool SameValue(const Variant& a, const Variant& b) {
    if (a.Type() != b.Type()) return false;
    if (const auto f = a.As<Font>()) return b.As<Font>() && f->SameAttributes(*b.As<Font>());
    if (const auto p = a.As<Picture>()) return b.As<Picture>() && *p == *b.As<Picture>();
    if (a.Type() == VarType::Single)
        return std::bit_cast<uint32_t>(a.ToSingle()) == std::bit_cast<uint32_t>(b.ToSingle());
    if (a.Type() == VarType::Double || a.Type() == VarType::Date)
        return std::bit_cast<uint64_t>(a.ToDouble()) == std::bit_cast<uint64_t>(b.ToDouble());
    if (a.IsObject()) return b.IsObject();
    return a == b;
}

// (c) What was loaded the second time is what was written.
void CheckSame(const FormDocument& got, const FormDocument& written, const std::string& file) {
    if (got.title != written.title) Fail("(c) the title changed on the way", file);
    if (got.controls.size() != written.controls.size())
        Fail("(c) " + std::to_string(written.controls.size()) + " controls written, " +
                 std::to_string(got.controls.size()) + " read back",
             file);
    for (size_t i = 0; i < got.controls.size(); ++i) {
        const FormControl &g = got.controls[i], &w = written.controls[i];
        const std::string which = "control " + std::to_string(i + 1) + " (" + ToUtf8(w.name) + ")";
        if (g.className != w.className || g.name != w.name)
            Fail("(c) " + which + " came back as " + ToUtf8(g.className) + " " + ToUtf8(g.name),
                 file);
        if (g.left != w.left || g.top != w.top || g.width != w.width || g.height != w.height)
            Fail("(c) " + which + " came back with another position or size", file);
        const auto& ge = g.properties.Entries();
        const auto& we = w.properties.Entries();
        if (ge.size() != we.size())
            Fail("(c) " + which + ": " + std::to_string(we.size()) + " keys written, " +
                     std::to_string(ge.size()) + " read back",
                 file);
        for (size_t k = 0; k < ge.size(); ++k)
            if (ge[k].key != we[k].key || !SameValue(ge[k].value, we[k].value))
                Fail("(c) " + which + ": key " + ToUtf8(we[k].key) + " came back as " +
                         ToUtf8(ge[k].key) + " or with another value",
                     file);
    }
}

void Run(std::string_view bytes) {
    const FormLoadResult first = Read(bytes, "fuzzed");
    if (gFuzzTrace)
        std::fprintf(stderr, "%zu controls, %zu problems\n%s", first.form.controls.size(),
                     first.problems.size(), Joined(first.problems).c_str());

    // (b) Place each control as an application would, then save what it keeps.
    headless::Container form;
    FormDocument written;
    written.title = first.form.title;
    for (const FormControl& c : first.form.controls) {
        if (gFuzzTrace)
            std::fprintf(stderr, "control %s %s, %zu keys\n", ToUtf8(c.className).c_str(),
                         ToUtf8(c.name).c_str(), c.properties.Entries().size());
        MemoryPropertyBag bag = c.properties;  // a control may read through a key more than once
        Control* control = nullptr;
        try {
            control = &form.Load(c.className, c.name, bag, c.width, c.height);
        } catch (const RuntimeError& e) {
            const ClassInfo* info = FindClass(c.className);
            const bool placeable = info && info->Available();
            if (!placeable && e.Number() != err::CannotCreateObject)
                Fail("(b) an unknown class " + ToUtf8(c.className) + " raised error " +
                     std::to_string(e.Number()) + " instead of 429");
            continue;  // a known class may refuse a stored value it cannot take
        } catch (const std::exception& e) {
            Fail("(b) placing " + ToUtf8(c.className) + " " + ToUtf8(c.name) + " threw " +
                 e.what());
        }
        FormControl& out = written.controls.emplace_back();
        out.className = c.className;
        out.name = c.name;
        out.left = c.left;
        out.top = c.top;
        const headless::Site& site = form.SiteOf(*control);
        out.width = site.Width();
        out.height = site.Height();
        try {
            form.Save(*control, out.properties);
        } catch (const std::exception& e) {
            Fail("(b) saving " + ToUtf8(c.name) + " threw " + e.what());
        }
    }

    // (c) Written, read again, written again.
    const std::string file = FormToJson(written);
    const FormLoadResult second = Read(file, "written");
    if (!second.problems.empty())
        Fail("(c) the written file loads with problems:\n" + Joined(second.problems), file);
    CheckSame(second.form, written, file);
    if (FormToJson(second.form) != file) Fail("(c) writing the loaded file again differs", file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Run(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
