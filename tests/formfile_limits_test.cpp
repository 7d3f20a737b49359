// Form files against hostile input: values the JSON parser cannot read, repeated names and keys
// in large numbers, files beyond the size limit, memory running out.
#include <gtest/gtest.h>
#include "test_support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "formfile/FormFile.h"
#include "hosts/headless/HeadlessHost.h"
#include "library/Font.h"

namespace {

using qv::FormControl;
using qv::FormDocument;
using qv::String;
using qv::Variant;
using qv_test::ErrorOf;

std::string Joined(const std::vector<String>& lines) {
    std::string s;
    for (const String& l : lines) s += qv::ToUtf8(l) + "\n";
    return s;
}

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
    // An unknown root member and depth far below a property's value: neither is read, nor stops
    // the rest; a value that should be a number but is a list still says so.
    std::string json =
        TwoBoxesWith(R"({"deep": )" + std::string(5000, '[') + std::string(5000, ']') + "}");
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

class FormFileLimit : public ::testing::Test {
  protected:
    std::filesystem::path path_ = std::filesystem::temp_directory_path() /
                                  ("qv_limit_" + std::to_string(::getpid()) + ".json");
    void TearDown() override { std::filesystem::remove(path_); }
};

TEST_F(FormFileLimit, AFileBeyondTheLimitIsRefusedWithTheLimitNamed) {
    const std::string json = TwoBoxesWith("1");
    std::ofstream(path_, std::ios::binary) << json;
    EXPECT_EQ(qv::LoadFormFile(path_.string(), json.size()).form.controls.size(), 2U);
    try {
        qv::LoadFormFile(path_.string(), json.size() - 1);
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
