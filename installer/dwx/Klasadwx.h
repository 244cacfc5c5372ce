// One DWX drawing file in memory: reads versions 201 to 204 and writes versions 202 to 204.
//
// The installer creates one object per drawing file, loads it, and writes it back as version 203
// when the target program is too old for version 204. A user's drawing must survive that
// rewrite, so:
//  - a load checks every field against the bytes the file really has. A file that ends before
//    its counts are met, has bytes after its last mesh, or names a vertex its mesh does not have
//    is refused as a whole: the object is left without content, `version` is 0 and LoadFromFile
//    returns 0, so nothing is ever written back from half a file;
//  - a save goes to a temporary file beside the target and replaces the target only after the
//    whole file was written and closed without error;
//  - a save refuses a model that the chosen version cannot hold (a coordinate outside the
//    16-bit field, a count or index wider than its field, a name longer than 31 bytes, parallel
//    lists of different lengths) and leaves the target untouched.
// Why a load or save failed is kept in `lastProblem` for logs and tools. One object can load
// many files in turn: the memory of its face and vertex lists is kept from one load to the next.
// The writers' warning about a stray face index goes through the handler of DwxIndexWarning.h.
#pragma once

#include "installer/dwx/DefinicjaObiektu.h"
#include "platform/rtl/UnicodeString.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class DwxByteReader;
class DwxByteWriter;

struct KlasaDwx {
    // Flag bytes of the mesh a reader is reading; after a load, those of the last mesh read.
    std::vector<uint8_t> faceFlags;
    std::array<double, 4> factors{1.0, 1.0, 1.0, 1.0};
    AnsiString text;
    uint8_t version = 202;
    std::array<int16_t, 3> dimensionTenths{};
    std::array<float, 3> dimensions{};
    // Stored 16-bit point = vertex coordinate x scale, truncated (versions 201 to 203).
    float scale = 1.0f;
    DefinicjaObiektu definition;
    // Empty after a successful load or save; otherwise the reason, for logs.
    std::string lastProblem;

    // Reads a file of version 201 to 204 and answers its version byte. 0 when the file is no DWX
    // file or was refused as malformed. Another version byte is answered as it is, with nothing
    // but `version` changed.
    int LoadFromFile(const UnicodeString& path);

    // The file's version byte (also stored in `version`), or -1 when there is no file or it does
    // not begin with "DWX".
    int ReadFileVersion(const UnicodeString& path);

    // Writes the object as version 202 (requests up to 202), 203, or 204 (requests 204 and up);
    // 0 asks for the object's own `version`. On success `version` becomes the request and the
    // answer is true. False, with the target untouched, when the object has no mesh, the version
    // cannot hold the model, or the file could not be written.
    bool SaveToFile(const UnicodeString& path, uint8_t requestedVersion = 0);

private:
    int ReadFileVersion(const std::filesystem::path& file);
    void LoadV201(const std::filesystem::path& file);
    void LoadV202(const std::filesystem::path& file);
    void LoadV203(const std::filesystem::path& file);
    void LoadV204(const std::filesystem::path& file);
    // Versions 201 to 203: the mesh section, with the counts and index width of fileVersion.
    void LoadScaledMeshes(DwxByteReader& in, int fileVersion);
    void LoadV204Meshes(DwxByteReader& in);
    // Empties the lists a load fills, opens the file and reads the magic and the version byte;
    // false, after emptying, when the file cannot be opened.
    bool BeginLoad(DwxByteReader& in, const std::filesystem::path& file);
    // BeginLoad, then the dimension tenths of versions 201 to 203.
    bool BeginScaledLoad(DwxByteReader& in, const std::filesystem::path& file);
    void DimensionsFromTenths();
    // Reads the mesh count (one byte or four), refuses more meshes than the rest of the file
    // can hold and brings the four mesh lists to that count.
    uint32_t ReadMeshCount(DwxByteReader& in, bool byteCount, uint64_t smallestMeshBytes);
    void ReadMeshNameAndValue(DwxByteReader& in, size_t mesh);
    // A file that vanished after the probe leaves the emptied lists and the probed version.
    bool OpenForReading(DwxByteReader& in, const std::filesystem::path& file);
    void EmptyListsBeforeLoad();
    void ForgetFileContent();
    void ReleaseSpareLists();

    void CheckWritable(int fileVersion) const;
    void SaveV202(DwxByteWriter& out) const;
    void SaveV203(DwxByteWriter& out) const;
    void SaveV204(DwxByteWriter& out) const;
    void SaveScaledFile(DwxByteWriter& out, int fileVersion) const;

    // Emptied face and vertex lists of earlier loads, kept with their memory for the next one.
    std::vector<vcF> spareFaceLists_;
    std::vector<vcV> spareVertexLists_;
};
