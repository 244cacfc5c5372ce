// Alignment and layout of the visual children of an object.
//
// Each child's Align says where it goes inside its parent; the parent's Margins inset the area
// that aligned children share, a child's Padding is the empty space kept around that child.
// Children are laid out one alignment value after the other (the "most" edges first, then the
// edges, the client, centring, scaling and fitting, and last the corner anchors), and within one
// value in the visual order they already have, so stacked children keep their order.
//
// TsgVisualObject::Realign is sgRealign on `this`: every visual class whose Realign lays out
// its children calls it (or extends it).
#pragma once

#include "scene/core/Sg_scene_visual.h"

// Lays out P's visual children. Does nothing while P is destroyed, smaller than 2 units either
// way, suspended (sgDisableAlign) or without aligned children; while P loads it only remembers
// the size the next layout compares with.
void sgRealign(TsgVisualObject* P);

// Suspends and resumes P's layout; while suspended sgRealign returns at once.
void sgDisableAlign(TsgVisualObject* P);
void sgEnableAlign(TsgVisualObject* P);
bool sgAlignDisabled(TsgVisualObject* P);

// The size P had at its last layout (what vaTopRight, vaBottomLeft, vaBottomRight and vaScale
// children are moved and scaled against).
TsgPoint sgLastAlignSize(TsgVisualObject* P);
