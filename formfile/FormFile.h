// Form files: a form's controls with their stored properties, saved and loaded as JSON.
//
// A file holds the form's title and, per control, its class, name, position and size (twips) and
// the keys its property bag holds, in order, each with its subtype. Loading is forgiving: a
// damaged or partly wrong file yields everything that could be read, and a list of problems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/MemoryPropertyBag.h"

namespace qv {

struct FormControl {
    String className;                                  // "QVtxtBoxControl"
    String name;                                       // the control's name on the form
    int32_t left = 0, top = 0, width = 0, height = 0;  // twips
    // The control's stored keys, in order, subtypes kept. Empty, Null, Boolean, Integer, Long,
    // Single, Double, Date and String values are saved, and Font and Picture objects, and
    // database connections by their description (no password; loading opens them again through
    // OpenConnection, so the engines must be registered); any other object is left out of the file. A control saving into it leaves out values equal to their
    // defaults (the bag's WriteProperty does), so a form file holds what was changed: a text box
    // at its defaults takes a few keys, not 26, and the file loads that much faster.
    MemoryPropertyBag properties{true, false};
};

struct FormDocument {
    String title;
    std::vector<FormControl> controls;
};

struct FormLoadResult {
    FormDocument form;
    std::vector<String> problems;  // one line each, in file order; empty when the file was sound
};

// Defaults for a control whose geometry is missing or unusable in a file.
inline constexpr int32_t kFormDefaultWidth = 1500;
inline constexpr int32_t kFormDefaultHeight = 300;
// The largest coordinate or size a file may hold.
inline constexpr int32_t kFormMaxTwips = 10'000'000;

// UTF-8, pretty-printed, members always in the same order, ending in a line break.
std::string FormToJson(const FormDocument& form);

// Reads what it can and lists the rest as problems; never throws for bad content: a value it
// cannot read (a number beyond a Double, an unpaired surrogate) is left out with a problem line
// naming its key, and the rest is read. Raises error 7 (out of memory) when memory runs out.
FormLoadResult FormFromJson(std::string_view utf8);

// Writes a temporary file in the same folder and renames it over `path`, so a failed save leaves
// the old file as it was. Raises error 75 (path/file access error) when it cannot write.
void SaveFormFile(const std::string& path, const FormDocument& form);

// The largest form file LoadFormFile reads by default: far above any real form (a form of 2,000
// text boxes is about 4 MB), low enough that loading it fits in memory.
inline constexpr size_t kFormFileMaxBytes = size_t{64} * 1024 * 1024;

// Raises error 53 (file not found) when the file cannot be opened or read, and error 7 (out of
// memory) when it is larger than `maxBytes` or memory runs out while loading.
FormLoadResult LoadFormFile(const std::string& path, size_t maxBytes = kFormFileMaxBytes);

}  // namespace qv
