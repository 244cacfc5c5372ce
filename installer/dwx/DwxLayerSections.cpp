#include "installer/dwx/DwxLayerSections.h"

#include "installer/dwx/DwxFields.h"

#include <string>

namespace dwx {
namespace {

static_assert(sizeof(CCircle) == 56 && sizeof(CLine) == 48 && sizeof(CArc) == 72,
              "entity records travel as whole blocks of the file");

// Name field, layer value and entity count.
constexpr uint64_t kLayerHeaderBytes = kNameFieldBytes + 4 + 4;
// Vertex count, flag and block.
constexpr uint64_t kPolylineHeaderBytes = 4 + 1 + 24;
constexpr size_t kPolylineVertexBytes = 4 * 8;

template <class Layer>
void ReadLayers(DwxByteReader& in, std::vector<AnsiString>& names, std::vector<int32_t>& values,
                std::vector<Layer>& layers, const char* kind,
                void (*readEntities)(DwxByteReader&, Layer&)) {
    const uint32_t count = in.U32();
    in.RequireRoomFor(count, kLayerHeaderBytes, kind);
    names.resize(count);
    values.resize(count);
    layers.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        names[i] = ReadNameField(in);
        values[i] = in.I32();
        readEntities(in, layers[i]);
    }
}

template <class Record>
void ReadRecords(DwxByteReader& in, std::vector<Record>& records) {
    const uint32_t count = in.U32();
    in.RequireRoomFor(count, sizeof(Record), "entity records");
    records.resize(count);
    in.ReadInto(records.data(), count * sizeof(Record));
}

void ReadPolylines(DwxByteReader& in, vcPoly& polylines) {
    const uint32_t count = in.U32();
    in.RequireRoomFor(count, kPolylineHeaderBytes, "polylines");
    polylines.resize(count);
    for (CPoly& polyline : polylines) {
        const uint32_t vertexCount = in.U32();
        polyline.flag = in.U8();
        in.ReadInto(polyline.block.data(), polyline.block.size());
        in.RequireRoomFor(vertexCount, kPolylineVertexBytes, "polyline vertices");
        polyline.vertices.resize(vertexCount);
        CPolyVertex* vertices = polyline.vertices.data();
        ForEachRecordRun(in, vertexCount, kPolylineVertexBytes,
                         [vertices](const uint8_t* p, size_t first, size_t n) {
                             for (size_t v = first; v < first + n; ++v, p += kPolylineVertexBytes) {
                                 vertices[v].position.x = DwxByteReader::LoadF64(p);
                                 vertices[v].position.y = DwxByteReader::LoadF64(p + 8);
                                 vertices[v].position.z = DwxByteReader::LoadF64(p + 16);
                                 vertices[v].value = DwxByteReader::LoadF64(p + 24);
                             }
                         });
    }
}

template <class Layer>
void CheckLayers(const std::vector<AnsiString>& names, const std::vector<int32_t>& values,
                 const std::vector<Layer>& layers, const char* kind) {
    if (values.size() != names.size() || layers.size() != names.size()) {
        throw DwxError(std::string("the ") + kind + " layers have " + std::to_string(names.size()) +
                       " names, " + std::to_string(values.size()) + " values and " +
                       std::to_string(layers.size()) + " entity lists");
    }
    CheckCountFits(names.size(), kMax32, "layers");
    for (size_t i = 0; i < names.size(); ++i) {
        CheckNameFits(names[i], kind);
        CheckCountFits(layers[i].size(), kMax32, "entities of a layer");
    }
}

template <class Layer>
void WriteLayers(DwxByteWriter& out, const std::vector<AnsiString>& names,
                 const std::vector<int32_t>& values, const std::vector<Layer>& layers,
                 void (*writeEntities)(DwxByteWriter&, const Layer&)) {
    out.U32(static_cast<uint32_t>(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        WriteNameField(out, names[i]);
        out.I32(values[i]);
        writeEntities(out, layers[i]);
    }
}

template <class Record>
void WriteRecords(DwxByteWriter& out, const std::vector<Record>& records) {
    out.U32(static_cast<uint32_t>(records.size()));
    out.Bytes(records.data(), records.size() * sizeof(Record));
}

void WritePolylines(DwxByteWriter& out, const vcPoly& polylines) {
    out.U32(static_cast<uint32_t>(polylines.size()));
    for (const CPoly& polyline : polylines) {
        out.U32(static_cast<uint32_t>(polyline.vertices.size()));
        out.U8(polyline.flag);
        out.Bytes(polyline.block.data(), polyline.block.size());
        for (const CPolyVertex& vertex : polyline.vertices) {
            uint8_t* p = out.Room(kPolylineVertexBytes);
            DwxByteWriter::StoreF64(p, vertex.position.x);
            DwxByteWriter::StoreF64(p + 8, vertex.position.y);
            DwxByteWriter::StoreF64(p + 16, vertex.position.z);
            DwxByteWriter::StoreF64(p + 24, vertex.value);
        }
    }
}

} // namespace

void ReadLayerSections(DwxByteReader& in, DefinicjaObiektu& d) {
    ReadLayers(in, d.circleNames, d.circleValues, d.circles, "circle layers", ReadRecords<CCircle>);
    ReadLayers(in, d.lineNames, d.lineValues, d.lines, "line layers", ReadRecords<CLine>);
    ReadLayers(in, d.polylineNames, d.polylineValues, d.polylines, "polyline layers",
               ReadPolylines);
    ReadLayers(in, d.arcNames, d.arcValues, d.arcs, "arc layers", ReadRecords<CArc>);
}

void CheckLayerSectionsWritable(const DefinicjaObiektu& d) {
    CheckLayers(d.circleNames, d.circleValues, d.circles, "circle");
    CheckLayers(d.lineNames, d.lineValues, d.lines, "line");
    CheckLayers(d.polylineNames, d.polylineValues, d.polylines, "polyline");
    CheckLayers(d.arcNames, d.arcValues, d.arcs, "arc");
    for (const vcPoly& layer : d.polylines) {
        for (const CPoly& polyline : layer) {
            CheckCountFits(polyline.vertices.size(), kMax32, "polyline vertices");
        }
    }
}

void WriteLayerSections(DwxByteWriter& out, const DefinicjaObiektu& d) {
    WriteLayers(out, d.circleNames, d.circleValues, d.circles, WriteRecords<CCircle>);
    WriteLayers(out, d.lineNames, d.lineValues, d.lines, WriteRecords<CLine>);
    WriteLayers(out, d.polylineNames, d.polylineValues, d.polylines, WritePolylines);
    WriteLayers(out, d.arcNames, d.arcValues, d.arcs, WriteRecords<CArc>);
}

} // namespace dwx
