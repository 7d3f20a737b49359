// Form files: round trips of every stored subtype, damaged and wrong files, saving and loading,
// and hostile input: values the JSON parser cannot read, repeated names and keys in large numbers,
// files beyond the size limit, memory running out.
#include <gtest/gtest.h>
#include "test_support.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <limits>
#include <regex>
#include <set>

#include "formfile/FormFile.h"
#include "hosts/headless/HeadlessHost.h"
#include "library/Font.h"
#include "library/Picture.h"

namespace {

namespace fs = std::filesystem;
using qv::Font;
using qv::FormControl;
using qv::FormDocument;
using qv::FormLoadResult;
using qv::Picture;
using qv::String;
using qv::Variant;
using qv::VarType;
using qv_test::ErrorOf;

// Same subtype and value: objects by content, floating point bit for bit (NaN and -0 included).
bool SameValue(const Variant& a, const Variant& b) {
    if (a.Type() != b.Type()) return false;
    if (const auto f = a.As<Font>()) return b.As<Font>() && f->SameAttributes(*b.As<Font>());
    if (const auto p = a.As<Picture>()) return b.As<Picture>() && *p == *b.As<Picture>();
    if (a.Type() == VarType::Single)
        return std::bit_cast<uint32_t>(a.ToSingle()) == std::bit_cast<uint32_t>(b.ToSingle());
    if (a.Type() == VarType::Double || a.Type() == VarType::Date)
        return std::bit_cast<uint64_t>(a.ToDouble()) == std::bit_cast<uint64_t>(b.ToDouble());
    return a == b;
}

// clang-format off
std::shared_ptr<Font> MakeFont(const char* name, float size, int16_t weight, bool italic,
                               bool underline, bool strikethrough, int16_t charset) {
    auto f = std::make_shared<Font>();
    f->Name(qv::u8s(name)); f->Size(size); f->Weight(weight); f->Italic(italic);
    f->Underline(underline); f->Strikethrough(strikethrough); f->Charset(charset);
    return f;
}
// clang-format on

// One value of every subtype, edge values included; the keys are deliberately not sorted.
std::vector<std::pair<String, Variant>> EverySubtype() {
    using F = std::numeric_limits<float>;
    using D = std::numeric_limits<double>;
    std::vector<uint8_t> allBytes(256);
    for (int i = 0; i < 256; ++i) allBytes[i] = static_cast<uint8_t>(i);
    const qv::DateValue leapDayEvening{qv::DateSerial(2024, 2, 29).days + 0.75};
    // clang-format off
    return {{u"Text", qv::u8s("Grüße 東京")}, {u"Empty", Variant()}, {u"Null", Variant::Null()},
            {u"True", true}, {u"False", false}, {u"IntMin", int16_t{-32768}}, {u"IntMax", int16_t{32767}},
            {u"LongMin", int32_t{INT32_MIN}}, {u"LongMax", int32_t{INT32_MAX}},
            {u"SingleTenth", 0.1f}, {u"SingleMax", F::max()}, {u"SingleTiny", F::denorm_min()},
            {u"SingleMinusZero", -0.0f}, {u"SingleNaN", F::quiet_NaN()}, {u"SingleInf", F::infinity()},
            {u"DoubleThird", 1.0 / 3}, {u"DoubleMax", D::max()}, {u"DoubleTiny", D::denorm_min()},
            {u"DoubleMinusZero", -0.0}, {u"DoubleNaN", D::quiet_NaN()}, {u"DoubleMinusInf", -D::infinity()},
            {u"Date", leapDayEvening}, {u"FirstDate", qv::DateSerial(100, 1, 1)},
            {u"EmptyText", String()}, {u"Escapes", String(u"\"\\\t\n\0end", 9)}, {u"Emoji", qv::u8s("a😀b")},
            {u"Font", MakeFont("Noto Sans 東京", 10.5f, 700, true, true, true, 161)},
            {u"LightFont", MakeFont("Serif", 72, 550, false, false, false, 0)},
            {u"Picture", std::make_shared<Picture>(Picture::Format::Png, 16, 16, allBytes)},
            {u"NoPicture", std::make_shared<Picture>()}};
    // clang-format on
}

FormControl MakeControl(const char* cls, const char* name,
                        const std::vector<std::pair<String, Variant>>& properties) {
    FormControl c;
    c.className = qv::u8s(cls);
    c.name = qv::u8s(name);
    c.left = 120, c.top = 240, c.width = 2400, c.height = 285;  // none equals its default
    for (const auto& [key, value] : properties) c.properties.Set(key, value);
    return c;
}

FormDocument SampleForm() {
    FormDocument form;
    form.title = qv::u8s("Kunde – Übersicht");
    form.controls.push_back(MakeControl("QVtxtBoxControl", "txtName", EverySubtype()));
    form.controls.push_back(
        MakeControl("QVtxtBoxControl", "txtNote",
                    {{u"Text", qv::u8s("Zweite")},
                     {u"MaxLength", int16_t{20}},
                     {u"Font", MakeFont("Mono", 8, 400, false, true, false, 0)}}));
    return form;
}

// The properties of `got` are the first ones of `want`, with the same values.
void ExpectKeyPrefix(const FormControl& got, const FormControl& want, bool all) {
    const auto keys = got.properties.Keys(), wanted = want.properties.Keys();
    ASSERT_LE(keys.size(), wanted.size());
    EXPECT_TRUE(!all || keys.size() == wanted.size()) << keys.size();
    for (size_t i = 0; i < keys.size(); ++i) {
        ASSERT_EQ(keys[i], wanted[i]);
        EXPECT_TRUE(SameValue(got.properties.Get(keys[i]), want.properties.Get(keys[i])))
            << qv::ToUtf8(keys[i]);
    }
}

void ExpectSameForm(const FormDocument& got, const FormDocument& want) {
    EXPECT_EQ(got.title, want.title);
    ASSERT_EQ(got.controls.size(), want.controls.size());
    for (size_t i = 0; i < got.controls.size(); ++i) {
        const FormControl &g = got.controls[i], &w = want.controls[i];
        EXPECT_EQ(std::tie(g.className, g.name, g.left, g.top, g.width, g.height),
                  std::tie(w.className, w.name, w.left, w.top, w.width, w.height));
        ExpectKeyPrefix(g, w, true);
    }
}

std::string Joined(const std::vector<String>& lines) {
    std::string out;
    for (const String& line : lines) out += qv::ToUtf8(line) + "\n";
    return out;
}

// --- Round trips -------------------------------------------------------------------------------

TEST(FormFileRoundTrip, KeepsEverySubtypeExactlyAndTheKeyOrder) {
    const FormDocument form = SampleForm();
    const std::string text = qv::FormToJson(form);
    const FormLoadResult loaded = qv::FormFromJson(text);
    EXPECT_EQ(Joined(loaded.problems), "");
    ExpectSameForm(loaded.form, form);
    // Other programs read the marker first; members come in one order, a Single in short form.
    EXPECT_EQ(text.rfind("{\n  \"format\": \"qvControls form\",\n  \"version\": 1,\n", 0), 0u);
    size_t at = 0;
    for (const char* member : {"title", "controls", "class", "name", "left", "top", "width",
                               "height", "properties", "key", "type", "value"}) {
        at = text.find(std::string("\"") + member + "\":", at);
        ASSERT_NE(at, std::string::npos) << member;
    }
    EXPECT_TRUE(std::regex_search(text, std::regex(R"("value": 0\.1[^0-9])")));
}

// A bag may hold objects a file cannot; they are left out, and bad UTF-16 is replaced.
TEST(FormFileRoundTrip, LeavesOutOtherObjectsAndReplacesLoneSurrogates) {
    struct Gadget : qv::Object {
        std::shared_ptr<Object> Clone() const override { return std::make_shared<Gadget>(); }
        String TypeName() const override { return u"Gadget"; }
    };
    FormDocument form;
    form.title = String(u"T\xD800", 2);
    form.controls.push_back(MakeControl("C", "x",
                                        {{u"Gadget", std::make_shared<Gadget>()},
                                         {u"Nothing", std::shared_ptr<qv::Object>()},
                                         {String(u"K\xDC00", 2), String(u"\xDBFFv", 2)}}));
    form.controls[0].name = String(u"n\xDFFF", 2);
    const FormLoadResult loaded = qv::FormFromJson(qv::FormToJson(form));
    FormDocument expected;
    expected.title = u"T\xFFFD";
    expected.controls.push_back(MakeControl("C", "x", {{u"K\xFFFD", Variant(u"\xFFFDv")}}));
    expected.controls[0].name = u"n\xFFFD";
    EXPECT_EQ(Joined(loaded.problems), "");
    ExpectSameForm(loaded.form, expected);
}

// --- Damaged and wrong files ------------------------------------------------------------------

TEST(FormFileDamage, ACutAtEveryByteYieldsWhatWasCompleteBeforeIt) {
    FormDocument form = SampleForm();
    auto& first = form.controls[0].properties;  // a few keys of each kind are enough here
    for (const String& key : first.Keys())
        if (key.starts_with(u"Single") || key.starts_with(u"Double") || key.ends_with(u"Picture") ||
            key.starts_with(u"Long") || key == u"LightFont")
            first.Remove(key);
    first.Set(u"Picture", std::make_shared<Picture>(Picture::Format::Icon, 2, 1,
                                                    std::vector<uint8_t>{0, 0x7f, 0xff}));
    const std::string text = qv::FormToJson(form);
    const size_t end = text.rfind('}') + 1;
    std::set<size_t> lastKeyCounts;
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        FormLoadResult r;
        ASSERT_NO_THROW(r = qv::FormFromJson(std::string_view(text).substr(0, cut)));
        if (cut >= end) {
            EXPECT_EQ(Joined(r.problems), "");
            ExpectSameForm(r.form, form);
            continue;
        }
        ASSERT_EQ(r.problems.size(), 1u) << Joined(r.problems);
        EXPECT_EQ(qv::ToUtf8(r.problems[0])
                      .rfind("The file is damaged at byte " + std::to_string(cut) + " ", 0),
                  0u)
            << Joined(r.problems);
        const auto& got = r.form.controls;
        ASSERT_LE(got.size(), 2u);
        for (size_t i = 0; i < got.size(); ++i) {
            const FormControl &g = got[i], &w = form.controls[i];
            EXPECT_EQ(std::tie(g.className, g.name), std::tie(w.className, w.name));
            // A side the cut removed takes its default; a side cut short is never taken.
            const int32_t side[] = {g.left, g.top, g.width, g.height},
                          want[] = {w.left, w.top, w.width, w.height},
                          dflt[] = {0, 0, qv::kFormDefaultWidth, qv::kFormDefaultHeight};
            for (int i = 0; i < 4; ++i)
                EXPECT_TRUE(side[i] == want[i] || side[i] == dflt[i]) << i << ": " << side[i];
            ExpectKeyPrefix(g, w, i + 1 < got.size());
        }
        if (got.size() == 2) lastKeyCounts.insert(got[1].properties.Keys().size());
    }
    // The second control was seen with each number of its keys, none to all.
    EXPECT_EQ(lastKeyCounts.size(), form.controls[1].properties.Keys().size() + 1);
}

