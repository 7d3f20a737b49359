#include "library/AboutBox.h"

#include "library/ClassRegistry.h"

namespace qv {

AboutInfo LibraryAboutInfo() {
    const auto num = [](int n) { return FromUtf8(std::to_string(n)); };
    return AboutInfo{
        .title = TrimRightBlanks(kLibraryDescription),
        .version = num(kVersionMajor) + u"." + num(kVersionMinor) + u"." + num(kVersionRevision),
        .description =
            u"Data-entry controls for desktop database applications: text, numeric, "
            u"date and combo boxes that filter, format and validate what the user types.",
    };
}

void ShowAboutBox(Host& host) {
    host.ShowAboutDialog(LibraryAboutInfo());
}

}  // namespace qv
