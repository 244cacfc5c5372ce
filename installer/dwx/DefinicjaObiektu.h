// The content of one drawing object: named layers of circles, lines, polylines and arcs, and
// named meshes of four-cornered faces. Everything is held by value; the file code copies the
// entity records whole and never looks inside them.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <array>
#include <cstdint>
#include <vector>

// A mesh vertex or face corner.
struct CpunktF {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// A polyline vertex position.
struct CpunktD {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// One face of a mesh. After a load, corner k is a copy of the vertex that index k names; the
// writers store only the flag and the indices.
struct CfaceF {
    std::array<CpunktF, 4> corners{};
    uint8_t flag = 0;
    std::array<int32_t, 4> indices{};
};

// A polyline vertex and the value that travels with it.
struct CPolyVertex {
    CpunktD position;
    double value = 0.0;
};

// flag, block and the per-vertex value belong to the drawing program; they pass through unchanged.
struct CPoly {
    uint8_t flag = 0;
    alignas(8) std::array<uint8_t, 24> block{};
    std::vector<CPolyVertex> vertices;
};

struct CCircle {
    std::array<uint8_t, 56> bytes{};
};

struct CLine {
    std::array<uint8_t, 48> bytes{};
};

struct CArc {
    std::array<uint8_t, 72> bytes{};
};

// Per-face normal; filled by the drawing program only, never by a file operation.
struct FNormalsD {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

using vcF = std::vector<CfaceF>;
using vcV = std::vector<CpunktF>;
using vcPoly = std::vector<CPoly>;
using vcCircle = std::vector<CCircle>;
using vcLine = std::vector<CLine>;
using vcArc = std::vector<CArc>;

// Per kind, the name, value and geometry lists run in parallel: entry i of each describes
// layer (or mesh) i. The writers take the layer count from the name list and refuse a model whose
// parallel lists differ in length.
struct DefinicjaObiektu {
    std::array<float, 3> dimensions{};
    std::array<float, 3> boundsMin{1e38f, 1e38f, 1e38f};
    std::array<float, 3> boundsMax{-1e38f, -1e38f, -1e38f};
    std::vector<AnsiString> meshNames;
    std::vector<AnsiString> lineNames;
    std::vector<AnsiString> circleNames;
    std::vector<AnsiString> polylineNames;
    std::vector<AnsiString> arcNames;
    std::vector<vcF> meshFaces;
    std::vector<vcV> meshVertices;
    std::vector<vcPoly> polylines;
    std::vector<vcCircle> circles;
    std::vector<vcLine> lines;
    std::vector<vcArc> arcs;
    std::vector<std::vector<FNormalsD>> faceNormals;
    std::vector<int32_t> meshValues;
    std::vector<int32_t> lineValues;
    std::vector<int32_t> circleValues;
    std::vector<int32_t> polylineValues;
    std::vector<int32_t> arcValues;
};
