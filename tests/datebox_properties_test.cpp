// The date box's properties (defaults, conversions, DateFormat, separators, bounds, validation,
// colours, the visible field, layout) and its persistence (round trip, damaged stores).
#include "datebox_test_support.h"
#include "library/MemoryPropertyBag.h"

namespace datebox_test {
namespace {

using qv::Color;
using qv::Flat3d;
using qv::MemoryPropertyBag;
using qv::NoneFixedSingle;
using DateBoxProperties = DateBoxTest;
const String kNull = u"<Null>";

TEST_F(DateBoxProperties, NewControlHasItsDefaults) {
    // clang-format off
    const std::pair<const char16_t*, const char16_t*> expected[] = {
        {u"Appearance", u"1"}, {u"BorderStyle", u"1"}, {u"CheckRange", u"False"}, {u"DateFormat", u"0"},
        {u"IncludeLargestValueToRange", u"True"}, {u"IncludeSmallestValueToRange", u"True"}, {u"LargestValue", u"2099-12-31"},
        {u"MaxLength", u"10"}, {u"MustHaveValue", u"True"}, {u"SelectedOnGotFocus", u"False"}, {u"SeparatorDMY", u"."},
        {u"SeparatorMDY", u"/"}, {u"SeparatorYMD", u"-"}, {u"SmallestValue", u"1900-01-01"}, {u"UseWarningColor", u"False"}};
    // clang-format on
    for (const auto& [name, value] : expected)
        EXPECT_EQ(Show(box.GetProperty(name)), value) << qv::ToUtf8(name);
    EXPECT_EQ(Reads(box), (Strings{kNull, kNull, kNull, kNull, u""}));
}

TEST(DateBoxConversions, DateWritesShowTheDateInTheCurrentLayoutAndBadWritesRaise380) {
    // clang-format off
    const std::tuple<DateFmt, const char16_t*, Variant, const char16_t*> cases[] = {  // shown: nullptr refused
        {DateFmt::DMY, u"DateDMY", u"05.12.2024", u"05.12.2024"}, {DateFmt::YMD, u"DateDMY", u"05.12.2024", u"2024-12-05"},
        {DateFmt::MDY, u"DateYMD", u"2024-12-05", u"12/05/2024"}, {DateFmt::DMY, u"DateMDY", u"12/05/2024", u"05.12.2024"},
        {DateFmt::YMD, u"DDate", DateSerial(2024, 12, 5), u"2024-12-05"}, {DateFmt::DMY, u"DDate", u"2024-12-05", u"05.12.2024"},
        {DateFmt::MDY, u"DateMDY", u"02/29/2000", u"02/29/2000"}, {DateFmt::DMY, u"DateDMY", u"5.12.2024", nullptr},
        {DateFmt::DMY, u"DateDMY", u"31.04.2024", nullptr}, {DateFmt::DMY, u"DateDMY", u"29.02.1900", nullptr},
        {DateFmt::DMY, u"DateYMD", u"2100-01-01", nullptr}, {DateFmt::DMY, u"DDate", DateSerial(1899, 12, 31), nullptr},
        {DateFmt::DMY, u"DDate", u"1900-02-29", nullptr}, {DateFmt::DMY, u"DDate", u"soon", nullptr},
        {DateFmt::DMY, u"Text", std::make_shared<qv::Font>(), nullptr}, {DateFmt::DMY, u"Appearance", 2, nullptr},
        {DateFmt::DMY, u"BorderStyle", -1, nullptr}, {DateFmt::DMY, u"SmallestValue", DateSerial(1899, 12, 31), nullptr},
        {DateFmt::DMY, u"LargestValue", DateSerial(2100, 1, 1), nullptr}};
    // clang-format on
    for (const auto& [format, property, value, shown] : cases) {
        Container f;
        auto& b = f.Add<QVDateBoxControl>(u"dt");
        b.DateFormat(format);
        b.DDate(DateSerial(2000, 1, 1));
        const String before = FieldsText(b);
        f.ClearPropertyChanges();
        const int32_t error = ErrorOf([&, p = property, v = value] { b.LetProperty(p, v); });
        EXPECT_EQ(
            std::tuple(error, FieldsText(b), Notices(f)),
            shown ? std::tuple(0, String(shown), kDateNotices) : std::tuple(380, before, Names{}))
            << qv::ToUtf8(property) << " " << (shown ? qv::ToUtf8(shown) : "refused");
    }
}

TEST_F(DateBoxProperties, ReadsJoinDayMonthAndYearInTheNamedLayoutAndDateFormatRewritesTheText) {
    box.DateFormat(DateFmt::YMD);
    box.Text(u"2024-12-05");
    EXPECT_EQ(Reads(box),
              (Strings{u"2024-12-05", u"05.12.2024", u"12/05/2024", u"2024-12-05", u"2024-12-05"}));
    form.ClearPropertyChanges();
    box.SeparatorMDY(u"-+");  // the first character, for later reads; the text stays
    EXPECT_EQ(Strings({box.SeparatorMDY(), Reads(box)[2], FieldsText(box)}),
              Strings({u"-", u"12-05-2024", u"2024-12-05"}));
    box.DateFormat(DateFmt::DMY);
    EXPECT_EQ(std::pair(FieldsText(box), Notices(form)),
              std::pair(String(u"05.12.2024"), Names{u"SeparatorMDY", u"DateFormat"}));
    form.ClearPropertyChanges();
    for (const Variant& bad : {Variant(3), Variant(-1), Variant(u"ymd")})
        EXPECT_EQ(ErrorOf([&] { box.LetProperty(u"DateFormat", bad); }), 380);
    EXPECT_EQ(std::tuple(box.DateFormat(), FieldsText(box), Notices(form)),
              std::tuple(DateFmt::DMY, String(u"05.12.2024"), Names{}));
    box.Text(u"05.1");
    EXPECT_EQ(Reads(box), (Strings{kNull, kNull, kNull, kNull, u"05.1"}));
    box.DateFormat(DateFmt::MDY);  // an incomplete date is emptied
    EXPECT_EQ(FieldsText(box), u"");
}

TEST_F(DateBoxProperties, BoundsTakeTheLimitsAndAreNotComparedWithEachOther) {
    form.ClearPropertyChanges();
    box.LargestValue(DateSerial(1950, 6, 1));
    box.SmallestValue(DateSerial(2050, 6, 1));
    EXPECT_EQ(Show(box.SmallestValue()) + u" " + Show(box.LargestValue()),
              u"2050-06-01 1950-06-01");
    box.SmallestValue(DateSerial(1900, 1, 1));
    box.LargestValue(DateSerial(2099, 12, 31));
    EXPECT_EQ(Notices(form),
              (Names{u"LargestValue", u"SmallestValue", u"SmallestValue", u"LargestValue"}));
}

TEST_F(DateBoxProperties, VerdictNeedsACompleteDateInRangeOrNothingWhenOptional) {
    // clang-format off
    const std::tuple<const char16_t*, bool, bool, bool, bool, bool> cases[] = {  // must, check, include <, >; ok
        {u"", true, false, true, true, false}, {u"", false, true, true, true, true},
        {u"05.1", false, false, true, true, false}, {u"05.1", true, true, true, true, false},
        {u"01.01.2000", true, true, true, true, true}, {u"01.01.2000", true, true, false, true, false},
        {u"31.12.1999", true, true, true, true, false}, {u"31.12.1999", true, false, true, true, true},
        {u"31.12.2010", true, true, true, true, true}, {u"31.12.2010", true, true, true, false, false},
        {u"01.01.2011", false, true, true, true, false}};
    // clang-format on
    box.SmallestValue(DateSerial(2000, 1, 1));
    box.LargestValue(DateSerial(2010, 12, 31));
    log.Attach(box);
    for (const auto& [text, must, check, inclSmallest, inclLargest, ok] : cases) {
        box.Text(text);
        box.MustHaveValue(must);
        box.CheckRange(check);
        box.IncludeSmallestValueToRange(inclSmallest);
        box.IncludeLargestValueToRange(inclLargest);
        log.Clear();
        const bool verdict = box.CheckValueNow();
        EXPECT_EQ(std::pair(verdict, log.firstArgs), std::pair(ok, std::vector<Variant>{ok}))
            << qv::ToUtf8(text) << must << check;  // the verdict is ValidationCheck's ValueOkay
    }
}

TEST(DateBoxColours, BackgroundFollowsModeFieldStateVerdictAndFocus) {
    enum Role { kBack, kDisabled, kError, kFocus, kWarning };
    const Color colours[] = {0x112233, 0xC0C0C0, 0xC0C0FF, 0xC0FFC0, 0xC0FFFF};
    // Mode (0 design, 1 run, 2 unreadable), enabled, locked, text, the ValueOkay a handler sets
    // (-1 no handler), focus (2: given and taken again), UseWarningColor; the background.
    // clang-format off
    const std::tuple<int, bool, bool, const char16_t*, int, int, bool, Role> cases[] = {
        {1, false, false, u"05.12.2024", -1, 1, false, kDisabled}, {1, true, true, u"", -1, 0, true, kDisabled},
        {1, true, false, u"05.12.2024", -1, 1, false, kFocus}, {1, true, false, u"05.12.2024", -1, 0, true, kBack},
        {1, true, false, u"05.1", -1, 1, true, kError}, {1, true, false, u"05.1", -1, 0, true, kWarning},
        {1, true, false, u"05.1", -1, 2, true, kWarning}, {1, true, false, u"05.1", -1, 2, false, kBack},
        {1, true, false, u"05.12.2024", 0, 1, false, kError}, {1, true, false, u"", 1, 1, false, kFocus},
        {0, true, false, u"05.1", -1, 1, true, kBack}, {0, true, true, u"05.1", -1, 0, false, kDisabled},
        {2, true, false, u"05.1", -1, 0, true, kBack}};
    // clang-format on
    for (const auto& [mode, enabled, locked, text, handler, focus, useWarning, role] : cases) {
        Container f;
        f.UserMode(mode == 1);
        f.FailUserModeRead(mode == 2);
        auto& b = f.Add<QVDateBoxControl>(u"dt");
        b.BackColor(colours[kBack]);
        b.Text(text);
        b.UseWarningColor(useWarning);
        b.Enabled(enabled);
        b.Locked(locked);
        if (handler >= 0) b.events.ValidationCheck = [h = handler](bool& ok) { ok = h == 1; };
        if (focus) f.Focus(b);
        if (focus == 2) f.Leave();
        // Every change above recoloured already.
        EXPECT_EQ(std::vector({f.SiteOf(b).BackColor(), b.Field(0).BackColor(),
                               b.Field(1).BackColor(), b.Field(2).BackColor()}),
                  std::vector(4, colours[role]))
            << mode << enabled << locked << qv::ToUtf8(text) << handler << focus << useWarning;
        EXPECT_EQ(b.CheckValueNow(), handler >= 0 ? handler == 1 : String(text).size() == 10);
    }
}

TEST(DateBoxLayout, BorderChoosesTheFieldThatTakesTheKeysIsSavedFillsTheControlAndGrows) {
    // Border, look, the visible field, its height at 24 pt (a 585-twip line and the border).
    const int cases[][4] = {{0, 0, 1, 585}, {0, 1, 1, 585}, {1, 1, 0, 645}, {1, 0, 2, 615}};
    for (const auto& [border, appearance, field, high] : cases) {
        Container f;
        auto& b = f.Add<QVDateBoxControl>(u"dt");
        auto& site = f.SiteOf(b);
        f.Focus(b);
        f.Type(u"051");
        b.BorderStyle(NoneFixedSingle(border));
        b.Appearance(Flat3d(appearance));
        for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(b.Field(i).Visible(), i == field);
        f.Type(u"22024\b");  // the shown field carries the text on; a save takes what it shows
        MemoryPropertyBag bag;
        f.Save(b, bag);
        EXPECT_EQ(std::pair(Show(bag.Get(u"Text")), FieldsText(b)),
                  std::pair(String(u"05.12.202"), String(u"05.12.202")));
        const auto rect = [&](int16_t i) {
            const qv::TextField& w = b.Field(i);
            return std::vector({w.Left(), w.Top(), w.Width(), w.Height()});
        };
        site.Resize(2000, 400);
        for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(rect(i), std::vector({0, 0, 2000, 400}));
        b.FontSize(24);  // a hidden field with a wider border may stay higher
        EXPECT_EQ(rect(field), std::vector({0, 0, 2000, high}));
        b.FontSize(8);
        EXPECT_EQ(std::pair(site.Width(), site.Height()), std::pair(2000, high));
    }
}

// --- Persistence ------------------------------------------------------------------------------

TEST(DateBoxPersistence, LoadsWhatWasSaved) {
    // clang-format off
    const std::pair<const char16_t*, Variant> values[] = {
        {u"Appearance", 0}, {u"BackColor", 0x112233}, {u"CheckRange", true}, {u"DateFormat", 1},
        {u"DisabledColor", 0x101010}, {u"ErrorColor", 0x0000FF}, {u"FocusColor", 0x00FF00}, {u"ForeColor", 0x445566},
        {u"IncludeLargestValueToRange", false}, {u"IncludeSmallestValueToRange", false},
        {u"LargestValue", DateSerial(2030, 6, 30)}, {u"MousePointer", 3}, {u"MustHaveValue", false},
        {u"SelectedOnGotFocus", true}, {u"SeparatorDMY", u"_"}, {u"SeparatorMDY", u","}, {u"SeparatorYMD", u"/"},
        {u"SmallestValue", DateSerial(2001, 2, 3)}, {u"Text", u"2024-12-05"}, {u"UseWarningColor", true},
        {u"WarningColor", 0x00FFFF}, {u"Locked", true}, {u"Enabled", false}, {u"FontSize", 14}};
    // clang-format on
    Container f;
    auto& b = f.Add<QVDateBoxControl>(u"dt");
    for (const auto& [name, value] : values) b.LetProperty(name, value);
    MemoryPropertyBag bag;
    f.Save(b, bag);
    auto& loaded = f.Load<QVDateBoxControl>(u"dt2", bag);
    for (const auto& [name, value] : values)
        EXPECT_EQ(Show(loaded.GetProperty(name)), Show(b.GetProperty(name))) << qv::ToUtf8(name);
    EXPECT_EQ(std::pair(FieldsText(loaded), loaded.ActiveFieldIndex()),
              std::pair(String(u"2024/12/05"), int16_t{2}));
}

TEST(DateBoxPersistence, DamagedStoresLoadAsDefaultsAndTextsAsStoredNamingADateOrNone) {
    // clang-format off
    const std::tuple<const char16_t*, Variant, const char16_t*> cases[] = {  // key, stored, loaded
        {u"LargestValue", DateSerial(2150, 1, 1), u"2099-12-31"}, {u"SmallestValue", DateSerial(1899, 12, 31), u"1900-01-01"},
        {u"LargestValue", u"later", u"2099-12-31"}, {u"SeparatorYMD", u"//", u"/"}, {u"DateFormat", 7, u"0"},
        {u"DateFormat", u"ymd", u"0"}, {u"Appearance", 5, u"1"}, {u"ErrorColor", 0x3000000, u"12632319"},
        {u"Text", Variant::Null(), u""}, {u"Text", u"12.34", u"12.34"}, {u"Text", u"31.04.2024", u"31.04.2024"},
        {u"Text", u"29.02.1900", u"29.02.1900"}, {u"Text", u"00.12.2024", u"00.12.2024"}, {u"Text", u"29.02.2000", u"29.02.2000"}};
    // clang-format on
    for (const auto& [key, stored, loaded] : cases) {
        Container f;
        MemoryPropertyBag bag;
        bag.Set(key, stored);
        bag.Set(u"MustHaveValue", false);  // so that only a text naming no date is invalid
        auto& b = f.Load<QVDateBoxControl>(u"dt", bag);
        const String text = String(key) == u"Text" ? loaded : u"";
        const bool date = text == u"29.02.2000";
        const Strings reads = date
                                  ? Strings{u"2000-02-29", text, u"02/29/2000", u"2000-02-29", text}
                                  : Strings{kNull, kNull, kNull, kNull, text};
        const bool verdict = b.CheckValueNow();
        EXPECT_EQ(std::tuple(Show(b.GetProperty(key)), FieldsText(b), Reads(b), verdict),
                  std::tuple(String(loaded), text, reads, date || text.empty()))
            << qv::ToUtf8(key) << " " << qv::ToUtf8(loaded);
    }
}

}  // namespace
}  // namespace datebox_test
