// The library's About dialog, shown by every control's ShowAboutBox method.
#pragma once

#include "library/Host.h"

namespace qv {

// Title, version ("major.minor.revision") and description of this library.
AboutInfo LibraryAboutInfo();

// Shows the About dialog modally through the host; returns when it has been closed.
void ShowAboutBox(Host& host);

}  // namespace qv