// JSON written with ' for ", to keep the cases readable.
std::string J(std::string text) {
    std::replace(text.begin(), text.end(), '\'', '"');
    return text;
}
std::string Control(
    const char* name, const std::string& properties,
    const char* rest = "'class': 'C', 'left': 1, 'top': 2, 'width': 3, 'height': 4") {
    return J(std::string("{'name': '") + name + "', " + rest + ", 'properties': [" + properties +
             "]}");
}
std::string File(const std::string& controls,
                 const char* head = "'format': 'qvControls form', 'version': 1") {
    return J(std::string("{") + head + ", 'title': 'T', 'controls': [") + controls + "]}";
}

struct Loaded {
    std::string problems;
    std::vector<std::string> names, keysOfFirst;
};
Loaded Load(const std::string& file) {
    const FormLoadResult r = qv::FormFromJson(file);
    Loaded out{Joined(r.problems), {}, {}};
    for (const FormControl& c : r.form.controls) out.names.push_back(qv::ToUtf8(c.name));
    if (!r.form.controls.empty())
        for (const String& k : r.form.controls[0].properties.Keys())
            out.keysOfFirst.push_back(qv::ToUtf8(k));
    return out;
}

// Each case is one stored key between the good keys A and B of a control, followed by another
// control: a bad key is left out with one problem naming it, and everything else loads.
TEST(FormFileDamage, AKeyThatCannotBeReadIsLeftOutAndNamed) {
    // clang-format off
    const std::pair<const char*, std::vector<const char*>> cases[] = {  // key, problem words
        {"{'key': 'C', 'type': 'Integer', 'value': 20.0}", {}}, {"{'key': 'C', 'type': 'Empty', 'unit': 'future members pass'}", {}},
        {"{'key': 'Bad', 'type': 'Integer', 'value': 70000}", {"70000", "Integer"}}, {"{'key': 'Bad', 'type': 'Long', 'value': 2147483648}", {"Long"}},
        {"{'key': 'Bad', 'type': 'Boolean', 'value': 'yes'}", {"yes", "Boolean"}}, {"{'key': 'Bad', 'type': 'Single', 'value': 1e39}", {"Single"}},
        {"{'key': 'Bad', 'type': 'Date', 'value': 1e9}", {"Date"}}, {"{'key': 'Bad', 'type': 'String', 'value': 5}", {"String"}},
        {"{'key': 'Bad', 'type': 'Font', 'value': {'size': -3}}", {"size", "-3"}}, {"{'key': 'Bad', 'type': 'Font', 'value': {'name': ''}}", {"name"}},
        {"{'key': 'Bad', 'type': 'Font', 'value': 'Arial'}", {"Font"}}, {"{'key': 'Bad', 'type': 'Picture', 'value': {'data': '0g'}}", {"data"}},
        {"{'key': 'Bad', 'type': 'Picture', 'value': {'data': 'abc'}}", {"data"}}, {"{'key': 'Bad', 'type': 'Picture', 'value': {'format': 7}}", {"format"}},
        {"{'key': 'Bad', 'type': 'Currency', 'value': 1}", {"Currency"}}, {"{'key': 'Bad', 'value': 1}", {"type"}},
        {"{'key': 'Bad', 'type': 'Integer'}", {"value"}}, {"{'type': 'Integer', 'value': 1}", {"property 2", "key"}},
        {"[]", {"property 2"}}, {"{'key': 'A', 'type': 'Integer', 'value': 2}", {"'A'", "twice"}},
    };
    // clang-format on
    for (const auto& [property, words] : cases) {
        SCOPED_TRACE(property);
        const std::string file =
            File(Control("txtA", J("{'key': 'A', 'type': 'Integer', 'value': 1}, ") + J(property) +
                                     J(", {'key': 'B', 'type': 'String', 'value': 'b'}")) +
                 ", " + Control("txtB", ""));
        const Loaded r = Load(file);
        EXPECT_EQ(r.names, (std::vector<std::string>{"txtA", "txtB"}));
        const bool sound = words.empty();
        EXPECT_EQ(r.keysOfFirst, (sound ? std::vector<std::string>{"A", "C", "B"}
                                        : std::vector<std::string>{"A", "B"}));
        EXPECT_EQ(std::count(r.problems.begin(), r.problems.end(), '\n'), sound ? 0 : 1);
        for (const char* word : words)
            EXPECT_NE(r.problems.find(J(word)), std::string::npos) << word;
        EXPECT_TRUE(sound || r.problems.find("\"txtA\"") != std::string::npos) << r.problems;
    }
    const auto c = qv::FormFromJson(File(Control("x", J(cases[0].first)))).form.controls.at(0);
    EXPECT_EQ(c.properties.Get(u"C"), Variant(int16_t{20}));
}

