#include "DwxFixtures.h"

namespace dwxtest {

namespace {

const char* const kLayers = R"(
    "circles":[{"name":"Circles","value":-7,"records":[1,"00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff0011223344556677"]},
               {"name":"","value":0}],
    "lines":[{"name":"Lines","value":3,"records":[5]}],
    "polylines":[{"name":"Poly","value":4,"polylines":[
        {"flag":6,"block":7,"vertices":[[1.5,-2.5,3.25,0.5],[1e300,-0.0,6,7]]},
        {"flag":1,"block":0,"vertices":[]}]}],
    "arcs":[{"name":"Arcs","value":-2147483648,"records":[255]}],)";

const char* const kScaledMeshes = R"(
    "meshes":[{"name":"First","value":2147483647,
               "points":[[100,-200,5],[7,-7,3],[-32768,32767,0],[1,-1,9]],
               "faces":[[1,0,1,2,3],[255,3,2,1,0]]},
              {"name":"Second","value":-12,"points":[[1,1,1],[2,2,2]],"faces":[[9,1,0,1,0]]},
              {"name":"Empty","value":0,"points":[],"faces":[]}]})";

std::string FloatMeshes() {
    // A mesh of 300 points (two-byte indices) besides small ones.
    std::string points;
    for (int i = 0; i < 300; ++i) {
        points += std::string(i ? "," : "") + "[" + std::to_string(i) + ".37,-" +
                  std::to_string(i) + ".9," + std::to_string(i % 7) + ".5]";
    }
    return R"(
    "meshes":[{"name":"First","value":7,
               "points":[[0.5,1.9,-1.9],[10,-20,0.5],[32767.9,-32768.9,0.0001],[-6,7,-8]],
               "faces":[[1,0,1,2,3],[2,3,2,1,0]]},
              {"name":"Wide","value":-1,"points":[)" +
           points + R"(],"faces":[[4,299,0,150,298],[5,1,2,3,4]]}]})";
}

} // namespace

const std::vector<Fixture>& SmallFixtures() {
    static const std::vector<Fixture> fixtures = {
        {"v201", 201,
         R"({"version":201,"dimensionTenths":[100,200,-50],"records":[1,2],"scale":10.0,
             "scaleDimensions":[1,2,3],)" +
             std::string(kScaledMeshes).substr(1)},
        {"v202", 202,
         std::string(R"({"version":202,"dimensionTenths":[600,-25,0],"scale":10.0,
             "scaleDimensions":[60,-2.5,0],)") +
             kLayers + kScaledMeshes},
        {"v203", 203,
         std::string(R"({"version":203,"dimensionTenths":[600,560,850],"scale":7.3,
             "scaleDimensions":[12.5,3.0,7.0],)") +
             kLayers + kScaledMeshes},
        {"v204", 204,
         std::string(R"({"version":204,"dimensions":[12.34,4000.0,-5.0],)") + kLayers +
             FloatMeshes()},
    };
    return fixtures;
}

} // namespace dwxtest
