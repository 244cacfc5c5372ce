#include "scene/design/Sg_dsgn_form.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/win/Resources.h"

void sgReadDesignForm(TForm& form, const std::string& name) {
    const auto data = win::FindResource(name);
    if (!data)
        throw EResNotFound(AnsiString("Resource " + name + " not found"));
    TMemoryStream raw;
    raw.WriteBuffer(data->data(), static_cast<int64_t>(data->size()));
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
        throw EReadError(AnsiString("The layout " + name + " is not a component stream"));
    }
    binary.SetPosition(0);
    TReader reader(binary);
    reader.ReadRootComponent(&form);
}

std::function<TModalResult(TForm&)>& sgDesignShowModal() {
    static std::function<TModalResult(TForm&)> show = [](TForm& form) { return form.ShowModal(); };
    return show;
}
