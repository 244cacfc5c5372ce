// Readers of versions 202, 203 and 204, and the steps they share with the reader of version 201.
#include "installer/dwx/DwxByteReader.h"
#include "installer/dwx/DwxFaceBlock.h"
#include "installer/dwx/DwxFields.h"
#include "installer/dwx/DwxLayerSections.h"
#include "installer/dwx/Klasadwx.h"

#include <algorithm>
#include <string>

namespace dwx {

void RefuseFaceIndex(size_t mesh, size_t face, const uint32_t (&indices)[4], size_t pointCount) {
    uint32_t stray = indices[0];
    for (const uint32_t index : indices) {
        if (index >= pointCount) {
            stray = index;
            break;
        }
    }
    throw DwxError("face " + std::to_string(face) + " of mesh " + std::to_string(mesh) +
                   " names vertex " + std::to_string(stray) + " of " + std::to_string(pointCount));
}

} // namespace dwx

using namespace dwx;

namespace {

// Moves the spare lists, largest first, into the (new, empty) lists of the meshes. Spares left
// over are freed, so that what a model keeps never exceeds what its last load needed.
template <class List>
void TakeSpareLists(std::vector<List>& spares, std::vector<List>& lists) {
    if (spares.empty()) {
        return;
    }
    std::sort(spares.begin(), spares.end(),
              [](const List& a, const List& b) { return a.capacity() > b.capacity(); });
    const size_t taken = std::min(spares.size(), lists.size());
    for (size_t i = 0; i < taken; ++i) {
        lists[i] = std::move(spares[i]);
    }
    spares.clear();
}

// A face of a mesh without points names a vertex that is not there, whatever its indices; the
// file is refused before anything is set aside for its faces.
void RefuseFacesWithoutPoints(size_t mesh, uint32_t pointCount, uint32_t faceCount) {
    if (pointCount == 0 && faceCount != 0) {
        throw DwxError("mesh " + std::to_string(mesh) + " has " + std::to_string(faceCount) +
                       " faces but no points");
    }
}

void ReadFlagBlock(DwxByteReader& in, uint32_t faceCount, std::vector<uint8_t>& faceFlags) {
    faceFlags.resize(faceCount);
    in.ReadInto(faceFlags.data(), faceCount);
}

} // namespace

bool KlasaDwx::BeginLoad(DwxByteReader& in, const std::filesystem::path& file) {
    EmptyListsBeforeLoad();
    if (!OpenForReading(in, file)) {
        return false;
    }
    in.Skip(3); // the probe has compared the magic
    version = in.U8();
    return true;
}

bool KlasaDwx::BeginScaledLoad(DwxByteReader& in, const std::filesystem::path& file) {
    if (!BeginLoad(in, file)) {
        return false;
    }
    for (int16_t& tenths : dimensionTenths) {
        tenths = in.I16();
    }
    return true;
}

void KlasaDwx::DimensionsFromTenths() {
    for (int j = 0; j < 3; ++j) {
        dimensions[j] = static_cast<float>(dimensionTenths[j]) / 10.0f;
        definition.dimensions[j] = dimensions[j];
    }
}

uint32_t KlasaDwx::ReadMeshCount(DwxByteReader& in, bool byteCount, uint64_t smallestMeshBytes) {
    const uint32_t meshCount = byteCount ? in.U8() : in.U32();
    in.RequireRoomFor(meshCount, smallestMeshBytes, "meshes");
    DefinicjaObiektu& d = definition;
    d.meshNames.resize(meshCount);
    d.meshValues.resize(meshCount);
    d.meshVertices.resize(meshCount);
    d.meshFaces.resize(meshCount);
    // Lists of an earlier load bring their memory along: the largest to the first meshes.
    TakeSpareLists(spareVertexLists_, d.meshVertices);
    TakeSpareLists(spareFaceLists_, d.meshFaces);
    return meshCount;
}

void KlasaDwx::ReadMeshNameAndValue(DwxByteReader& in, size_t mesh) {
    definition.meshNames[mesh] = ReadNameField(in);
    definition.meshValues[mesh] = in.I32();
}

void KlasaDwx::LoadV202(const std::filesystem::path& file) {
    DwxByteReader in;
    if (!BeginScaledLoad(in, file)) {
        return;
    }
    ReadLayerSections(in, definition);
    DimensionsFromTenths();
    scale = in.F32();
    in.Skip(3 * 4); // version 202 keeps the dimensions of its header
    LoadScaledMeshes(in, 202);
    in.ExpectEnd();
}