TEST(FormFileDamage, BadControlsAndHeadersAreReportedAndTheRestLoaded) {
    const std::string a = Control("txtA", ""), b = Control("txtB", ""), sound = File(a + ", " + b);
    const std::string badByte =
        File(Control("txtA", J("{'key': 'T', 'type': 'String', 'value': 'a\xFF"
                               "b'}")) +
             ", " + b);
    struct Case {
        std::string file, problem;  // a part of the one problem; none when the file is sound
        std::vector<std::string> names;
    };
    // clang-format off
    const Case cases[] = {
        {File(Control("txtA", "", "'left': 1") + ", " + b), "\"txtA\" has no \"class\"", {"txtB"}},
        {File(J("{'class': 'C'}, ") + b), "Control 1 has no \"name\"", {"txtB"}},
        {File(a + ", " + Control("TXTA", "")), "\"TXTA\" (Control 2) repeats", {"txtA"}},
        {File("7, " + b), "Control 1 is not an object", {"txtB"}},
        {File(Control("txtA", "", "'class': 'C', 'left': 1, 'top': 2, 'width': 3, 'height': 4, "
                                   "'later': {'x': [1]}") + ", " + b,
              "'format': 'qvControls form', 'version': 1, 'added': true"), "", {"txtA", "txtB"}},
        {File(a + ", " + b, "'format': 'other', 'version': 1"), "\"other\"", {"txtA", "txtB"}},
        {File(a + ", " + b, "'format': 'qvControls form', 'version': 2"), "version 2", {"txtA", "txtB"}},
        {File(a + ", " + b, "'format': 'qvControls form'"), "version is missing", {"txtA", "txtB"}},
        {badByte, "not UTF-8, the first at byte " + std::to_string(badByte.find('\xFF')), {"txtA", "txtB"}},
        {sound + " x", "damaged at byte " + std::to_string(sound.size() + 1) + " (unexpected",
         {"txtA", "txtB"}},
        {"[1, 2]", "does not hold a form", {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Loaded r = Load(c.file);
        EXPECT_EQ(r.names, c.names);
        EXPECT_EQ(std::count(r.problems.begin(), r.problems.end(), '\n'),
                  c.problem.empty() ? 0 : 1);
        EXPECT_NE(r.problems.find(c.problem), std::string::npos) << r.problems;
    }
    // The invalid byte reads as U+FFFD, the text around it kept.
    EXPECT_EQ(qv::FormFromJson(badByte).form.controls.at(0).properties.Get(u"T"), Variant(u"a\xFFFD"
                                                                                          "b"));
}

TEST(FormFileDamage, UnusableGeometryTakesTheDefaultsWithOneProblemEach) {
    const FormLoadResult r = qv::FormFromJson(File(
        Control("txtA", "", "'class': 'C', 'left': -5, 'top': 1.5, 'height': '9'") + ", " +
        Control("txtB", "",
                "'class': 'C', 'left': 10000000, 'top': 7.0, 'width': 10000001, 'height': 0")));
    ASSERT_EQ(r.form.controls.size(), 2u);
    const FormControl &a = r.form.controls[0], &b = r.form.controls[1];
    EXPECT_EQ(std::tie(a.left, a.top, a.width, a.height), std::make_tuple(0, 0, 1500, 300));
    EXPECT_EQ(std::tie(b.left, b.top, b.width, b.height), std::make_tuple(10000000, 7, 1500, 0));
    ASSERT_EQ(r.problems.size(), 5u) << Joined(r.problems);
    const char* sides[] = {"\"left\" is -5", "\"top\" is 1.5", "\"width\" is missing",
                           "\"height\" is \"9\"", "\"width\" is 10000001"};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_NE(qv::ToUtf8(r.problems[i]).find(sides[i]), std::string::npos)
            << Joined(r.problems);
}

// --- Files on disk ------------------------------------------------------------------------------

class FormFileDisk : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qv_formfile_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::vector<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename());
        return {names.begin(), names.end()};
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
};

