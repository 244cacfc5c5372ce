#include "ControlsTestSupport.h"

#include "platform/rtl/MemoryStream.h"

namespace controlstest {

namespace {

// A rectangle style holding a text part; Extra goes inside the style after the text.
std::string Style(const std::string& name, const std::string& extra = "") {
    return "  object TsgRectangle\n    ResourceName = '" + name +
           "'\n    HitTest = False\n    object TsgText\n      ResourceName = 'text'\n"
           "      Align = vaClient\n      HitTest = False\n      Text = 'placeholder'\n    end\n" +
           extra + "  end\n";
}

std::string Checkmark() {
    return "    object TsgRectangle\n      ResourceName = 'checkmark'\n      HitTest = False\n"
           "    end\n";
}

} // namespace

std::string SheetText() {
    std::string text = "object TsgBackground\n";
    text += Style("labelstyle");
    text +=
        Style("valuelabelstyle", "    object TsgBrushObject\n      ResourceName = 'foreground'\n"
                                 "      Brush.Color = '#FF102030'\n    end\n");
    text += Style("hudlabelstyle", "    object TsgRectangle\n      ResourceName = 'foreground'\n"
                                   "    end\n");
    text += Style("panelstyle");
    text += Style("toolbarstyle");
    text += Style("statusbarstyle", "    object TsgRectangle\n      ResourceName = 'sizegrip'\n"
                                    "      Locked = True\n      HitTest = False\n    end\n");
    text += Style("buttonstyle");
    text += Style("hudbuttonstyle");
    text += Style("speedbuttonstyle");
    text += Style("colorbuttonstyle", "    object TsgRectangle\n      ResourceName = 'fill'\n"
                                      "    end\n");
    text +=
        Style("cornerbuttonstyle", "    object TsgRectangle\n      ResourceName = 'background'\n"
                                   "    end\n");
    text += Style("checkboxstyle", Checkmark());
    text += Style("pathcheckboxstyle", "    object TsgPath\n      ResourceName = 'checkmark'\n"
                                       "    end\n");
    text += Style("radiobuttonstyle", Checkmark());
    text += Style("groupboxstyle");
    text += "  object TsgEllipse\n    ResourceName = 'CloseButtonStyle'\n  end\n";
    text += "  object TsgRectangle\n    ResourceName = 'sizegripstyle'\n  end\n";
    return text + "end\n";
}

void UseSmallSheet() {
    RegisterSgControlsUnit();
    FreeDefaultStyles();
    TStringStream text{AnsiString(SheetText())};
    DefaultStyles = CreateObjectFromStream(nullptr, text);
}

void DropSheet() {
    FreeDefaultStyles();
}

} // namespace controlstest

#include "platform/classes/TypInfo.h"

#include <cmath>

namespace controlstest {

std::string PropText(TPersistent* Instance, const char* Name) {
    TPersistent* target = nullptr;
    const TPropInfo* p = FindPropertyPath(Instance, Name, target);
    if (!p)
        return "(no property)";
    switch (p->Kind) {
    case TPropertyKind::Boolean:
        return GetOrdProp(Instance, Name) ? "True" : "False";
    case TPropertyKind::Enumeration:
        return GetEnumProp(Instance, Name).c_str();
    case TPropertyKind::Integer:
    case TPropertyKind::Int64:
        return std::to_string(GetOrdProp(Instance, Name));
    case TPropertyKind::Float: {
        const double v = GetFloatProp(Instance, Name);
        return v == std::floor(v) ? std::to_string(int64_t(v)) : std::to_string(v);
    }
    default:
        return GetStrProp(Instance, Name).ToUtf8();
    }
}

} // namespace controlstest

namespace controlstest {

namespace {

// The sheet's styles are rooted in plain layouts. Where this build has no layout class yet, a
// visual object that paints nothing stands in for it under the same name, so the styles load.
class TLayoutStandIn : public TsgVisualObject {
public:
    using inherited = TsgVisualObject;
    static const TClassInfo& StaticClassInfo() {
        return dbi_classes_detail::MakeClassInfo<TLayoutStandIn>(
            "TsgLayout", &TsgVisualObject::StaticClassInfo(), [](TPublisher<TLayoutStandIn>&) {});
    }
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
    explicit TLayoutStandIn(TComponent* AOwner) : TsgVisualObject(AOwner) { SetHitTest(false); }
};

} // namespace

void RegisterAll() {
    RegisterSgSceneUnit();
    RegisterSgObjectsUnit();
    RegisterSgAniUnit();
    RegisterSgEffectsUnit();
    RegisterSgControlsBars();
    if (!GetClass("TsgLayout"))
        RegisterClass(TLayoutStandIn::StaticClassInfo());
}

void ApplyStyles(TsgObject* AObject) {
    if (AObject->IsVisual())
        AObject->Visual()->ApplyResource();
    for (int i = 0; i < AObject->ChildrenCount(); ++i)
        ApplyStyles(AObject->GetChild(i));
}

} // namespace controlstest
