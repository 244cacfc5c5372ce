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

// The flag block and the index block of a mesh, filled together in one pass over its faces:
// the faces are the bulk of the model, and a pass over them costs more than the bytes written.
// Every point count was checked to fit its field, so an index below it fits its width too.
template <int W, bool Warn>
void WriteFaceBlocks(DwxByteWriter& out, const vcF& faces, size_t pointCount) {
    const size_t faceCount = faces.size();
    uint8_t* flags = out.Room(faceCount * (1 + 4 * W));
    uint8_t* indices = flags + faceCount;
    const CfaceF* in = faces.data();
    for (size_t f = 0; f < faceCount; ++f, indices += 4 * W) {
        // Everything is loaded before the first store, which may alias the faces.
        const uint8_t flag = in[f].flag;
        uint32_t index[4];
        for (int k = 0; k < 4; ++k) {
            index[k] = static_cast<uint32_t>(in[f].indices[k]);
        }
        flags[f] = flag;
        if ((index[0] >= pointCount) | (index[1] >= pointCount) | (index[2] >= pointCount) |
            (index[3] >= pointCount)) {
            for (const uint32_t stray : index) {
                if (stray >= pointCount) {
                    CheckStrayIndex<W, Warn>(stray, pointCount);
                }
            }
        }
        for (int k = 0; k < 4; ++k) {
            StoreIndex<W>(indices + k * W, index[k]);
        }
    }
}

void WriteScaledPoints(DwxByteWriter& out, const vcV& vertices, float scale) {
    const CpunktF* in = vertices.data();
    ForEachRoomRun(out, vertices.size(), 3 * 2, [&](uint8_t* p, size_t first, size_t n) {
        for (size_t i = first; i < first + n; ++i, p += 3 * 2) {
            DwxByteWriter::StoreU16(p, static_cast<uint16_t>(StoredCoordinate(in[i].x, scale)));
            DwxByteWriter::StoreU16(p + 2, static_cast<uint16_t>(StoredCoordinate(in[i].y, scale)));
            DwxByteWriter::StoreU16(p + 4, static_cast<uint16_t>(StoredCoordinate(in[i].z, scale)));
        }
    });
}

void WriteFloatPoints(DwxByteWriter& out, const vcV& vertices) {
    const CpunktF* in = vertices.data();
    ForEachRoomRun(out, vertices.size(), 3 * 4, [in](uint8_t* p, size_t first, size_t n) {
        for (size_t i = first; i < first + n; ++i, p += 3 * 4) {
            DwxByteWriter::StoreF32(p, in[i].x);
            DwxByteWriter::StoreF32(p + 4, in[i].y);
            DwxByteWriter::StoreF32(p + 8, in[i].z);
        }
    });
}

void WriteMagic(DwxByteWriter& out, int fileVersion) {
    out.Bytes("DWX", 3);
    out.U8(static_cast<uint8_t>(fileVersion));
}

// The mesh count, then per mesh its name field and value followed by what writeBody writes
// from its vertices and faces.
template <class WriteBody>
void WriteMeshes(DwxByteWriter& out, const DefinicjaObiektu& d, bool byteCount,
                 WriteBody&& writeBody) {
    const size_t meshCount = d.meshNames.size();
    if (byteCount) {
        out.U8(static_cast<uint8_t>(meshCount));
    } else {
        out.U32(static_cast<uint32_t>(meshCount));
    }
    for (size_t i = 0; i < meshCount; ++i) {
        WriteNameField(out, d.meshNames[i]);
        out.I32(d.meshValues[i]);
        writeBody(d.meshVertices[i], d.meshFaces[i]);
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
    if (fileVersion == 202) {
        // Version 202 keeps the dimensions only as tenths in the header.
        for (const float dimension : dimensions) {
            CheckTenthsFit(dimension);
        }
    }
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
    WriteMagic(out, fileVersion);
    for (int16_t tenths : dimensionTenths) {
        out.I16(tenths);
    }
    WriteLayerSections(out, definition);
    out.F32(scale);
    for (float dimension : dimensions) {
        out.F32(dimension);
    }
    const auto writeCount = [&out, narrow](size_t count) {
        if (narrow) {
            out.U16(static_cast<uint16_t>(count));
        } else {
            out.U24(static_cast<uint32_t>(count));
        }
    };
    WriteMeshes(out, definition, narrow, [&](const vcV& vertices, const vcF& faces) {
        uint8_t* reserved = out.Room(kReservedMeshBytes);
        std::fill(reserved, reserved + kReservedMeshBytes, uint8_t{0});
        out.I16(1); // the two unit words
        out.I16(1);
        writeCount(vertices.size());
        WriteScaledPoints(out, vertices, scale);
        writeCount(faces.size());
        if (narrow) {
            WriteFaceBlocks<2, false>(out, faces, vertices.size());
        } else {
            WriteFaceBlocks<3, true>(out, faces, vertices.size());
        }
    });
}

void KlasaDwx::SaveV204(DwxByteWriter& out) const {
    WriteMagic(out, 204);
    for (float dimension : definition.dimensions) {
        out.F32(dimension);
    }
    WriteLayerSections(out, definition);
    WriteMeshes(out, definition, false, [&out](const vcV& vertices, const vcF& faces) {
        out.U32(static_cast<uint32_t>(vertices.size()));
        WriteFloatPoints(out, vertices);
        out.U32(static_cast<uint32_t>(faces.size()));
        WithIndexWidth(IndexWidthFor(vertices.size()), [&](auto w) {
            WriteFaceBlocks<decltype(w)::value, true>(out, faces, vertices.size());
        });
    });
}
