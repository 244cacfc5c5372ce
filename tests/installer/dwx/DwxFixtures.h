// JSON descriptions of small drawing files for the reference encoder, shared by the tests that
// compare the C++ reader and writer with it.
#pragma once

#include <string>
#include <vector>

namespace dwxtest {

struct Fixture {
    std::string name;
    int version;
    std::string json;
};

// One small file per version, 201 to 204, using every field its version has.
const std::vector<Fixture>& SmallFixtures();

} // namespace dwxtest
