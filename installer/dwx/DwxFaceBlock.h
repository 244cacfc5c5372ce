// The point and index blocks of a mesh, shared by every reader. An index that names no vertex of
// its mesh refuses the file, since its corner has nothing to copy and a rewrite would pass the
// fault on.
#pragma once

#include "installer/dwx/DefinicjaObiektu.h"
#include "installer/dwx/DwxByteReader.h"
#include "installer/dwx/DwxFields.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dwx {

// Refuses the first of the face's four indices that is not below pointCount.
[[noreturn]] void RefuseFaceIndex(size_t mesh, size_t face, const uint32_t (&indices)[4],
                                  size_t pointCount);

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

// The points are appended as they are decoded, so the fresh memory of the list is written once
// (a sized list would be zeroed first: one more pass over memory the process has never touched).
// The caller has checked that the file holds pointCount points.

// Version 204: three float32 a point, their bits as they are.
inline void ReadFloatPoints(DwxByteReader& in, size_t pointCount, vcV& vertices) {
    vertices.reserve(pointCount);
    ForEachRecordRun(in, pointCount, 3 * 4, [&](const uint8_t* p, size_t, size_t n) {
        for (size_t i = 0; i < n; ++i, p += 3 * 4) {
            vertices.push_back({DwxByteReader::LoadF32(p), DwxByteReader::LoadF32(p + 4),
                                DwxByteReader::LoadF32(p + 8)});
        }
    });
}

// Versions 201 to 203: three int16 a point, each divided by the scale.
inline void ReadScaledPoints(DwxByteReader& in, size_t pointCount, float scale, vcV& vertices) {
    vertices.reserve(pointCount);
    ForEachRecordRun(in, pointCount, 3 * 2, [&](const uint8_t* p, size_t, size_t n) {
        for (size_t i = 0; i < n; ++i, p += 3 * 2) {
            vertices.push_back(UnscaledPoint(p, scale));
        }
    });
}

// Reads the faces after their flag block, one face per flag. Each corner copies the vertex its
// index names; version 201 also moves the copies by minus `shift`.
template <int W, bool Shifted = false>
void ReadFaceIndices(DwxByteReader& in, size_t mesh, const std::vector<uint8_t>& flags,
                     const vcV& vertices, vcF& faces, const CpunktF& shift = {}) {
    const size_t pointCount = vertices.size();
    const CpunktF* points = vertices.data();
    // Each face is made in place as it is read, so the fresh memory is written once.
    faces.reserve(flags.size());
    ForEachRecordRun(in, flags.size(), 4 * W, [&](const uint8_t* p, size_t first, size_t n) {
        for (size_t f = first; f < first + n; ++f, p += 4 * W) {
            const uint32_t indices[4] = {LoadIndex<W>(p), LoadIndex<W>(p + W),
                                         LoadIndex<W>(p + 2 * W), LoadIndex<W>(p + 3 * W)};
            if ((indices[0] >= pointCount) | (indices[1] >= pointCount) |
                (indices[2] >= pointCount) | (indices[3] >= pointCount)) {
                RefuseFaceIndex(mesh, f, indices, pointCount);
            }
            CfaceF& face = faces.emplace_back();
            for (int k = 0; k < 4; ++k) {
                face.corners[k] = points[indices[k]];
                if constexpr (Shifted) {
                    face.corners[k].x -= shift.x;
                    face.corners[k].y -= shift.y;
                    face.corners[k].z -= shift.z;
                }
            }
            face.flag = flags[f];
            for (int k = 0; k < 4; ++k) {
                face.indices[k] = static_cast<int32_t>(indices[k]);
            }
        }
    });
}

} // namespace dwx
