// Runs a fuzz target's inputs without libFuzzer, so that every build replays the seed corpus and
// any saved crash: <target>_fuzz_replay [-v] FILE_OR_FOLDER... (-v prints each step). A violated
// invariant aborts with a report on stderr; otherwise the exit code is 0.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern bool gFuzzTrace;

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        gFuzzTrace |= arg == "-v";
        if (fs::is_directory(arg))
            for (const auto& entry : fs::directory_iterator(arg)) files.push_back(entry.path());
        else if (arg != "-v")
            files.emplace_back(arg);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s [-v] FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        if (gFuzzTrace) std::fprintf(stderr, "== %s\n", file.c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs replayed, all invariants held\n", files.size());
    return 0;
}
