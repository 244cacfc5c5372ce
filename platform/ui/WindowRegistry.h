// The live windows of the process, in the order they were created. The loop scans it for
// windows that need painting; handles are checked against it before a message is delivered.
#pragma once

#include "platform/ui/Messages.h"

#include <vector>

class TWindowRegistry {
public:
    static void Add(TWinControl* window);
    // Also drops every message still queued for the window, its timers and its capture.
    static void Remove(TWinControl* window);
    static bool Contains(const TWinControl* window);
    static const std::vector<TWinControl*>& All();
    // The first showing window whose update region is not empty (restricted to `hwnd` and its
    // children unless nullptr), parents before their children; windows for which `skip` answers
    // true are passed over.
    static TWinControl* FirstNeedingPaint(HWND hwnd, bool (*skip)(HWND) = nullptr);
};

// Whether `window` is `ancestor` or lies inside it.
bool IsSelfOrChild(const TWinControl* ancestor, const TWinControl* window);
// Drops queued messages of a window that is going away (MessageQueue.cpp).
void PurgeMessagesOf(HWND hwnd);
