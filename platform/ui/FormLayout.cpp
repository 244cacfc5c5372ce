#include "platform/ui/FormLayout.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Forms.h"
#include "platform/win/Resources.h"

void ReadFormLayout(TForm& form, std::span<const uint8_t> layout) {
    TMemoryStream raw;
    raw.WriteBuffer(layout.data(), static_cast<int64_t>(layout.size()));
    raw.SetPosition(0);
    TMemoryStream binary;
    switch (TestStreamFormat(raw)) {
    case sofBinary:
        binary.LoadFromStream(raw);
        break;
    case sofText:
        ObjectTextToBinary(raw, binary);
        break;
    case sofUnknown:
        throw EReadError(AnsiString("The window layout is not a component stream"));
    }
    binary.SetPosition(0);
    TReader reader(binary);
    reader.ReadRootComponent(&form);
}

void ReadFormLayoutResource(TForm& form, const std::string& name) {
    const auto data = win::FindResource(name);
    if (!data)
        throw EResNotFound(AnsiString("Resource " + name + " not found"));
    ReadFormLayout(form, *data);
}
