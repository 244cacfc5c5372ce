// Writers of versions 202, 203 and 204.
#include "installer/dwx/DwxByteWriter.h"
#include "installer/dwx/DwxFields.h"
#include "installer/dwx/DwxIndexWarning.h"
#include "installer/dwx/DwxLayerSections.h"
#include "installer/dwx/Klasadwx.h"

#include <algorithm>
#include <string>

using namespace dwx;

namespace {

template <int W>
void StoreIndex(uint8_t* p, uint32_t index) {
    if constexpr (W == 1) {
        p[0] = static_cast<uint8_t>(index);
    } else if constexpr (W == 2) {
        DwxByteWriter::StoreU16(p, static_cast<uint16_t>(index));
    } else if constexpr (W == 3) {
        DwxByteWriter::StoreU24(p, index);
    } else {
        DwxByteWriter::StoreU32(p, index);
    }
}

void WriteFlagBlock(DwxByteWriter& out, const vcF& faces) {
    size_t done = 0;
    while (done < faces.size()) {
        const size_t chunk = std::min(faces.size() - done, DwxByteWriter::kMaxRoom);
        uint8_t* p = out.Room(chunk);
        for (size_t f = 0; f < chunk; ++f) {
            p[f] = faces[done + f].flag;
        }
        done += chunk;
    }
}

// An index that names no vertex: versions 203 and 204 warn and write it all the same, but an
// index wider than its field is refused rather than cut.
template <int W, bool Warn>
[[gnu::noinline]] void CheckStrayIndex(uint32_t index, size_t pointCount) {
    constexpr uint64_t kWidest = W == 4 ? kMax32 : (uint64_t{1} << (8 * W)) - 1;
    if constexpr (Warn) {
        ShowDwxIndexWarning(index, static_cast<uint32_t>(pointCount));
    }
    if (index > kWidest) {
        throw DwxError("the vertex index " + std::to_string(index) + " does not fit " +
                       std::to_string(W) + " bytes");
    }
}

// Every point count was checked to fit its field, so an index below it fits its width too.
template <int W, bool Warn>
void WriteFaceIndices(DwxByteWriter& out, const vcF& faces, size_t pointCount) {
    for (const CfaceF& face : faces) {
        uint8_t* p = out.Room(4 * W);
        for (int k = 0; k < 4; ++k) {
            const auto index = static_cast<uint32_t>(face.indices[k]);
            if (index >= pointCount) {
                CheckStrayIndex<W, Warn>(index, pointCount);
            }
            StoreIndex<W>(p + k * W, index);
        }
    }
}

void WriteScaledPoints(DwxByteWriter& out, const vcV& vertices, float scale) {
    for (const CpunktF& vertex : vertices) {
        uint8_t* p = out.Room(3 * 2);
        DwxByteWriter::StoreU16(p, static_cast<uint16_t>(StoredCoordinate(vertex.x, scale)));
        DwxByteWriter::StoreU16(p + 2, static_cast<uint16_t>(StoredCoordinate(vertex.y, scale)));
        DwxByteWriter::StoreU16(p + 4, static_cast<uint16_t>(StoredCoordinate(vertex.z, scale)));
    }
}

void WriteFloatPoints(DwxByteWriter& out, const vcV& vertices) {
    for (const CpunktF& vertex : vertices) {
        uint8_t* p = out.Room(3 * 4);
        DwxByteWriter::StoreF32(p, vertex.x);
        DwxByteWriter::StoreF32(p + 4, vertex.y);
        DwxByteWriter::StoreF32(p + 8, vertex.z);
    }
}

} // namespace

