// frmAbout: the library's About dialog, which every control's ShowAboutBox shows modally. Its
// widgets are made through the host by name; its system-information button looks the system's
// information program up in the host's settings store and starts it.
#pragma once

#include <cstdint>
#include <memory>

#include "library/Host.h"

namespace qv {

class frmAbout final : private NoticeSink {
  public:
    // Loads the form "frmAbout" through `host` and makes its widgets (hidden until shown).
    explicit frmAbout(Host& host);

    // Fills the texts: title and caption, version, description, the publisher.
    void Form_Load();
    // Shows the dialog modally; returns once it is unloaded.
    void Show();

    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the system's information program, or says it is unavailable.
    void StartSysInfo();
    // Reads value `SubKeyRef` of key `KeyName` under `KeyRoot` into `KeyVal` (a string value as
    // it is, a 32-bit number as decimal text); false, with KeyVal "", when it cannot be read.
    bool GetKeyValue(uint32_t KeyRoot, const String& KeyName, const String& SubKeyRef,
                     String& KeyVal);

    Form& GetForm() const { return *form_; }
    PictureSurface& Picture1;
    Label &Frame1, &lblTitle, &lblVersion, &lblDescription, &lblDisclaimer, &Label1, &Label2;
    ButtonWidget &cmdOK, &cmdSysInfo;

  private:
    frmAbout(Host& host, std::unique_ptr<Form> form);
    void Click(int16_t Index) override;

    Host& host_;
    std::unique_ptr<Form> form_;
};

// Title, version (major.minor.revision of the build) and description of this library.
String LibraryTitle();
String LibraryVersion();

// Shows a fresh About dialog modally, then unloads it.
void ShowAboutBox(Host& host);

}  // namespace qv
