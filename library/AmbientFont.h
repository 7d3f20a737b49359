// Adoption of the container's font by a newly placed control.
#pragma once

#include "library/Font.h"
#include "library/Host.h"

namespace qv {

// Copies the host's ambient font into `font`, attribute by attribute in the order bold, character
// set, italic, name, size, strikethrough, underline, weight. A failing copy (or a failing read of
// the ambient font) is skipped and the next attribute copied.
void CopyAmbientFont(Host& host, Font& font);

}  // namespace qv
