// Fuzzing the combo box's database lookup: the bytes choose a connection (its kind, which opens
// fail), a result (columns, rows of values, which reads, EOF tests and MoveNext calls fail), the
// box's settings (lock type, option, Trim, id field) and the typed text, then the user's keys and
// lookups. After each step: no error escaped, the list holds at most the rows the result had and
// never more records than items, ListIndex is -1 or an item, and every item's record reads.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "../tests/recording_connection.h"
#include "combobox/QVcomboBoxControl.h"
#include "fuzz_support.h"
#include "hosts/headless/HeadlessHost.h"

bool gFuzzTrace = false;

namespace {

using namespace qv_fuzz;
using qv_test::RecordingConnection;
using qv_test::Rows;

constexpr char16_t kOdd[16] = {u'ä', u'Ö',  u'ß',  u'\'', u'"', u';',  u'-',      u'%',
                               u'_', u'\\', u'\0', u' ',  u'é', u'東', u'\xD800', u'*'};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "lookup_fuzz: %s\n", what.c_str());
    std::abort();
}

Variant Value(ByteReader& in) {
    switch (in.Byte() % 6) {
        case 0:
            return Variant::Null();
        case 1:
            return int32_t{in.LongInt()};
        case 2:
            return static_cast<double>(in.LongInt()) / 7.0;
        case 3:
            return true;
        default:
            return in.Str();
    }
}

Rows Result(ByteReader& in) {
    Rows r;
    const size_t columns = in.Byte() % 5;
    const char16_t* names[] = {u"Name", u"Id", u"City", u"name"};
    for (size_t c = 0; c < columns; ++c)
        r.columns.push_back(c < 4 && in.Byte() % 4 ? names[c] : in.Str());
    const size_t rows = in.Byte() % 24;
    for (size_t i = 0; i < rows; ++i) {
        std::vector<Variant> row;
        for (size_t c = 0; c < columns; ++c) row.push_back(Value(in));
        r.rows.push_back(std::move(row));
    }
    for (uint8_t n = in.Byte() % 4; n > 0; --n)
        r.failingReads.insert({in.Byte() % 24, in.Byte() % 5});
    if (in.Byte() % 4 == 0) r.failMoveNextAt = in.Byte() % 24;
    if (in.Byte() % 4 == 0) r.failEofAt = in.Byte() % 24;
    return r;
}

void Check(qv::QVcomboBoxControl& box, size_t rows, const char* after) {
    const int32_t count = box.ListCount();
    if (count < 0 || static_cast<size_t>(count) > rows)
        Fail(std::string("more items than rows after ") + after);
    if (box.Cache().Rows() > count) Fail(std::string("more records than items after ") + after);
    const int32_t index = box.ListIndex();
    if (index < -1 || index >= count)
        Fail(std::string("ListIndex outside the list after ") + after);
    for (int32_t i = 0; i < count; ++i)
        for (int32_t c = 0; c < box.Cache().Columns(); ++c) (void)box.Item(c, i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in(data, size, kOdd);
    const char16_t* kinds[] = {qv::iid::RemoteConnection, qv::iid::AccessDatabase,
                               qv::iid::AccessConnection, u""};
    const char16_t* kind = kinds[in.Byte() % 4];
    const int failingOpens = in.Byte() % 3;
    const Rows rows = Result(in);
    qv::headless::Container form;
    form.SetClock(36000);
    auto& other = form.Add<qv::QVcomboBoxControl>(u"cboOther");
    auto& box = form.Add<qv::QVcomboBoxControl>(u"cboLookup", 2000, 300);
    const auto step = [&](const char* what, auto&& action) {
        if (gFuzzTrace) std::fprintf(stderr, "  %s\n", what);
        try {
            action();
        } catch (const qv::RuntimeError& e) {
            Fail(std::string(what) + " raised " + std::to_string(e.Number()) + ": " +
                 Printable(e.Description()));
        }
        Check(box, rows.rows.size(), what);
    };
    step("set-up", [&] {
        box.DataField(in.Byte() % 4 ? String(u"Name") : in.Str());
        box.DataIdField(in.Byte() % 3 ? String(u"Id") : String());
        box.SqlQueryString(in.Byte() % 4 ? String(u"SELECT * FROM T WHERE Name LIKE '{DataField}%'")
                                         : in.Str());
        box.ConnectionLockType(static_cast<int16_t>(in.Byte() % 5) - 1);
        box.ConnectionOption(static_cast<int16_t>(in.Byte() % 3) - 1);
        box.Trim(in.Byte() % 2);
        box.MustFitDataList(in.Byte() % 2);
        box.Connection(std::make_shared<RecordingConnection>(kind, rows, failingOpens));
    });
    while (in.More()) {
        switch (in.Byte() % 8) {
            case 0:
                step("focus", [&] { form.Focus(box); });
                break;
            case 1: {
                const String text = in.Str();
                step("type", [&] { form.Focus(box), form.Type(text); });
                break;
            }
            case 2:
                step("Enter", [&] { form.Focus(box), form.PressKey(Key::Return); });
                break;
            case 3:
                step("Down", [&] { form.Focus(box), form.PressKey(Key::Down); });
                break;
            case 4:
                step("Escape", [&] { form.Focus(box), form.PressKey(Key::Escape); });
                break;
            case 5:
                step("StartQuery", [&] { box.StartQuery(); });
                break;
            case 6:
                step("leave", [&] { form.Focus(other); });
                break;
            default:
                step("tick", [&] { form.AdvanceTime(0.4); });
                break;
        }
    }
    return 0;
}
