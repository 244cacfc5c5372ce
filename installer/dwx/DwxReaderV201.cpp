// Reader of version 201, the oldest layout: no layer sections, a list of 12-byte records that
// nothing uses, then the scale block and meshes laid out like those of version 202.
#include "installer/dwx/DwxByteReader.h"
#include "installer/dwx/Klasadwx.h"

namespace {

constexpr uint64_t kDroppedRecordBytes = 12;

} // namespace

void KlasaDwx::LoadV201(const std::filesystem::path& file) {
    DwxByteReader in;
    if (!BeginScaledLoad(in, file)) {
        return;
    }
    const int32_t recordCount = in.I32();
    if (recordCount > 0) {
        in.RequireRoomFor(static_cast<uint64_t>(recordCount), kDroppedRecordBytes, "records");
        in.Skip(static_cast<uint64_t>(recordCount) * kDroppedRecordBytes);
    }
    DimensionsFromTenths();
    scale = in.F32();
    in.Skip(3 * 4);
    LoadScaledMeshes(in, 201);
    in.ExpectEnd();

    // The header's dimensions only placed the face corners; the object itself has none.
    definition.dimensions = {};
    dimensions = {};
    dimensionTenths = {};
}
