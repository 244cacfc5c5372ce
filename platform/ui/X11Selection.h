// Reading a selection of the X11 display named by DISPLAY (the clipboard's pictures, which SDL
// does not carry): the owner is asked to convert the selection to a target on a private
// connection and window, and its answer is read whole or in increments.
//
// The owner is another program and may be slow, silent or hostile: every exchange ends within
// its time limit, and no more than its byte limit is ever taken from the server.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace x11 {

enum class SelectionStatus {
    Ok,
    NoDisplay,  // DISPLAY is unset or the server cannot be reached
    NoOwner,    // nobody holds the selection
    NotOffered, // the owner refused the target
    TimedOut,   // the owner did not finish within the time limit
    TooLarge,   // the answer is longer than the byte limit
    Malformed,  // the answer is not of the kind asked for
};

const char* SelectionStatusText(SelectionStatus status);

struct SelectionLimits {
    // A 4000 x 4000 picture stored uncompressed fits.
    size_t maxBytes = size_t(64) << 20;
    int timeoutMs = 2000;
};

// Called between the waits for the owner; it lets a selection held by this very process (the
// user interface's own windows) be answered while the exchange waits on the same thread.
using SelectionIdle = std::function<void()>;

// The bytes (8-bit data) the owner of `selection` gives for `target`.
SelectionStatus ReadSelection(const std::string& selection, const std::string& target,
                              std::vector<uint8_t>& data, const SelectionLimits& limits = {},
                              const SelectionIdle& idle = {});

// Which of `wanted` (target names) the owner lists among its targets, in the order of `wanted`.
SelectionStatus OfferedTargets(const std::string& selection, const std::vector<std::string>& wanted,
                               std::vector<std::string>& offered,
                               const SelectionLimits& limits = {}, const SelectionIdle& idle = {});

// The first of `wanted` that the owner lists among its targets (into `target`) and its bytes;
// NotOffered when it lists none of them. One time limit covers the whole exchange.
SelectionStatus ReadFirstOffered(const std::string& selection,
                                 const std::vector<std::string>& wanted, std::string& target,
                                 std::vector<uint8_t>& data, const SelectionLimits& limits = {},
                                 const SelectionIdle& idle = {});

} // namespace x11