TEST_F(FormFileDisk, SavingReplacesTheFileThroughLinksAndKeepsItsPermissions) {
    FormDocument form = SampleForm();
    qv::SaveFormFile(Path("real.json"), form);
    fs::permissions(Path("real.json"), fs::perms(0640));
    fs::create_symlink("real.json", Path("link.json"));
    form.title = u"Second";
    form.controls.pop_back();
    qv::SaveFormFile(Path("link.json"), form);
    EXPECT_TRUE(fs::is_symlink(Path("link.json")));
    EXPECT_EQ(fs::status(Path("real.json")).permissions(), fs::perms(0640));
    EXPECT_EQ(Listing(), (std::vector<std::string>{"link.json", "real.json"}));  // no leftovers
    const FormLoadResult loaded = qv::LoadFormFile(Path("real.json"));
    EXPECT_EQ(Joined(loaded.problems), "");
    ExpectSameForm(loaded.form, form);
}

// A write that fails half way (a full disk, here a file size limit) leaves the old file whole.
TEST_F(FormFileDisk, FailuresRaise53Or75AndKeepTheOldFile) {
    EXPECT_EQ(ErrorOf([&] { qv::LoadFormFile(Path("missing.json")); }), 53);
    EXPECT_EQ(ErrorOf([&] { qv::LoadFormFile(dir_.string()); }), 53);
    EXPECT_EQ(ErrorOf([&] { qv::SaveFormFile(Path("no/such/folder.json"), {}); }), 75);
    fs::create_directory(Path("folder"));
    EXPECT_EQ(ErrorOf([&] { qv::SaveFormFile(Path("folder"), {}); }), 75);
    EXPECT_TRUE(fs::is_directory(Path("folder")));

    const std::string path = Path("form.json");
    qv::SaveFormFile(path, SampleForm());
    const std::string old = Read(path);
    FormDocument big;
    big.controls.push_back(MakeControl("C", "x", {{u"Text", String(200000, u'x')}}));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);  // the write fails instead of the process
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int32_t error = ErrorOf([&] { qv::SaveFormFile(path, big); });
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, 75);
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"folder", "form.json"}));  // no leftovers
}

