// Development tool for DWX drawing files, running the installer's own reader and writer.
//
//   dwx_tool info FILE                 version, dimensions, scale and the counts of every list
//   dwx_tool convert FILE OUT VERSION  load FILE and save it as VERSION (202, 203 or 204) to OUT;
//                                      OUT may be FILE itself, which is then replaced safely
#include "installer/dwx/Klasadwx.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: dwx_tool info FILE\n"
                         "       dwx_tool convert FILE OUT VERSION\n");
    return 2;
}

template <class Layers>
size_t EntitiesOf(const Layers& layers) {
    size_t total = 0;
    for (const auto& layer : layers) {
        total += layer.size();
    }
    return total;
}

bool Load(KlasaDwx& dwx, const char* file) {
    const int version = dwx.LoadFromFile(UnicodeString(std::string(file)));
    if (version == 0) {
        std::fprintf(stderr, "%s: not loaded: %s\n", file, dwx.lastProblem.c_str());
        return false;
    }
    if (version < 201 || version > 204) {
        std::fprintf(stderr, "%s: version %d has no reader\n", file, version);
        return false;
    }
    return true;
}

int Info(const char* file) {
    KlasaDwx dwx;
    if (!Load(dwx, file)) {
        return 1;
    }
    const DefinicjaObiektu& d = dwx.definition;
    size_t polylineVertices = 0;
    for (const vcPoly& layer : d.polylines) {
        for (const CPoly& polyline : layer) {
            polylineVertices += polyline.vertices.size();
        }
    }
    std::printf("version %d\n", dwx.version);
    std::printf("dimensions %g %g %g (tenths %d %d %d)\n", dwx.dimensions[0], dwx.dimensions[1],
                dwx.dimensions[2], dwx.dimensionTenths[0], dwx.dimensionTenths[1],
                dwx.dimensionTenths[2]);
    std::printf("scale %g\n", dwx.scale);
    std::printf("circle layers %zu, circles %zu\n", d.circleNames.size(), EntitiesOf(d.circles));
    std::printf("line layers %zu, lines %zu\n", d.lineNames.size(), EntitiesOf(d.lines));
    std::printf("polyline layers %zu, polylines %zu, polyline vertices %zu\n",
                d.polylineNames.size(), EntitiesOf(d.polylines), polylineVertices);
    std::printf("arc layers %zu, arcs %zu\n", d.arcNames.size(), EntitiesOf(d.arcs));
    std::printf("meshes %zu, points %zu, faces %zu\n", d.meshNames.size(),
                EntitiesOf(d.meshVertices), EntitiesOf(d.meshFaces));
    return 0;
}

int Convert(const char* file, const char* out, const char* versionText) {
    char* end = nullptr;
    const long version = std::strtol(versionText, &end, 10);
    if (*end != '\0' || version < 202 || version > 204) {
        std::fprintf(stderr, "the version to write is 202, 203 or 204\n");
        return 2;
    }
    KlasaDwx dwx;
    if (!Load(dwx, file)) {
        return 1;
    }
    if (!dwx.SaveToFile(UnicodeString(std::string(out)), static_cast<uint8_t>(version))) {
        std::fprintf(stderr, "%s: not written: %s\n", out, dwx.lastProblem.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "info") == 0) {
        return Info(argv[2]);
    }
    if (argc == 5 && std::strcmp(argv[1], "convert") == 0) {
        return Convert(argv[2], argv[3], argv[4]);
    }
    return Usage();
}
