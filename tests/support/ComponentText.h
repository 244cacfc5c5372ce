// The text form of a component as it streams: written in the binary form, then converted; and a
// root component read back from that form.
#pragma once

#include "platform/classes/Component.h"
#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"

#include <memory>

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

// Reads the text form into a new Root, converted to the binary form first.
template <class Root>
std::unique_ptr<Root> ReadComponentText(const AnsiString& text) {
    TStringStream source{text};
    TMemoryStream binary;
    ObjectTextToBinary(source, binary);
    binary.SetPosition(0);
    auto root = std::make_unique<Root>();
    TReader reader(binary);
    reader.ReadRootComponent(root.get());
    return root;
}

} // namespace testsupport
