#include "about/frmAbout.h"

#include <algorithm>
#include <string>

#include "library/ClassRegistry.h"
#include "library/Font.h"
#include "library/RuntimeError.h"

namespace qv {

namespace {

constexpr uint32_t kFullAccess = 0x2003F;
constexpr size_t kBufferCharacters = 1024;
constexpr char16_t kUnavailable[] = u"System Information Is Unavailable At This Time";
enum Button : int16_t { kOK = 1, kSysInfo = 2 };

// The form's layout, in twips.
struct Place {
    int32_t left, top, width, height;
};

template <class W>
W& Placed(W& w, Place p, bool visible = true) {
    w.Left(p.left);
    w.Top(p.top);
    w.Width(p.width);
    w.Height(p.height);
    w.Visible(visible);
    return w;
}

Label& MakeLabel(Form& f, const char16_t* name, Place p, LabelSettings settings = {}) {
    settings.transparent = !settings.border;
    return Placed(f.CreateLabel(name, -1, settings), p);
}

ButtonWidget& MakeButton(Form& f, const char16_t* name, Place p) {
    return Placed(f.CreateButton(name, -1), p);
}

}  // namespace

String LibraryTitle() {
    return TrimRightBlanks(kLibraryDescription);
}

String LibraryVersion() {
    const auto num = [](int n) { return FromUtf8(std::to_string(n)); };
    return num(kVersionMajor) + u"." + num(kVersionMinor) + u"." + num(kVersionRevision);
}

frmAbout::frmAbout(Host& host) : frmAbout(host, host.LoadForm(u"frmAbout")) {}

frmAbout::frmAbout(Host& host, std::unique_ptr<Form> form)
    : Picture1(Placed(form->CreatePictureSurface(u"Picture1"), {240, 240, 540, 540})),
      Frame1(MakeLabel(*form, u"Frame1", {240, 3300, 5280, 30}, {.border = true, .threeD = true})),
      lblTitle(MakeLabel(*form, u"lblTitle", {1050, 240, 4470, 480})),
      lblVersion(MakeLabel(*form, u"lblVersion", {1050, 780, 4470, 225})),
      lblDescription(MakeLabel(*form, u"lblDescription", {1050, 1125, 4470, 1170})),
      lblDisclaimer(MakeLabel(*form, u"lblDisclaimer", {255, 3450, 3870, 825})),
      Label1(MakeLabel(*form, u"Label1", {1050, 2340, 4470, 420})),
      Label2(MakeLabel(*form, u"Label2", {1050, 2790, 4470, 420})),
      cmdOK(MakeButton(*form, u"cmdOK", {4245, 3450, 1260, 345})),
      cmdSysInfo(MakeButton(*form, u"cmdSysInfo", {4260, 3900, 1245, 345})),
      host_(host),
      form_(std::move(form)) {
    Label2.Visible(false);  // hidden in the layout; the form shows it when it loads
    cmdOK.Caption(u"OK");
    cmdSysInfo.Caption(u"&System Info...");
    cmdOK.SetNoticeSink(this, kOK);
    cmdSysInfo.SetNoticeSink(this, kSysInfo);
    form_->Size(5760, 4440);
}

void frmAbout::Form_Load() {
    const String title = LibraryTitle();
    form_->Caption(title);
    lblTitle.Caption(title);
    Font big = lblTitle.GetFont();
    big.Size(14);
    big.Bold(true);
    lblTitle.SetFont(big);
    lblVersion.Caption(LibraryVersion());
    lblDescription.Caption(
        u"Data-entry controls for desktop database applications: text, numeric, date and combo "
        u"boxes that filter, format and validate what the user types.");
    lblDisclaimer.Caption(
        u"This software is provided as is, without warranty of any kind. Use it at your own "
        u"risk.");
    Label1.Caption(u"The qvControls developers");
    Label2.Caption(u"Published with its source code");
    Label2.Visible(true);
}

void frmAbout::Show() {
    form_->ShowModal();
}

void frmAbout::Click(int16_t Index) {
    if (Index == kOK) cmdOK_Click();
    if (Index == kSysInfo) cmdSysInfo_Click();
}

void frmAbout::cmdOK_Click() {
    form_->Unload();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    try {
        String path;
        if (GetKeyValue(RegistryRoot::LocalMachine, u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                        u"PATH", path)) {
            if (host_.StartProgram(path)) return;
        } else if (GetKeyValue(RegistryRoot::LocalMachine,
                               u"SOFTWARE\\Microsoft\\Shared Tools Location", u"MSINFO", path)) {
            path += u"\\MSINFO32.EXE";
            if (host_.FileExists(path) && host_.StartProgram(path)) return;
        }
    } catch (const RuntimeError&) {
    }
    host_.MessageBox(kUnavailable);
}

bool frmAbout::GetKeyValue(uint32_t KeyRoot, const String& KeyName, const String& SubKeyRef,
                           String& KeyVal) {
    const std::optional<uint32_t> key = host_.RegistryOpenKey(KeyRoot, KeyName, kFullAccess);
    if (!key) {
        KeyVal.clear();
        return false;
    }
    const std::optional<RegistryValue> value =
        host_.RegistryQueryValue(*key, SubKeyRef, kBufferCharacters * sizeof(char16_t));
    if (!value) {
        KeyVal.clear();
        host_.RegistryCloseKey(*key);
        return false;
    }
    const std::vector<uint8_t>& bytes = value->data;
    if (value->type == 1) {
        String text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (!text.empty() && text.back() == u'\0') text.pop_back();
        KeyVal = text;
    } else if (value->type == 4) {
        // The bytes from the last to the first, each as two hexadecimal digits: an unpadded byte
        // would shift the ones after it (00 01 00 00 would read as 0x100).
        uint32_t n = 0;
        for (size_t i = std::min<size_t>(bytes.size(), 4); i-- > 0;) n = (n << 8) | bytes[i];
        KeyVal = FromUtf8(std::to_string(n));
    }
    host_.RegistryCloseKey(*key);
    return true;
}

void ShowAboutBox(Host& host) {
    frmAbout about(host);
    about.Form_Load();
    about.Show();
}

}  // namespace qv
