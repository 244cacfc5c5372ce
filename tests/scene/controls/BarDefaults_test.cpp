// Constructor values against declared defaults: a new object has the constructor's value, an
// object read from a stream that leaves the property out has the declared default, and a written
// object reads back as it was. Also: the sheet's styles that embed these classes load complete.
#include "ControlsTestSupport.h"

#include "platform/classes/Reader.h"
#include "platform/classes/TypInfo.h"

#include <memory>

namespace {

struct DefaultCase {
    const char* Class;
    const char* Property;
    double Constructed;
    double Declared;
};

const DefaultCase kDefaults[] = {
    {"TsgProgressBar", "Max", 100, 0},     {"TsgProgressBar", "Min", 0, 0},
    {"TsgProgressBar", "Value", 0, 0},     {"TsgScrollBar", "Max", 100, 0},
    {"TsgScrollBar", "SmallChange", 1, 0}, {"TsgScrollBar", "ViewportSize", 0, 0},
    {"TsgSmallScrollBar", "Max", 100, 0},  {"TsgSplitter", "MinSize", 20, 0},
    {"TsgSplitter", "MaxSize", 0, 0},      {"TsgTrack", "Max", 100, 100},
    {"TsgTrackBar", "Max", 100, 100},
};

double FloatOf(TPersistent& o, const char* name) {
    const TPropInfo* prop = o.ClassInfo().FindProperty(name);
    EXPECT_NE(prop, nullptr) << name;
    return prop ? prop->GetFloat(o) : -1;
}

std::unique_ptr<TsgObject> FromText(const std::string& text) {
    TStringStream stream{AnsiString(text)};
    return std::unique_ptr<TsgObject>(CreateObjectFromStream(nullptr, stream));
}

std::unique_ptr<TsgObject> RoundTrip(TsgObject& o) {
    TMemoryStream binary;
    o.SaveToBinStream(binary);
    binary.SetPosition(0);
    return std::unique_ptr<TsgObject>(CreateObjectFromBinStream(nullptr, binary));
}

} // namespace

TEST(BarDefaults, NewObjectsHaveTheConstructorsValueStreamedOnesTheDeclaredDefault) {
    controlstest::RegisterAll();
    for (const DefaultCase& c : kDefaults) {
        SCOPED_TRACE(std::string(c.Class) + "." + c.Property);
        const TClassInfo* info = GetClass(c.Class);
        ASSERT_NE(info, nullptr);
        std::unique_ptr<TComponent> made(info->CreateComponent(nullptr));
        EXPECT_EQ(FloatOf(*made, c.Property), c.Constructed);

        // Tracks declare no default for their range, so a stream always carries it; the others
        // leave a value equal to the declared default out.
        auto streamed = FromText(std::string("object ") + c.Class + "\nend\n");
        ASSERT_NE(streamed, nullptr);
        EXPECT_EQ(FloatOf(*streamed, c.Property), c.Declared);

        auto back = RoundTrip(static_cast<TsgObject&>(*made));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(FloatOf(*back, c.Property), c.Constructed);
    }
}

TEST(BarDefaults, AValueEqualToTheDeclaredDefaultSurvivesARoundTrip) {
    controlstest::RegisterAll();
    TsgProgressBar bar(nullptr);
    bar.SetMax(0);
    EXPECT_EQ(static_cast<TsgProgressBar*>(RoundTrip(bar).get())->Max(), 0.0f);
    TsgScrollBar scroll(nullptr);
    scroll.SetSmallChange(0);
    scroll.SetMax(0);
    auto back = RoundTrip(scroll);
    EXPECT_EQ(static_cast<TsgScrollBar*>(back.get())->SmallChange(), 0.0f);
    EXPECT_EQ(static_cast<TsgScrollBar*>(back.get())->Max(), 0.0f);
    TsgSplitter splitter(nullptr);
    splitter.SetMinSize(0);
    EXPECT_EQ(static_cast<TsgSplitter*>(RoundTrip(splitter).get())->MinSize(), 0.0f);
}

