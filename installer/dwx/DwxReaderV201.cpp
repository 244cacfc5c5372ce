// Reader of version 201, the oldest layout: no layer sections, a list of 12-byte records that
// nothing uses, then the scale block and meshes laid out like those of version 202.
#include "installer/dwx/DwxByteReader.h"
#include "installer/dwx/DwxFaceBlock.h"
#include "installer/dwx/DwxFields.h"
#include "installer/dwx/Klasadwx.h"

using namespace dwx;

namespace {

constexpr uint64_t kDroppedRecordBytes = 12;
// Name field, mesh value, reserved block, unit words, point and face counts.
constexpr uint64_t kSmallestMeshBytes =
    kNameFieldBytes + 4 + kReservedMeshBytes + kUnitWordBytes + 2 + 2;

} // namespace

void KlasaDwx::LoadV201(const std::filesystem::path& file) {
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
    const int32_t recordCount = in.I32();
    if (recordCount > 0) {
        in.RequireRoomFor(static_cast<uint64_t>(recordCount), kDroppedRecordBytes, "records");
        in.Skip(static_cast<uint64_t>(recordCount) * kDroppedRecordBytes);
    }
    for (int j = 0; j < 3; ++j) {
        dimensions[j] = static_cast<float>(dimensionTenths[j]) / 10.0f;
        definition.dimensions[j] = dimensions[j];
    }
    scale = in.F32();
    in.Skip(3 * 4);

    const uint8_t meshCount = in.U8();
    in.RequireRoomFor(meshCount, kSmallestMeshBytes, "meshes");
    DefinicjaObiektu& d = definition;
    d.meshNames.resize(meshCount);
    d.meshValues.resize(meshCount);
    d.meshVertices.resize(meshCount);
    d.meshFaces.resize(meshCount);
    const CpunktF shift{dimensions[0], dimensions[1], dimensions[2]};
    for (size_t i = 0; i < meshCount; ++i) {
        d.meshNames[i] = ReadNameField(in);
        d.meshValues[i] = in.I32();
        in.Skip(kReservedMeshBytes + kUnitWordBytes);

        const uint16_t pointCount = in.U16();
        in.RequireRoomFor(pointCount, 3 * 2, "points");
        vcV& vertices = d.meshVertices[i];
        vertices.reserve(pointCount);
        for (uint16_t p = 0; p < pointCount; ++p) {
            vertices.push_back(UnscaledPoint(in.Take(3 * 2), scale));
        }

        const uint16_t faceCount = in.U16();
        in.RequireRoomFor(faceCount, 1 + 4 * 2, "faces");
        faceFlags.resize(faceCount);
        in.ReadInto(faceFlags.data(), faceCount);
        ReadFaceIndices<2, true>(in, i, faceFlags, vertices, d.meshFaces[i], shift);
    }
    in.ExpectEnd();

    // The header's dimensions only placed the face corners; the object itself has none.
    d.dimensions = {};
    dimensions = {};
    dimensionTenths = {};
}
