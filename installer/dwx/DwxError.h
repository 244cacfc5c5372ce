// Raised inside the reader and writer when a file cannot be read as DWX or a model cannot be
// written in the chosen version; KlasaDwx turns it into its result and `lastProblem`.
#pragma once

#include <stdexcept>
#include <string>

class DwxError : public std::runtime_error {
public:
    explicit DwxError(const std::string& reason) : std::runtime_error(reason) {}
};
