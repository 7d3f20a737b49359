// Runs a fuzz target's inputs without libFuzzer, so that every build replays the seed corpus and
// any saved crash: numbox_fuzz_replay [-v] FILE_OR_FOLDER... (-v prints each step). A violated
// invariant aborts with a report on stderr; otherwise the exit code is 0.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern bool gNumBoxFuzzTrace;

namespace {

bool RunFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    if (gNumBoxFuzzTrace) std::fprintf(stderr, "== %s\n", file.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-v") {
            gNumBoxFuzzTrace = true;
        } else if (std::filesystem::is_directory(arg)) {
            std::vector<std::filesystem::path> inDir;
            for (const auto& entry : std::filesystem::directory_iterator(arg))
                if (entry.is_regular_file()) inDir.push_back(entry.path());
            std::sort(inDir.begin(), inDir.end());
            files.insert(files.end(), inDir.begin(), inDir.end());
        } else {
            files.emplace_back(arg);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s [-v] FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    for (const auto& f : files)
        if (!RunFile(f)) return 1;
    std::printf("%zu inputs replayed, all invariants held\n", files.size());
    return 0;
}
