// The text form of a component as it streams: written in the binary form, then converted.
#pragma once

#include "platform/classes/Component.h"
#include "platform/classes/ObjectText.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"

namespace testsupport {

inline AnsiString ComponentText(TComponent* root) {
    TMemoryStream binary;
    {
        TWriter writer(binary);
        writer.WriteRootComponent(root);
    }
    binary.SetPosition(0);
    TStringStream text;
    ObjectBinaryToText(binary, text);
    return text.DataString();
}

} // namespace testsupport
