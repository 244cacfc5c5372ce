// Reads the oracle tables that tools/gen_scene_oracles.py and tools/gen_css_colors.py wrote.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> OracleLines(const std::string& name) {
    std::ifstream in(std::string(DBI_SOURCE_DIR) + "/tests/scene/core/data/" + name);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    if (lines.empty())
        ADD_FAILURE() << "oracle table " << name << " is missing or empty";
    return lines;
}