// --- Hostile input -----------------------------------------------------------------------------

// A form of two text boxes whose first "Text" value is `value` as it stands in the file.
std::string TwoBoxesWith(const std::string& value) {
    return R"({"format": "qvControls form", "version": 1, "title": "T", "controls": [
  {"class": "QVtxtBoxControl", "name": "a", "left": 0, "top": 0, "width": 900, "height": 300,
   "properties": [{"key": "Text", "type": "Double", "value": )" +
           value + R"(}, {"key": "MaxLength", "type": "Long", "value": 5}]},
  {"class": "QVtxtBoxControl", "name": "b", "left": 0, "top": 400, "width": 900, "height": 300,
   "properties": [{"key": "Text", "type": "String", "value": "after"}]}
]})";
}

TEST(FormFileUnreadable, OneValueIsLeftOutWithItsKeyAndTheRestIsRead) {
    const std::string rows[] = {
        "1e400",       "-1e400",       "1" + std::string(400, '0'),
        R"("\ud800")", R"("x\udc00")", R"("\ud800\u0041")",
        R"("\q")",     R"("\u12G4")",  "NaN",
        "-Infinity",   "tru",
    };
    for (const std::string& value : rows) {
        const qv::FormLoadResult r = qv::FormFromJson(TwoBoxesWith(value));
        const std::string problems = Joined(r.problems);
        ASSERT_EQ(r.form.controls.size(), 2U) << value << "\n" << problems;
        EXPECT_EQ(r.problems.size(), 1U) << value << "\n" << problems;
        EXPECT_NE(problems.find("Control \"a\", property \"Text\""), std::string::npos) << problems;
        EXPECT_NE(problems.find("cannot be read"), std::string::npos) << problems;
        EXPECT_EQ(problems.find("damaged"), std::string::npos) << problems;
        const FormControl& a = r.form.controls[0];
        EXPECT_FALSE(a.properties.Has(u"Text")) << value;
        EXPECT_EQ(a.properties.Get(u"MaxLength").ToLong(), 5) << value;
        EXPECT_EQ(r.form.controls[1].properties.Get(u"Text").ToString(), u"after") << value;
    }
}

