// The direction shared by the range controls (progress bar, tracks, scroll bars).
#pragma once

enum TsgOrientation { sgHorizontal = 0, sgVertical = 1 };
