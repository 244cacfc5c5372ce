// The window tests run on SDL's offscreen driver, set before anything starts video.
#include <cstdlib>

namespace {
const bool offscreenVideo = (setenv("DBI_VIDEO_DRIVER", "offscreen", 1), true);
} // namespace
