// The windows, the state button, the knob, the indicator and the numeric boxes: what a new
// object writes, what comes back from a stream, sizes and flags at construction, and the
// categories they are offered under.
#include "ControlsTestSupport.h"

#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/classes/TypInfo.h"
#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A new object, or one with Set applied (a Float, Boolean or enumeration text), written and
// read back. Max, HorzIncrement, VertIncrement and Increment are made with one value and
// declared with 0: set to 0 they are not written and come back with the made value.
struct TStreamCase {
    const char* Class;
    const char* Property;
    const char* Set; // nullptr: the value of a new object
    const char* Value;
    bool Written;
    const char* Back;
};

void SetByText(TPersistent* o, const char* name, const char* value) {
    TPersistent* target = nullptr;
    const TPropInfo* p = FindPropertyPath(o, name, target);
    ASSERT_NE(p, nullptr) << name;
    switch (p->Kind) {
    case TPropertyKind::Boolean:
        SetOrdProp(o, name, std::string(value) == "True");
        break;
    case TPropertyKind::Enumeration:
        SetEnumProp(o, name, value);
        break;
    case TPropertyKind::Integer:
        SetOrdProp(o, name, std::stoll(value));
        break;
    default:
        SetFloatProp(o, name, std::stod(value));
    }
}

class WindowAndNumberDefaults : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgControlsUnit();
        RegisterSgTextboxUnit();
        // Not creatable by name otherwise; the tests register them as a program would.
        RegisterClass(TsgWindow::StaticClassInfo());
        RegisterClass(TsgLayerWindow::StaticClassInfo());
    }
};

TEST_F(WindowAndNumberDefaults, NewObjectsWriteWhatDiffersFromTheDeclaredDefaults) {
    const TStreamCase cases[] = {
        {"TsgNumberBox", "Value", nullptr, "0", false, "0"},
        {"TsgNumberBox", "Min", nullptr, "0", false, "0"},
        {"TsgNumberBox", "Max", nullptr, "10", true, "10"},
        {"TsgNumberBox", "Max", "0", "0", false, "10"},
        {"TsgNumberBox", "HorzIncrement", nullptr, "1", true, "1"},
        {"TsgNumberBox", "HorzIncrement", "0", "0", false, "1"},
        {"TsgNumberBox", "VertIncrement", nullptr, "5", true, "5"},
        {"TsgNumberBox", "VertIncrement", "0", "0", false, "5"},
        {"TsgNumberBox", "DecimalDigits", nullptr, "2", false, "2"},
        {"TsgNumberBox", "ValueType", nullptr, "sgValueInteger", true, "sgValueInteger"},
        {"TsgNumberBox", "ShowCaret", nullptr, "True", false, "True"},
        {"TsgNumberBox", "Text", nullptr, "0", false, "0"},
        {"TsgSpinBox", "Max", nullptr, "10", true, "10"},
        {"TsgSpinBox", "Max", "0", "0", false, "10"},
        {"TsgSpinBox", "Increment", nullptr, "1", true, "1"},
        {"TsgSpinBox", "Increment", "0", "0", false, "1"},
        {"TsgSpinBox", "TextAlign", nullptr, "sgTextAlignCenter", false, "sgTextAlignCenter"},
        {"TsgSpinBox", "ValueType", "sgValueFloat", "sgValueFloat", true, "sgValueFloat"},
        {"TsgAngleButton", "Value", nullptr, "0", false, "0"},
        {"TsgAngleButton", "Tracking", nullptr, "True", false, "True"},
        {"TsgAngleButton", "ShowValue", nullptr, "False", false, "False"},
        {"TsgAniIndicator", "Enabled", nullptr, "False", true, "False"},
        {"TsgAniIndicator", "Style", nullptr, "sgAniIndicatorLine", true, "sgAniIndicatorLine"},
        {"TsgWindow", "ShowCloseButton", nullptr, "True", false, "True"},
        {"TsgWindow", "ShowSizeGrip", "False", "False", true, "False"},
        {"TsgWindow", "TextAlign", nullptr, "sgTextAlignNear", true, "sgTextAlignNear"},
        {"TsgWindow", "AutoTranslate", nullptr, "True", false, "True"},
        {"TsgHudWindow", "StrokeThickness", nullptr, "1", false, "1"},
        {"TsgHudWindow", "StrokeThickness", "3", "3", true, "3"},
        {"TsgHudWindow", "StrokeCap", nullptr, "sgCapFlat", false, "sgCapFlat"},
        {"TsgHudWindow", "ShowCaption", nullptr, "True", false, "True"},
        {"TsgHudWindow", "DisableShadowOnOSX", nullptr, "True", false, "True"},
        {"TsgHudWindow", "ButtonAlign", nullptr, "sgButtonAlignRight", false, "sgButtonAlignRight"},
        // Declared as made, so a left button survives the stream.
        {"TsgLayerWindow", "ButtonAlign", "sgButtonAlignLeft", "sgButtonAlignLeft", true,
         "sgButtonAlignLeft"},
    };
    for (const TStreamCase& c : cases) {
        SCOPED_TRACE(std::string(c.Class) + "." + c.Property + (c.Set ? " set" : ""));
        std::unique_ptr<TComponent> o(FindClass(c.Class).CreateComponent(nullptr));
        auto* object = dynamic_cast<TsgObject*>(o.get());
        ASSERT_NE(object, nullptr);
        if (c.Set)
            SetByText(object, c.Property, c.Set);
        EXPECT_EQ(controlstest::PropText(object, c.Property), c.Value);
        TStringStream out;
        object->SaveToStream(out);
        const std::string text = out.DataString().c_str();
        const std::string line = std::string("  ") + c.Property + " = ";
        EXPECT_EQ(text.find(line) != std::string::npos, c.Written) << text;
        TStringStream in{out.DataString()};
        std::unique_ptr<TsgObject> back(CreateObjectFromStream(nullptr, in));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(controlstest::PropText(back.get(), c.Property), c.Back);
    }
}

