// Readers of versions 202, 203 and 204.
#include "installer/dwx/DwxByteReader.h"
#include "installer/dwx/DwxFaceBlock.h"
#include "installer/dwx/DwxFields.h"
#include "installer/dwx/DwxLayerSections.h"
#include "installer/dwx/Klasadwx.h"

#include <string>

namespace dwx {

void RefuseFaceIndex(size_t mesh, size_t face, uint32_t index, size_t pointCount) {
    throw DwxError("face " + std::to_string(face) + " of mesh " + std::to_string(mesh) +
                   " names vertex " + std::to_string(index) + " of " + std::to_string(pointCount));
}

} // namespace dwx

using namespace dwx;

namespace {

void ReadFlagBlock(DwxByteReader& in, uint32_t faceCount, std::vector<uint8_t>& faceFlags) {
    faceFlags.resize(faceCount);
    in.ReadInto(faceFlags.data(), faceCount);
}

} // namespace

void KlasaDwx::LoadV202(const std::filesystem::path& file) {
    EmptyListsBeforeLoad();
    DwxByteReader in;
    if (!OpenForReading(in, file)) {
        return;
    }
    in.Skip(3);
    version = in.U8();
    for (int16_t& tenths : dimensionTenths) {
        tenths = in.I16();
    }
    ReadLayerSections(in, definition);
    for (int j = 0; j < 3; ++j) {
        dimensions[j] = static_cast<float>(dimensionTenths[j]) / 10.0f;
        definition.dimensions[j] = dimensions[j];
    }
    scale = in.F32();
    in.Skip(3 * 4); // version 202 keeps the dimensions of its header
    LoadScaledMeshes(in, 202);
    in.ExpectEnd();
}

void KlasaDwx::LoadV203(const std::filesystem::path& file) {
    EmptyListsBeforeLoad();
    DwxByteReader in;
    if (!OpenForReading(in, file)) {
        return;
    }
    in.Skip(3);
    version = in.U8();
    for (int16_t& tenths : dimensionTenths) {
        tenths = in.I16();
    }
    ReadLayerSections(in, definition);
    scale = in.F32();
    for (int j = 0; j < 3; ++j) {
        dimensions[j] = in.F32();
        definition.dimensions[j] = dimensions[j];
    }
    LoadScaledMeshes(in, 203);
    in.ExpectEnd();
}

void KlasaDwx::LoadScaledMeshes(DwxByteReader& in, int fileVersion) {
    const bool narrow = fileVersion == 202;
    const uint64_t countBytes = narrow ? 2 : 3;
    const uint32_t meshCount = narrow ? in.U8() : in.U32();
    in.RequireRoomFor(meshCount,
                      kNameFieldBytes + 4 + kReservedMeshBytes + kUnitWordBytes + 2 * countBytes,
                      "meshes");
    DefinicjaObiektu& d = definition;
    d.meshNames.resize(meshCount);
    d.meshValues.resize(meshCount);
    d.meshVertices.resize(meshCount);
    d.meshFaces.resize(meshCount);
    for (uint32_t i = 0; i < meshCount; ++i) {
        d.meshNames[i] = ReadNameField(in);
        d.meshValues[i] = in.I32();
        in.Skip(kReservedMeshBytes + kUnitWordBytes);

        const uint32_t pointCount = narrow ? in.U16() : in.U24();
        in.RequireRoomFor(pointCount, 3 * 2, "points");
        vcV& vertices = d.meshVertices[i];
        vertices.reserve(pointCount);
        for (uint32_t p = 0; p < pointCount; ++p) {
            const uint8_t* b = in.Take(3 * 2);
            vertices.push_back(UnscaledPoint(b, scale));
        }

        const uint32_t faceCount = narrow ? in.U16() : in.U24();
        in.RequireRoomFor(faceCount, 1 + 4 * countBytes, "faces");
        ReadFlagBlock(in, faceCount, faceFlags);
        if (narrow) {
            ReadFaceIndices<2>(in, i, faceFlags, vertices, d.meshFaces[i]);
        } else {
            ReadFaceIndices<3>(in, i, faceFlags, vertices, d.meshFaces[i]);
        }
    }
}

void KlasaDwx::LoadV204(const std::filesystem::path& file) {
    EmptyListsBeforeLoad();
    DwxByteReader in;
    if (!OpenForReading(in, file)) {
        return;
    }
    in.Skip(3);
    version = in.U8();
    for (int j = 0; j < 3; ++j) {
        dimensions[j] = in.F32();
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
    const uint32_t meshCount = in.U32();
    in.RequireRoomFor(meshCount, kNameFieldBytes + 4 + 4 + 4, "meshes");
    DefinicjaObiektu& d = definition;
    d.meshNames.resize(meshCount);
    d.meshValues.resize(meshCount);
    d.meshVertices.resize(meshCount);
    d.meshFaces.resize(meshCount);
    for (uint32_t i = 0; i < meshCount; ++i) {
        d.meshNames[i] = ReadNameField(in);
        d.meshValues[i] = in.I32();

        const uint32_t pointCount = in.U32();
        in.RequireRoomFor(pointCount, 3 * 4, "points");
        vcV& vertices = d.meshVertices[i];
        vertices.reserve(pointCount);
        for (uint32_t p = 0; p < pointCount; ++p) {
            const uint8_t* b = in.Take(3 * 4);
            vertices.push_back({DwxByteReader::LoadF32(b), DwxByteReader::LoadF32(b + 4),
                                DwxByteReader::LoadF32(b + 8)});
        }

        const uint32_t faceCount = in.U32();
        const int width = IndexWidthFor(pointCount);
        in.RequireRoomFor(faceCount, 1 + 4 * static_cast<uint64_t>(width), "faces");
        ReadFlagBlock(in, faceCount, faceFlags);
        vcF& faces = d.meshFaces[i];
        switch (width) {
        case 1:
            ReadFaceIndices<1>(in, i, faceFlags, vertices, faces);
            break;
        case 2:
            ReadFaceIndices<2>(in, i, faceFlags, vertices, faces);
            break;
        case 3:
            ReadFaceIndices<3>(in, i, faceFlags, vertices, faces);
            break;
        default:
            ReadFaceIndices<4>(in, i, faceFlags, vertices, faces);
            break;
        }
    }
}