TEST(BarDefaults, SizesAndFlagsAtConstruction) {
    controlstest::RegisterAll();
    struct SizeCase {
        const char* Class;
        float W, H;
        bool CanFocused, AutoCapture;
    };
    const SizeCase cases[] = {
        {"TsgProgressBar", 100, 20, false, false}, {"TsgTrack", 100, 15, false, false},
        {"TsgTrackBar", 100, 15, true, false},     {"TsgThumb", 50, 50, false, true},
        {"TsgScrollBar", 150, 18, false, false},   {"TsgSmallScrollBar", 150, 8, false, false},
        {"TsgSplitter", 5, 50, false, true},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.Class);
        std::unique_ptr<TComponent> made(GetClass(c.Class)->CreateComponent(nullptr));
        auto* v = dynamic_cast<TsgVisualObject*>(made.get());
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->Width(), c.W);
        EXPECT_EQ(v->Height(), c.H);
        EXPECT_EQ(v->CanFocused(), c.CanFocused);
        EXPECT_EQ(v->AutoCapture(), c.AutoCapture);
    }
    TsgSplitter splitter(nullptr);
    EXPECT_EQ(splitter.Align(), vaLeft);
    EXPECT_EQ(splitter.Cursor(), -14);
    splitter.SetAlign(vaTop);
    EXPECT_EQ(splitter.Cursor(), -15);
    splitter.SetAlign(vaMostTop);
    EXPECT_EQ(splitter.Cursor(), -14);
}

TEST(BarDefaults, RegisteredUnderControlsAndTheThumbByNameOnly) {
    controlstest::RegisterAll();
    ASSERT_NE(ObjectList, nullptr);
    std::vector<std::string> controls;
    bool thumbOffered = false;
    for (int i = 0; i < ObjectList->Count(); ++i) {
        const auto* info = static_cast<const TClassInfo*>(ObjectList->Objects(i));
        if (info->ClassName() == "TsgThumb")
            thumbOffered = true;
        if (ObjectList->Strings(i) == UnicodeString(u"Controls"))
            controls.push_back(info->ClassName().c_str());
    }
    EXPECT_FALSE(thumbOffered);
    EXPECT_NE(GetClass("TsgThumb"), nullptr);
    for (const char* name : {"TsgProgressBar", "TsgTrack", "TsgScrollBar", "TsgSmallScrollBar",
                             "TsgTrackBar", "TsgSplitter"})
        EXPECT_NE(std::find(controls.begin(), controls.end(), name), controls.end()) << name;
}

// The sheet may still lack classes other helpers build; none of these may be missing.
TEST(BarDefaults, TheSheetsStylesEmbeddingTheseClassesLoadComplete) {
    controlstest::RegisterAll();
    const std::string bytes = testsupport::ReadFile(controlstest::BuiltSheet());
    ASSERT_FALSE(bytes.empty());
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    TsgBackground root(nullptr);
    std::vector<std::string> missing;
    TReader reader(stream);
    reader.OnSetName = [](TReader&, TComponent*, AnsiString& name) { name = AnsiString(); };
    reader.OnError = [&missing](TReader&, const AnsiString& message, bool& handled) {
        missing.push_back(message.c_str());
        handled = true;
    };
    reader.ReadRootComponent(&root);
    for (const std::string& m : missing)
        for (const char* name : {"TsgProgressBar", "TsgThumb", "TsgTrack ", "TsgTrackBar",
                                 "TsgScrollBar", "TsgSmallScrollBar", "TsgSplitter"})
            EXPECT_EQ(m.find(std::string("Class ") + name), std::string::npos) << m;
    for (const char* style : {"progressbarstyle", "trackstyle", "trackbarstyle", "scrollbarstyle",
                              "smallscrollbarstyle", "splitterstyle", "hudscrollbarstyle"}) {
        SCOPED_TRACE(style);
        TsgObject* s = root.FindResource(style);
        ASSERT_NE(s, nullptr);
    }
    auto* sb = root.FindResource("scrollbarstyle");
    EXPECT_NE(dynamic_cast<TsgCustomTrack*>(sb->FindResource("htrack")), nullptr);
    EXPECT_NE(dynamic_cast<TsgCustomTrack*>(sb->FindResource("vtrack")), nullptr);
    EXPECT_NE(dynamic_cast<TsgThumb*>(root.FindResource("trackbarstyle")->FindResource("thumb")),
              nullptr);
}
