// The four layer sections of versions 202 to 204 (circles, lines, polylines, arcs, in that
// order): per layer a name field, the layer value and its entities.
#pragma once

#include "installer/dwx/DefinicjaObiektu.h"
#include "installer/dwx/DwxByteReader.h"
#include "installer/dwx/DwxByteWriter.h"

namespace dwx {

// Brings every layer list to the file's counts and fills it.
void ReadLayerSections(DwxByteReader& in, DefinicjaObiektu& definition);
// Refuses parallel lists of different lengths, long names and counts beyond 32 bits.
void CheckLayerSectionsWritable(const DefinicjaObiektu& definition);
void WriteLayerSections(DwxByteWriter& out, const DefinicjaObiektu& definition);

} // namespace dwx