TEST(FormFileUnreadable, ElsewhereItIsNamedAndTheDefaultTaken) {
    std::string json = TwoBoxesWith("1");
    json.replace(json.find("\"left\": 0"), 9, "\"left\": 1e999");
    const qv::FormLoadResult r = qv::FormFromJson(json);
    ASSERT_EQ(r.form.controls.size(), 2U) << Joined(r.problems);
    EXPECT_EQ(r.form.controls[0].left, 0);
    EXPECT_EQ(Joined(r.problems),
              "Control \"a\": \"left\" is 1e999, not a whole number from 0 to 10000000; 0 was "
              "used.\n");
    // Text inside strings is never taken for a value: these load as they stand.
    const qv::FormLoadResult plain =
        qv::FormFromJson(TwoBoxesWith(R"("1e400 NaN \\ud800 \"tru\"")"));
    EXPECT_TRUE(plain.problems.size() == 1 &&
                Joined(plain.problems).find("does not fit the type Double") != std::string::npos)
        << Joined(plain.problems);
}

TEST(FormFileScale, RepeatedNamesAndKeysAreFoundAmongThousands) {
    FormDocument form;
    for (int i = 0; i < 3000; ++i) {
        FormControl& c = form.controls.emplace_back();
        c.className = u"QVtxtBoxControl";
        c.name = u"Box" + qv::FromUtf8(std::to_string(i));
    }
    FormControl& big = form.controls.emplace_back();
    big.className = u"QVtxtBoxControl";
    big.name = u"box17";  // the same name as Box17, in other case
    for (int i = 0; i < 100; ++i)
        form.controls[5].properties.Set(u"K" + qv::FromUtf8(std::to_string(i)), Variant(i));
    std::string json = qv::FormToJson(form);
    // The 40th key once more, later in the same control.
    const std::string again = R"({"key": "K39", "type": "Long", "value": 7})";
    json.insert(json.find(R"({"key": "K99")"), again + ",\n      ");
    const qv::FormLoadResult r = qv::FormFromJson(json);
    EXPECT_EQ(Joined(r.problems),
              "Control \"Box5\", property \"K39\" is stored twice; the later one was left out.\n"
              "Control \"box17\" (Control 3001) repeats an earlier control's name; it was left "
              "out.\n");
    ASSERT_EQ(r.form.controls.size(), 3000U);
    EXPECT_EQ(r.form.controls[5].properties.Get(u"K39").ToLong(), 39);
    EXPECT_EQ(r.form.controls[5].properties.Entries().size(), 100U);
}

// A form's bag lives as long as the form and is read at every load: it keeps no log.
TEST(FormFileScale, AFormsBagKeepsNoLog) {
    FormControl c;
    for (int i = 0; i < 3; ++i) c.properties.ReadProperty(u"Text", Variant());
    c.properties.WriteProperty(u"Text", Variant(u"x"), Variant());
    EXPECT_TRUE(c.properties.ReadLog().empty() && c.properties.WriteLog().empty());
    EXPECT_EQ(c.properties.Get(u"Text").ToString(), u"x");
    qv::MemoryPropertyBag bag(false);
    bag.ReadProperty(u"K1", Variant());
    EXPECT_EQ(bag.ReadLog(), std::vector<String>{u"K1"});  // a test's bag does
}

TEST(FormFileScale, MembersTheFormatHasNotAreSkippedUnread) {
    // An unknown root member and depth far below a property's value: neither is walked, nor stops
    // the rest; a value that should be a number but is a list still says so.
    std::string json =
        TwoBoxesWith(R"({"deep": )" + std::string(100000, '[') + std::string(100000, ']') + "}");
    json.insert(1, R"("junk": [[1, 2, {"x": [3]}]], )");
    const qv::FormLoadResult r = qv::FormFromJson(json);
    ASSERT_EQ(r.form.controls.size(), 2U) << Joined(r.problems);
    EXPECT_EQ(Joined(r.problems),
              "Control \"a\", property \"Text\": the value {...} does not fit the type Double; "
              "the property was left out.\n");
}

// A form file leaves out values equal to their defaults. That is sound only when every control
// reads a missing key as the very value it left out: a control saved at its defaults, and one
// with everything changed, must come back from the file as they were.
TEST(FormFileDefaults, ControlsComeBackFromAFileThatLeavesOutTheirDefaults) {
    const auto everything = [](qv::headless::Container& form, qv::Control& c) {
        qv::MemoryPropertyBag all(false);
        form.Save(c, all);
        return all;
    };
    for (const char16_t* cls : {u"QVtxtBoxControl", u"QVnumBoxControl"}) {
        for (const bool changed : {false, true}) {
            qv::headless::Container form;
            qv::MemoryPropertyBag none(false);
            qv::Control& original = form.Load(cls, u"original", none);
            if (changed) {
                for (const char16_t* key : {u"Enabled", u"Locked", u"MustHaveValue"})
                    if (original.Members().Find(key))
                        original.LetProperty(key, !original.GetProperty(key).ToBool());
                original.LetProperty(u"BackColor", Variant(int32_t{0x123456}));
            }
            FormDocument doc;
            FormControl& saved = doc.controls.emplace_back();
            saved.className = cls, saved.name = u"c";
            form.Save(original, saved.properties);
            const qv::FormLoadResult read = qv::FormFromJson(qv::FormToJson(doc));
            ASSERT_EQ(read.form.controls.size(), 1U);
            EXPECT_LT(read.form.controls[0].properties.Entries().size(),
                      everything(form, original).Entries().size() + (changed ? 1 : 0));
            qv::Control& loaded = form.Load(
                cls, u"loaded", const_cast<FormControl&>(read.form.controls[0]).properties);
            const auto want = everything(form, original), got = everything(form, loaded);
            ASSERT_EQ(got.Keys(), want.Keys());
            for (size_t i = 0; i < want.Entries().size(); ++i) {
                const Variant &w = want.Entries()[i].value, &g = got.Entries()[i].value;
                const bool same =
                    w.As<qv::Font>()
                        ? g.As<qv::Font>() && w.As<qv::Font>()->SameAttributes(*g.As<qv::Font>())
                        : qv::MemoryPropertyBag::EqualsDefault(g, w);
                EXPECT_TRUE(same) << qv::ToUtf8(cls) << (changed ? " changed " : " default ")
                                  << qv::ToUtf8(want.Entries()[i].key);
            }
        }
    }
}

TEST_F(FormFileDisk, AFileBeyondTheLimitIsRefusedWithTheLimitNamed) {
    const std::string json = TwoBoxesWith("1");
    std::ofstream(Path("form.json"), std::ios::binary) << json;
    EXPECT_EQ(qv::LoadFormFile(Path("form.json"), json.size()).form.controls.size(), 2U);
    try {
        qv::LoadFormFile(Path("form.json"), json.size() - 1);
        ADD_FAILURE() << "no error";
    } catch (const qv::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 7);
        EXPECT_NE(qv::ToUtf8(e.Description()).find(std::to_string(json.size() - 1) + " bytes"),
                  std::string::npos)
            << qv::ToUtf8(e.Description());
    }
    EXPECT_GT(qv::kFormFileMaxBytes, 60U * 1024 * 1024);
}