void KlasaDwx::LoadV203(const std::filesystem::path& file) {
    DwxByteReader in;
    if (!BeginScaledLoad(in, file)) {
        return;
    }
    ReadLayerSections(in, definition);
    scale = in.F32();
    for (int j = 0; j < 3; ++j) {
        dimensions[j] = CheckedDimension(in.F32());
        definition.dimensions[j] = dimensions[j];
    }
    LoadScaledMeshes(in, 203);
    in.ExpectEnd();
}

void KlasaDwx::LoadScaledMeshes(DwxByteReader& in, int fileVersion) {
    // Versions 201 and 202 count meshes in one byte and points and faces in two; version 203
    // in four and three.
    const bool narrow = fileVersion <= 202;
    const uint64_t countBytes = narrow ? 2 : 3;
    const uint32_t meshCount = ReadMeshCount(
        in, narrow, kNameFieldBytes + 4 + kReservedMeshBytes + kUnitWordBytes + 2 * countBytes);
    DefinicjaObiektu& d = definition;
    // Version 201 places the face corners relative to the dimensions of its header.
    const CpunktF shift{dimensions[0], dimensions[1], dimensions[2]};
    for (uint32_t i = 0; i < meshCount; ++i) {
        ReadMeshNameAndValue(in, i);
        in.Skip(kReservedMeshBytes + kUnitWordBytes);

        const uint32_t pointCount = narrow ? in.U16() : in.U24();
        in.RequireRoomFor(pointCount, 3 * 2, "points");
        ReadScaledPoints(in, pointCount, scale, d.meshVertices[i]);

        const uint32_t faceCount = narrow ? in.U16() : in.U24();
        RefuseFacesWithoutPoints(i, pointCount, faceCount);
        in.RequireRoomFor(faceCount, 1 + 4 * countBytes, "faces");
        ReadFlagBlock(in, faceCount, faceFlags);
        if (fileVersion == 201) {
            ReadFaceIndices<2, true>(in, i, faceFlags, d.meshVertices[i], d.meshFaces[i], shift);
        } else if (narrow) {
            ReadFaceIndices<2>(in, i, faceFlags, d.meshVertices[i], d.meshFaces[i]);
        } else {
            ReadFaceIndices<3>(in, i, faceFlags, d.meshVertices[i], d.meshFaces[i]);
        }
    }
}

void KlasaDwx::LoadV204(const std::filesystem::path& file) {
    DwxByteReader in;
    if (!BeginLoad(in, file)) {
        return;
    }
    for (int j = 0; j < 3; ++j) {
        dimensions[j] = CheckedDimension(in.F32());
        definition.dimensions[j] = dimensions[j];
        dimensionTenths[j] = TenthsOf(dimensions[j]);
    }
    ReadLayerSections(in, definition);
    LoadV204Meshes(in);
    in.ExpectEnd();
    // Version 204 stores neither; these let the object be written as version 203 right away.
    scale = 1.0f;
    for (int j = 0; j < 3; ++j) {
        dimensionTenths[j] = TenthsOf(dimensions[j]);
    }
}

void KlasaDwx::LoadV204Meshes(DwxByteReader& in) {
    const uint32_t meshCount = ReadMeshCount(in, false, kNameFieldBytes + 4 + 4 + 4);
    DefinicjaObiektu& d = definition;
    for (uint32_t i = 0; i < meshCount; ++i) {
        ReadMeshNameAndValue(in, i);

        const uint32_t pointCount = in.U32();
        in.RequireRoomFor(pointCount, 3 * 4, "points");
        ReadFloatPoints(in, pointCount, d.meshVertices[i]);

        const uint32_t faceCount = in.U32();
        RefuseFacesWithoutPoints(i, pointCount, faceCount);
        const int width = IndexWidthFor(pointCount);
        in.RequireRoomFor(faceCount, 1 + 4 * static_cast<uint64_t>(width), "faces");
        ReadFlagBlock(in, faceCount, faceFlags);
        WithIndexWidth(width, [&](auto w) {
            ReadFaceIndices<decltype(w)::value>(in, i, faceFlags, d.meshVertices[i],
                                                d.meshFaces[i]);
        });
    }
}
