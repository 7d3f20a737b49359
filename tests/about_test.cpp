// The About dialog on the headless host: what it shows, its buttons, the system-information
// lookup in the settings store and the reading of its values.
#include <gtest/gtest.h>

#include "about/frmAbout.h"
#include "combobox/QVcomboBoxControl.h"
#include "datebox/QVDateBoxControl.h"
#include "hosts/headless/HeadlessHost.h"
#include "numbox/QVnumBoxControl.h"
#include "txtbox/QVtxtBoxControl.h"

namespace {

using qv::String;
using qv::headless::Container;
using qv::headless::HeadlessForm;
constexpr uint32_t kMachine = qv::RegistryRoot::LocalMachine;
constexpr char16_t kMsinfo[] = u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char16_t kLocation[] = u"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char16_t kUnavailable[] = u"System Information Is Unavailable At This Time";

struct Seen {
    String caption, title, version, ok, sysInfo;
    bool label2 = false, closedByOK = false;
};

TEST(AboutBox, EveryControlShowsAFreshDialogThatOKCloses) {
    Container form;
    std::vector<Seen> seen;
    form.OnModalForm([&](HeadlessForm& f) {
        Seen s;
        s.caption = f.Caption();
        s.title = f.FindLabel(u"lblTitle")->Caption();
        s.version = f.FindLabel(u"lblVersion")->Caption();
        s.ok = f.FindButton(u"cmdOK")->Caption();
        s.sysInfo = f.FindButton(u"cmdSysInfo")->Caption();
        s.label2 = f.FindLabel(u"Label2")->Visible();
        EXPECT_NE(f.FindLabel(u"Frame1"), nullptr);
        for (const char16_t* name : {u"lblDescription", u"lblDisclaimer", u"Label1", u"Label2"})
            EXPECT_FALSE(f.FindLabel(name)->Caption().empty()) << qv::ToUtf8(name);
        f.Click(u"cmdOK");
        s.closedByOK = !f.Open();
        seen.push_back(s);
    });
    form.Add<qv::QVtxtBoxControl>(u"txt").ShowAboutBox();
    form.Add<qv::QVnumBoxControl>(u"num").ShowAboutBox();
    form.Add<qv::QVDateBoxControl>(u"date").ShowAboutBox();
    form.Add<qv::QVcomboBoxControl>(u"cbo").ShowAboutBox();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(form.ShownForms(), std::vector<String>(4, u"frmAbout")) << "a fresh dialog each time";
    EXPECT_TRUE(form.LoadedForms().empty()) << "each is unloaded when it closes";
    const String version =
        qv::FromUtf8(std::to_string(QV_VERSION_MAJOR) + "." + std::to_string(QV_VERSION_MINOR) +
                     "." + std::to_string(QV_VERSION_PATCH));
    for (const Seen& s : seen) {
        EXPECT_EQ(s.caption, u"qvControls");
        EXPECT_EQ(s.title, u"qvControls");
        EXPECT_EQ(s.version, version);
        EXPECT_EQ(s.ok, u"OK");
        EXPECT_EQ(s.sysInfo, u"&System Info...");
        EXPECT_TRUE(s.label2);
        EXPECT_TRUE(s.closedByOK);
    }
}

TEST(AboutBox, TheLayoutHidesLabel2UntilTheFormLoads) {
    Container form;
    auto& box = form.Add<qv::QVtxtBoxControl>(u"txt");
    qv::frmAbout about(form.SiteOf(box));
    EXPECT_FALSE(about.Label2.Visible());
    EXPECT_TRUE(about.lblTitle.Caption().empty());
    about.Form_Load();
    EXPECT_TRUE(about.Label2.Visible());
    EXPECT_FALSE(about.Label1.Caption().empty());
}

class KeyValues : public ::testing::Test {
  protected:
    qv::frmAbout& About() {
        if (!about_) about_ = std::make_unique<qv::frmAbout>(form.SiteOf(box));
        return *about_;
    }
    Container form;
    qv::QVtxtBoxControl& box = form.Add<qv::QVtxtBoxControl>(u"txt");
    std::unique_ptr<qv::frmAbout> about_;
};

TEST_F(KeyValues, StringsAndNumbersReadBackAndEveryByteCountsTwoDigits) {
    form.SetRegistryString(kMachine, u"SOFTWARE\\T", u"Text", u"C:\\Tools\\info.exe");
    form.SetRegistryValue(kMachine, u"SOFTWARE\\T", u"Unterminated", {1, {u'a', 0, u'b', 0}});
    form.SetRegistryNumber(kMachine, u"SOFTWARE\\T", u"N65536", 65536);
    form.SetRegistryNumber(kMachine, u"SOFTWARE\\T", u"N00FF00FF", 0x00FF00FF);
    form.SetRegistryNumber(kMachine, u"SOFTWARE\\T", u"Zero", 0);
    form.SetRegistryNumber(kMachine, u"SOFTWARE\\T", u"Big", 0xF000000A);
    form.SetRegistryValue(kMachine, u"SOFTWARE\\T", u"Binary", {3, {1, 2, 3}});
    struct Case {
        const char16_t* value;
        bool found;
        const char16_t* text;
    } cases[] = {
        {u"Text", true, u"C:\\Tools\\info.exe"},
        {u"Unterminated", true, u"ab"},
        {u"N65536", true, u"65536"},  // bytes 00 00 01 00: "&h100" read as 256 once
        {u"N00FF00FF", true, u"16711935"},
        {u"Zero", true, u"0"},
        {u"Big", true, u"4026531850"},
        {u"Binary", true, u"kept"},  // other types leave the text as it was
        {u"Missing", false, u""},
    };
    for (const Case& c : cases) {
        String text = u"kept";
        EXPECT_EQ(About().GetKeyValue(kMachine, u"software\\t", c.value, text), c.found)
            << qv::ToUtf8(c.value);
        EXPECT_EQ(text, c.text) << qv::ToUtf8(c.value);
    }
    String text = u"kept";
    EXPECT_FALSE(About().GetKeyValue(kMachine, u"SOFTWARE\\Nowhere", u"Text", text));
    EXPECT_EQ(text, u"");
    EXPECT_FALSE(About().GetKeyValue(0x80000001, u"SOFTWARE\\T", u"Text", text)) << "another root";
}

TEST_F(KeyValues, TheStoreIsOpenedWithFullAccessReadIntoAThousandCharactersAndClosed) {
    form.SetRegistryString(kMachine, u"K", u"V", String(1023, u'x'));
    form.SetRegistryString(kMachine, u"K", u"TooLong", String(1024, u'x'));  // with its NUL: 1025
    String text;
    EXPECT_TRUE(About().GetKeyValue(kMachine, u"K", u"V", text));
    EXPECT_EQ(text.size(), 1023u);
    EXPECT_FALSE(About().GetKeyValue(kMachine, u"K", u"TooLong", text));
    EXPECT_FALSE(About().GetKeyValue(kMachine, u"None", u"V", text));
    EXPECT_EQ(form.RegistryCalls(),
              (std::vector<String>{u"open 2147483650 K 131135", u"query V 2048", u"close",
                                   u"open 2147483650 K 131135", u"query TooLong 2048", u"close",
                                   u"open 2147483650 None 131135"}));
}

TEST_F(KeyValues, SystemInformationIsLookedUpInOrderOrUnavailable) {
    struct Case {
        const char* what;
        bool path, location, fileThere, startFails;
        std::vector<String> started;
        std::vector<String> messages;
    } cases[] = {
        {"the program's own key", true, true, true, false, {u"C:\\Info\\msinfo32.exe"}, {}},
        {"the tools' folder", false, true, true, false, {u"C:\\Shared\\MSINFO32.EXE"}, {}},
        {"a folder without the program", false, true, false, false, {}, {kUnavailable}},
        {"neither key", false, false, false, false, {}, {kUnavailable}},
        {"a program that does not start", true, false, false, true, {}, {kUnavailable}},
    };
    for (const Case& c : cases) {
        Container f;
        auto& b = f.Add<qv::QVtxtBoxControl>(u"txt");
        if (c.path) f.SetRegistryString(kMachine, kMsinfo, u"PATH", u"C:\\Info\\msinfo32.exe");
        if (c.location) f.SetRegistryString(kMachine, kLocation, u"MSINFO", u"C:\\Shared");
        if (c.fileThere) f.AddFile(u"C:\\Shared\\MSINFO32.EXE");
        if (c.startFails) f.FailProgram(u"C:\\Info\\msinfo32.exe");
        f.OnModalForm([](HeadlessForm& dialog) {
            dialog.Click(u"cmdSysInfo");
            EXPECT_TRUE(dialog.Open()) << "the dialog stays open";
        });
        b.ShowAboutBox();
        EXPECT_EQ(f.StartedPrograms(), c.started) << c.what;
        EXPECT_EQ(f.Messages(), c.messages) << c.what;
    }
}

}  // namespace