// A value written after bounds that admit it is not cut to the bounds a new box starts with.
TEST_F(WindowAndNumberDefaults, AStreamedValueKeepsWithinItsOwnStreamedBounds) {
    TsgNumberBox box(nullptr);
    box.SetMax(50);
    box.SetMin(-20);
    box.SetValue(35);
    TStringStream out;
    box.SaveToStream(out);
    TStringStream in{out.DataString()};
    std::unique_ptr<TsgObject> back(CreateObjectFromStream(nullptr, in));
    auto* read = dynamic_cast<TsgNumberBox*>(back.get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Value(), 35);
    EXPECT_EQ(read->Text().ToUtf8(), "35");
}

TEST_F(WindowAndNumberDefaults, SizesAndFlagsAtConstruction) {
    TsgWindow window(nullptr);
    TsgHudWindow hud(nullptr);
    TsgBitmapStateButton state(nullptr);
    TsgAngleButton knob(nullptr);
    TsgNumberBox number(nullptr);
    TsgSpinBox spin(nullptr);
    EXPECT_EQ(window.Width(), 200);
    EXPECT_EQ(window.Height(), 200);
    EXPECT_FALSE(window.HitTest());
    EXPECT_EQ(hud.Font()->Style(), sgFontBold);
    EXPECT_EQ(hud.Fill()->SolidColor(), 0xEACACACAu);
    EXPECT_EQ(hud.Stroke()->SolidColor(), 0x5B000000u);
    EXPECT_EQ(state.Width(), 64);
    EXPECT_EQ(state.Bitmap()->Width(), 1);
    EXPECT_EQ(knob.Width(), 30);
    EXPECT_TRUE(knob.AutoCapture());
    EXPECT_TRUE(number.AutoCapture());
    EXPECT_EQ(number.FilterChar().ToUtf8(), "0123456789.,-+");
    EXPECT_EQ(spin.FilterChar().ToUtf8(), "0123456789.,-+");
}

TEST_F(WindowAndNumberDefaults, ClassesAreOfferedUnderTheirCategories) {
    const struct {
        const char* Category;
        const char* Class;
    } offered[] = {
        {"Controls", "TsgAniIndicator"},
        {"Buttons", "TsgAngleButton"},
        {"Buttons", "TsgBitmapStateButton"},
        {"HUD", "TsgHudWindow"},
        {"HUD", "TsgHudAngleButton"},
        {"Text Edits", "TsgNumberBox"},
        {"Text Edits", "TsgSpinBox"},
        {"HUD", "TsgHudNumberBox"},
        {"HUD", "TsgHudSpinBox"},
    };
    auto offeredUnder = [](const std::string& category, const std::string& cls) {
        for (int i = 0; i < ObjectList->Count(); ++i)
            if ((*ObjectList)[i].ToUtf8() == category &&
                static_cast<const TClassInfo*>(ObjectList->GetObject(i))->ClassName().c_str() ==
                    cls)
                return true;
        return false;
    };
    ASSERT_NE(ObjectList, nullptr);
    for (const auto& o : offered)
        EXPECT_TRUE(offeredUnder(o.Category, o.Class)) << o.Class;
    for (const char* category : {"Controls", "Buttons", "HUD", "Windows"})
        for (const char* hidden : {"TsgWindow", "TsgLayerWindow"})
            EXPECT_FALSE(offeredUnder(category, hidden)) << hidden;
}

} // namespace
