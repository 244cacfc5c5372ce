// Turning component streams into object trees.
//
// None of these raises: a stream that does not parse, names a class nobody registered, or holds
// anything else the reader refuses gives nullptr (and frees whatever was built of it).
#pragma once

#include "platform/rtl/MemoryStream.h"

#include <memory>
#include <vector>

class TComponent;
class TStream;
class TsgObject;

// Splits a text-form stream into the root object's text and one text per top-level nested
// object (with its own nested objects inside it, their names removed). Never raises; what was
// split before a failure stays in the outputs.
void SplitObjectsInStream(TStream& Stream, std::unique_ptr<TStringStream>& RootStream,
                          std::vector<std::unique_ptr<TStringStream>>& List);

// A tree from the text form. With an owner, the top-level nested objects become separate
// components of that owner, added to the root in the order of the text.
TsgObject* CreateObjectFromStream(TComponent* AOwner, TStream& Stream);
// A tree from the binary form, read from the stream's position.
TsgObject* CreateObjectFromBinStream(TComponent* AOwner, TStream& Stream);
// Reads the text form into an existing object; nullptr after any failure.
TsgObject* LoadObjectFromStream(TsgObject* AObject, TStream& Stream);