void KlasaDwx::CheckWritable(int fileVersion) const {
    const DefinicjaObiektu& d = definition;
    CheckLayerSectionsWritable(d);
    const size_t meshCount = d.meshNames.size();
    if (d.meshValues.size() != meshCount || d.meshVertices.size() != meshCount ||
        d.meshFaces.size() != meshCount) {
        throw DwxError("the meshes have " + std::to_string(meshCount) + " names, " +
                       std::to_string(d.meshValues.size()) + " values, " +
                       std::to_string(d.meshVertices.size()) + " vertex lists and " +
                       std::to_string(d.meshFaces.size()) + " face lists");
    }
    CheckCountFits(meshCount, fileVersion == 202 ? kMax8 : kMax32, "meshes");
    const uint64_t most = fileVersion == 202 ? kMax16 : fileVersion == 203 ? kMax24 : kMax32;
    for (size_t i = 0; i < meshCount; ++i) {
        CheckNameFits(d.meshNames[i], "mesh");
        CheckCountFits(d.meshVertices[i].size(), most, "points of a mesh");
        CheckCountFits(d.meshFaces[i].size(), most, "faces of a mesh");
    }
}

void KlasaDwx::SaveV202(DwxByteWriter& out) const {
    SaveScaledFile(out, 202);
}

void KlasaDwx::SaveV203(DwxByteWriter& out) const {
    SaveScaledFile(out, 203);
}

void KlasaDwx::SaveScaledFile(DwxByteWriter& out, int fileVersion) const {
    const bool narrow = fileVersion == 202;
    out.Bytes("DWX", 3);
    out.U8(static_cast<uint8_t>(fileVersion));
    for (int16_t tenths : dimensionTenths) {
        out.I16(tenths);
    }
    WriteLayerSections(out, definition);
    out.F32(scale);
    for (float dimension : dimensions) {
        out.F32(dimension);
    }

    const DefinicjaObiektu& d = definition;
    if (narrow) {
        out.U8(static_cast<uint8_t>(d.meshNames.size()));
    } else {
        out.U32(static_cast<uint32_t>(d.meshNames.size()));
    }
    for (size_t i = 0; i < d.meshNames.size(); ++i) {
        const vcV& vertices = d.meshVertices[i];
        const vcF& faces = d.meshFaces[i];
        WriteNameField(out, d.meshNames[i]);
        out.I32(d.meshValues[i]);
        uint8_t* reserved = out.Room(kReservedMeshBytes);
        std::fill(reserved, reserved + kReservedMeshBytes, uint8_t{0});
        out.I16(1); // the two unit words
        out.I16(1);
        if (narrow) {
            out.U16(static_cast<uint16_t>(vertices.size()));
            WriteScaledPoints(out, vertices, scale);
            out.U16(static_cast<uint16_t>(faces.size()));
            WriteFlagBlock(out, faces);
            WriteFaceIndices<2, false>(out, faces, vertices.size());
        } else {
            out.U24(static_cast<uint32_t>(vertices.size()));
            WriteScaledPoints(out, vertices, scale);
            out.U24(static_cast<uint32_t>(faces.size()));
            WriteFlagBlock(out, faces);
            WriteFaceIndices<3, true>(out, faces, vertices.size());
        }
    }
}

void KlasaDwx::SaveV204(DwxByteWriter& out) const {
    out.Bytes("DWX", 3);
    out.U8(204);
    for (float dimension : definition.dimensions) {
        out.F32(dimension);
    }
    WriteLayerSections(out, definition);

    const DefinicjaObiektu& d = definition;
    out.U32(static_cast<uint32_t>(d.meshNames.size()));
    for (size_t i = 0; i < d.meshNames.size(); ++i) {
        const vcV& vertices = d.meshVertices[i];
        const vcF& faces = d.meshFaces[i];
        WriteNameField(out, d.meshNames[i]);
        out.I32(d.meshValues[i]);
        out.U32(static_cast<uint32_t>(vertices.size()));
        WriteFloatPoints(out, vertices);
        out.U32(static_cast<uint32_t>(faces.size()));
        WriteFlagBlock(out, faces);
        switch (IndexWidthFor(vertices.size())) {
        case 1:
            WriteFaceIndices<1, true>(out, faces, vertices.size());
            break;
        case 2:
            WriteFaceIndices<2, true>(out, faces, vertices.size());
            break;
        case 3:
            WriteFaceIndices<3, true>(out, faces, vertices.size());
            break;
        default:
            WriteFaceIndices<4, true>(out, faces, vertices.size());
            break;
        }
    }
}