#if defined(__SANITIZE_ADDRESS__)
#define QV_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QV_ASAN 1
#endif
#endif

// Under an address-space limit a large form runs out of memory: error 7, not the end of the
// process. In a child process, so the limit binds nothing else.
TEST(FormFileMemory, RunningOutOfMemoryIsErrorSevenNotAnAbort) {
#ifdef QV_ASAN
    GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than any limit";
#else
    // Written out directly: a form built first would leave its freed memory for the load.
    std::string json = R"({"format": "qvControls form", "version": 1, "controls": [)";
    for (int i = 0; i < 20000; ++i) {
        json += (i ? ",\n" : "\n") + std::string(R"({"class": "QVtxtBoxControl", "name": "Box)") +
                std::to_string(i) + R"(", "properties": [)";
        for (int k = 0; k < 20; ++k)
            json += (k ? ", " : "") + std::string(R"({"key": "Key)") + std::to_string(k) +
                    R"(", "type": "String", "value": "some text"})";
        json += "]}";
    }
    json += "]}";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The address space in use now, and 8 MiB more: far less than the form needs.
        long pages = 0;
        if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        const rlim_t limit =
            static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (8U << 20);
        const rlimit r{limit, limit};
        if (pages == 0 || ::setrlimit(RLIMIT_AS, &r) != 0) ::_exit(3);
        try {
            const qv::FormLoadResult loaded = qv::FormFromJson(json);
            ::_exit(loaded.form.controls.size() == 20000 ? 4 : 5);  // it fitted after all
        } catch (const qv::RuntimeError& e) {
            ::_exit(e.Number() == 7 ? 0 : 6);
        } catch (...) {
            ::_exit(7);
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

}  // namespace
