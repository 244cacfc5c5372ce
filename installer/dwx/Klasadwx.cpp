#include "installer/dwx/Klasadwx.h"

#include "installer/dwx/DwxByteReader.h"
#include "installer/dwx/DwxByteWriter.h"
#include "installer/dwx/DwxError.h"
#include "installer/dwx/DwxFileReplacement.h"

#include <cstdio>
#include <new>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const UnicodeString& path) {
    return fs::path(path.ToUtf8());
}

} // namespace

int KlasaDwx::ReadFileVersion(const UnicodeString& path) {
    return ReadFileVersion(PathOf(path));
}

int KlasaDwx::ReadFileVersion(const fs::path& file) {
    std::error_code error;
    if (!fs::exists(file, error)) {
        return -1;
    }
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (!stream) {
        return -1;
    }
    unsigned char magic[3] = {};
    int answer = -1;
    if (std::fread(magic, 1, 3, stream) == 3 && magic[0] == 'D' && magic[1] == 'W' &&
        magic[2] == 'X') {
        // A file of the bare magic keeps the object's version; its reader then finds it
        // truncated.
        unsigned char versionByte = version;
        if (std::fread(&versionByte, 1, 1, stream) == 1) {
            version = versionByte;
        }
        answer = version;
    }
    std::fclose(stream);
    return answer;
}

int KlasaDwx::LoadFromFile(const UnicodeString& path) {
    lastProblem.clear();
    const fs::path file = PathOf(path);
    if (ReadFileVersion(file) < 0) {
        lastProblem = "not a DWX file";
        return 0;
    }
    try {
        switch (version) {
        case 201:
            LoadV201(file);
            break;
        case 202:
            LoadV202(file);
            break;
        case 203:
            LoadV203(file);
            break;
        case 204:
            LoadV204(file);
            break;
        case 0:
            // Its answer could not be told from a refusal, so it is one, with its reason.
            lastProblem = "the version byte 0 names no DWX version";
            break;
        default:
            break;
        }
    } catch (const DwxError& refused) {
        ForgetFileContent();
        lastProblem = refused.what();
        return 0;
    } catch (const std::bad_alloc&) {
        // Every count was checked against the file, so this is a file too large for the
        // memory there is, and refused like any file that cannot be read whole.
        ForgetFileContent();
        ReleaseSpareLists();
        lastProblem = "the drawing needs more memory than the process can have";
        return 0;
    }
    return version;
}

bool KlasaDwx::OpenForReading(DwxByteReader& in, const fs::path& file) {
    if (in.Open(file)) {
        return true;
    }
    lastProblem = "the file could not be opened for reading";
    return false;
}

void KlasaDwx::EmptyListsBeforeLoad() {
    // The face and vertex lists keep their memory for the next load: most of a load's time is
    // the kernel handing out fresh pages, which a list that was filled before does not need.
    for (vcF& faces : definition.meshFaces) {
        faces.clear();
        spareFaceLists_.push_back(std::move(faces));
    }
    for (vcV& vertices : definition.meshVertices) {
        vertices.clear();
        spareVertexLists_.push_back(std::move(vertices));
    }
    definition.meshFaces.clear();
    definition.meshVertices.clear();
    definition.meshNames.clear();
    definition.circleNames.clear();
    definition.lineNames.clear();
    definition.polylineNames.clear();
    definition.meshValues.clear();
}

void KlasaDwx::ReleaseSpareLists() {
    spareFaceLists_ = {};
    spareVertexLists_ = {};
}

void KlasaDwx::ForgetFileContent() {
    EmptyListsBeforeLoad();
    DefinicjaObiektu& d = definition;
    d.arcNames.clear();
    d.polylines.clear();
    d.circles.clear();
    d.lines.clear();
    d.arcs.clear();
    d.lineValues.clear();
    d.circleValues.clear();
    d.polylineValues.clear();
    d.arcValues.clear();
    d.dimensions = {};
    faceFlags.clear();
    version = 0;
    dimensionTenths = {};
    dimensions = {};
    scale = 1.0f;
}

bool KlasaDwx::SaveToFile(const UnicodeString& path, uint8_t requestedVersion) {
    lastProblem.clear();
    if (definition.meshFaces.empty()) {
        lastProblem = "the object has no mesh; nothing was written";
        return false;
    }
    const uint8_t chosen = requestedVersion != 0 ? requestedVersion : version;
    const int fileVersion = chosen <= 202 ? 202 : chosen == 203 ? 203 : 204;
    try {
        CheckWritable(fileVersion);
        DwxFileReplacement replacement(PathOf(path));
        DwxByteWriter out(replacement.Stream());
        switch (fileVersion) {
        case 202:
            SaveV202(out);
            break;
        case 203:
            SaveV203(out);
            break;
        default:
            SaveV204(out);
            break;
        }
        out.Flush();
        replacement.Commit();
    } catch (const DwxError& refused) {
        lastProblem = refused.what();
        return false;
    } catch (const std::bad_alloc&) {
        lastProblem = "the file needs more memory than the process can have; nothing was written";
        return false;
    }
    version = chosen;
    return true;
}
