// The index block of a mesh, shared by every reader: four vertex indices a face, each W bytes.
// An index that names no vertex of its mesh refuses the file, since its corner has nothing to
// copy and a rewrite would pass the fault on.
#pragma once

#include "installer/dwx/DefinicjaObiektu.h"
#include "installer/dwx/DwxByteReader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dwx {

[[noreturn]] void RefuseFaceIndex(size_t mesh, size_t face, uint32_t index, size_t pointCount);

template <int W>
inline uint32_t LoadIndex(const uint8_t* p) {
    if constexpr (W == 1) {
        return p[0];
    } else if constexpr (W == 2) {
        return DwxByteReader::LoadU16(p);
    } else if constexpr (W == 3) {
        return DwxByteReader::LoadU24(p);
    } else {
        return DwxByteReader::LoadU32(p);
    }
}

// Reads faceCount faces after their flag block. Each corner copies the vertex its index names;
// version 201 also moves the copies by minus `shift`.
template <int W, bool Shifted = false>
void ReadFaceIndices(DwxByteReader& in, size_t mesh, const std::vector<uint8_t>& flags,
                     const vcV& vertices, vcF& faces, const CpunktF& shift = {}) {
    const size_t pointCount = vertices.size();
    faces.reserve(flags.size());
    for (size_t f = 0; f < flags.size(); ++f) {
        const uint8_t* p = in.Take(4 * W);
        CfaceF face;
        face.flag = flags[f];
        for (int k = 0; k < 4; ++k) {
            const uint32_t index = LoadIndex<W>(p + k * W);
            if (index >= pointCount) {
                RefuseFaceIndex(mesh, f, index, pointCount);
            }
            face.indices[k] = static_cast<int32_t>(index);
            face.corners[k] = vertices[index];
            if constexpr (Shifted) {
                face.corners[k].x -= shift.x;
                face.corners[k].y -= shift.y;
                face.corners[k].z -= shift.z;
            }
        }
        faces.push_back(face);
    }
}

} // namespace dwx
