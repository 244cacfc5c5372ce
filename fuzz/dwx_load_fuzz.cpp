// Feeds arbitrary bytes to the DWX loader through a file, the way the installer reads drawings.
// Whatever loads must also save and load again with the same shape, so a model the reader
// accepts can never become a file the reader refuses.
#include "installer/dwx/DwxIndexWarning.h"
#include "installer/dwx/Klasadwx.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// Counts are bounded by the file's size, so the model stays within a few times the input.
constexpr size_t kMaxInput = 1 << 20;

struct TempFile {
    explicit TempFile(const char* tag)
        : path(std::filesystem::temp_directory_path() /
               ("dwx_load_fuzz_" + std::to_string(getpid()) + tag)) {}
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    UnicodeString Text() const { return UnicodeString(path.string()); }
    std::filesystem::path path;
};

size_t FacesOf(const KlasaDwx& dwx) {
    size_t faces = 0;
    for (const vcF& mesh : dwx.definition.meshFaces) {
        faces += mesh.size();
    }
    return faces;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kMaxInput) {
        return 0;
    }
    static const bool quiet = [] {
        SetDwxIndexWarningHandler([](const UnicodeString&) {});
        return true;
    }();
    (void)quiet;
    static const TempFile input(".dwx");
    static const TempFile output("_out.dwx");
    if (std::FILE* file = std::fopen(input.path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    } else {
        return 0;
    }
    KlasaDwx dwx;
    const int version = dwx.LoadFromFile(input.Text());
    if (version < 201 || version > 204) {
        return 0;
    }
    for (uint8_t target : {uint8_t{203}, uint8_t{204}}) {
        KlasaDwx copy = dwx;
        if (!copy.SaveToFile(output.Text(), target)) {
            continue; // declined: the model does not fit that version
        }
        KlasaDwx again;
        if (again.LoadFromFile(output.Text()) != target ||
            again.definition.meshNames.size() != dwx.definition.meshNames.size() ||
            FacesOf(again) != FacesOf(dwx) ||
            again.definition.circles.size() != dwx.definition.circles.size() ||
            again.definition.polylines.size() != dwx.definition.polylines.size()) {
            std::abort();
        }
    }
    return 0;
}
