// The default style sheet the build converts from resources/styles: its root, the 113 styles in
// order, each style's root class and named parts, the trigger texts, "buttonstyle" value by
// value, the icons, the text and binary forms, and reading it from the program's resource.
#include "StyleSheetText.h"

#include "scene/core/Sg_scene.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/win/ResourceBundle.h"
#include "platform/win/Resources.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

using stylesheet::TNode;

// The styles in sheet order, as the sheet must hold them.
const std::vector<std::string> kStyleNames = {"thumbbarstyle",
                                              "scrollbarvtrackstyle",
                                              "scrollbarhtrackstyle",
                                              "scrollbarleftbutton",
                                              "scrollbarrightbutton",
                                              "scrollbartopbutton",
                                              "scrollbarbottombutton",
                                              "hthumbstyle",
                                              "vthumbstyle",
                                              "trackstyle",
                                              "trackbarstyle",
                                              "scrollbarstyle",
                                              "smallscrollbarhtrackstyle",
                                              "smallscrollbarvtrackstyle",
                                              "smallscrollbarstyle",
                                              "scrollboxstyle",
                                              "framedscrollboxstyle",
                                              "messagepopupstyle",
                                              "toolbuttonstyle",
                                              "toolpathbuttonstyle",
                                              "backgroundstyle",
                                              "panelstyle",
                                              "statusbarstyle",
                                              "toolbarstyle",
                                              "expandercheckboxstyle",
                                              "expanderstyle",
                                              "groupboxstyle",
                                              "imagecontrolstyle",
                                              "buttonstyle",
                                              "popupbuttonstyle",
                                              "roundbuttonstyle",
                                              "circlebuttonstyle",
                                              "colorbuttonstyle",
                                              "cornerbuttonstyle",
                                              "bitmapbuttonstyle",
                                              "pathbuttonstyle",
                                              "speedbuttonstyle",
                                              "anglebuttonstyle",
                                              "splitterstyle",
                                              "textboxstyle",
                                              "roundtextboxstyle",
                                              "spinboxstyle",
                                              "popupboxstyle",
                                              "memostyle",
                                              "numberboxstyle",
                                              "labelstyle",
                                              "valuelabelstyle",
                                              "listboxstyle",
                                              "listboxitemstyle",
                                              "imagelistboxitemstyle",
                                              "tabitemstyle",
                                              "checkboxstyle",
                                              "pathcheckboxstyle",
                                              "radiobuttonstyle",
                                              "progressbarstyle",
                                              "sizegripstyle",
                                              "combolistboxstyle",
                                              "comboboxstyle",
                                              "CloseButtonStyle",
                                              "expanderbuttonstyle",
                                              "treeviewstyle",
                                              "treeviewitemstyle",
                                              "treeviewexpanderbuttonstyle",
                                              "gridstyle",
                                              "tabcontrolstyle",
                                              "droptargetstyle",
                                              "hudtrackbarstyle",
                                              "hudnumberboxstyle",
                                              "hudtextboxstyle",
                                              "hudroundtextboxstyle",
                                              "hudspinboxstyle",
                                              "hudmemostyle",
                                              "hudscrollbarstyle",
                                              "hudwindowstyle",
                                              "hudSizeGripStyle",
                                              "hudCloseButtonStyle",
                                              "hudlabelstyle",
                                              "hudbuttonstyle",
                                              "hudroundbuttonstyle",
                                              "hudcirclebuttonstyle",
                                              "hudcornerbuttonstyle",
                                              "hudcheckboxstyle",
                                              "hudradiobuttonstyle",
                                              "hudgroupboxstyle",
                                              "hudpopupboxstyle",
                                              "hudanglebuttonstyle",
                                              "hudthumbbarstyle",
                                              "hudscrollbarvtrackstyle",
                                              "hudscrollbarhtrackstyle",
                                              "hudscrollbarleftbutton",
                                              "hudscrollbarrightbutton",
                                              "hudscrollbartopbutton",
                                              "hudscrollbarbottombutton",
                                              "grad",
                                              "hudhthumbstyle",
                                              "hudvthumbstyle",
                                              "hudcomboboxstyle",
                                              "hudcombolistboxstyle",
                                              "hudtrackstyle",
                                              "hudtabcontrolstyle",
                                              "hudtabitemstyle",
                                              "hudstatusbarstyle",
                                              "hudpanelstyle",
                                              "hudlistboxstyle",
                                              "hudlistboxitemstyle",
                                              "droptargetstyle",
                                              "iconconfirmation",
                                              "iconinformation",
                                              "iconwarning",
                                              "iconerror",
                                              "iphonebuttonstyle",
                                              "animatedbuttonstyle",
                                              "propertyitemstyle"};

// What a named part is made of.
enum class Kind { Shape, Text, Brush, Image, Content, Control, Animation, Any };

const std::set<std::string> kShapes = {"TsgRectangle", "TsgRoundRect",    "TsgSidesRectangle",
                                       "TsgEllipse",   "TsgCircle",       "TsgPath",
                                       "TsgLine",      "TsgBlurRectangle"};
// Classes that are no embedded control.
const std::set<std::string> kNotControls = {"TsgLayout",
                                            "TsgText",
                                            "TsgImage",
                                            "TsgBrushObject",
                                            "TsgContent",
                                            "TsgGlowEffect",
                                            "TsgShadowEffect",
                                            "TsgInnerGlowEffect",
                                            "TsgColorAnimation",
                                            "TsgFloatAnimation",
                                            "TsgGradientAnimation",
                                            "TsgRectAnimation",
                                            "TsgBitmapAnimation",
                                            "TsgFloatKeyAnimation",
                                            "TsgRectangle",
                                            "TsgRoundRect",
                                            "TsgSidesRectangle",
                                            "TsgEllipse",
                                            "TsgCircle",
                                            "TsgPath",
                                            "TsgLine",
                                            "TsgBlurRectangle"};

bool IsKind(const std::string& cls, Kind kind) {
    switch (kind) {
    case Kind::Shape:
        return kShapes.count(cls) > 0;
    case Kind::Text:
        return cls == "TsgText";
    case Kind::Brush:
        return cls == "TsgBrushObject";
    case Kind::Image:
        return cls == "TsgImage";
    case Kind::Content:
        return cls == "TsgContent";
    case Kind::Control:
        return kNotControls.count(cls) == 0;
    case Kind::Animation:
        return cls == "TsgBitmapAnimation";
    case Kind::Any:
        return true;
    }
    return false;
}

struct TPart {
    std::string Name;
    Kind PartKind;
};

struct TStyleCase {
    std::vector<std::string> Styles;
    std::string Root; // "" for any shape
    std::vector<TPart> Parts;
};

const std::vector<TPart> kScrollParts = {
    {"background", Kind::Shape},        {"content", Kind::Content},
    {"vscrollbar", Kind::Control},      {"hscrollbar", Kind::Control},
    {"vsmallscrollbar", Kind::Control}, {"hsmallscrollbar", Kind::Control}};

std::vector<TPart> With(std::vector<TPart> parts, const std::vector<TPart>& more) {
    parts.insert(parts.end(), more.begin(), more.end());
    return parts;
}

// Root classes and named parts, as the controls look them up.
const std::vector<TStyleCase> kStyleCases = {
    {{"buttonstyle", "roundbuttonstyle", "popupbuttonstyle", "cornerbuttonstyle",
      "circlebuttonstyle", "speedbuttonstyle", "groupboxstyle"},
     "TsgLayout",
     {{"background", Kind::Shape}, {"text", Kind::Text}}},
    {{"colorbuttonstyle"},
     "TsgLayout",
     {{"background", Kind::Shape}, {"text", Kind::Text}, {"fill", Kind::Shape}}},
    {{"bitmapbuttonstyle"},
     "TsgLayout",
     {{"background", Kind::Shape}, {"text", Kind::Text}, {"image", Kind::Image}}},
    {{"pathbuttonstyle"},
     "TsgLayout",
     {{"background", Kind::Shape},
      {"text", Kind::Text},
      {"pathowner", Kind::Any},
      {"path", Kind::Shape}}},
    {{"checkboxstyle", "radiobuttonstyle"},
     "TsgLayout",
     {{"background", Kind::Shape}, {"checkmark", Kind::Shape}, {"text", Kind::Text}}},
    {{"progressbarstyle"},
     "TsgLayout",
     {{"htrack", Kind::Shape},
      {"hindicator", Kind::Shape},
      {"vtrack", Kind::Shape},
      {"vindicator", Kind::Shape}}},
    {{"tabcontrolstyle", "treeviewexpanderbuttonstyle", "expanderbuttonstyle", "sizegripstyle"},
     "TsgLayout",
     {}},
    {{"tabitemstyle", "droptargetstyle"}, "TsgLayout", {{"text", Kind::Text}}},
    {{"textboxstyle"},
     "TsgLayout",
     {{"background", Kind::Shape},
      {"content", Kind::Content},
      {"foreground", Kind::Brush},
      {"selection", Kind::Brush}}},
    {{"treeviewstyle", "gridstyle"}, "TsgLayout", With(kScrollParts, {{"selection", Kind::Brush}})},
    {{"listboxstyle"},
     "TsgLayout",
     With(kScrollParts, {{"selection", Kind::Brush}, {"AlternatingRowBackground", Kind::Brush}})},
    {{"treeviewitemstyle"},
     "TsgRectangle",
     {{"button", Kind::Control}, {"check", Kind::Control}, {"text", Kind::Text}}},
    {{"listboxitemstyle", "hudlistboxitemstyle"},
     "TsgLayout",
     {{"check", Kind::Control}, {"text", Kind::Text}}},
    {{"scrollboxstyle", "framedscrollboxstyle"},
     "TsgLayout",
     With(kScrollParts, {{"sizegrip", Kind::Control}})},
    {{"memostyle"},
     "TsgLayout",
     With(kScrollParts,
          {{"sizegrip", Kind::Control}, {"foreground", Kind::Brush}, {"selection", Kind::Brush}})},
    {{"scrollbarstyle"},
     "TsgLayout",
     {{"background", Kind::Shape},
      {"leftbutton", Kind::Control},
      {"htrack", Kind::Control},
      {"rightbutton", Kind::Control},
      {"vtrack", Kind::Control},
      {"topbutton", Kind::Control},
      {"bottombutton", Kind::Control}}},
    {{"scrollbarhtrackstyle", "scrollbarvtrackstyle", "trackstyle", "hudtrackstyle"},
     "",
     {{"thumb", Kind::Control}}},
    {{"hthumbstyle", "vthumbstyle", "thumbbarstyle"}, "TsgLayout", {{"background", Kind::Shape}}},
    {{"scrollbarleftbutton", "scrollbarrightbutton", "scrollbartopbutton", "scrollbarbottombutton"},
     "TsgRectangle",
     {}},
    {{"smallscrollbarstyle"}, "TsgLayout", {{"htrack", Kind::Control}, {"vtrack", Kind::Control}}},
    {{"trackbarstyle"}, "TsgLayout", {{"background", Kind::Shape}, {"thumb", Kind::Control}}},
    {{"comboboxstyle"}, "TsgLayout", {{"background", Kind::Shape}, {"content", Kind::Content}}},
    {{"combolistboxstyle", "hudcombolistboxstyle"},
     "TsgLayout",
     With(kScrollParts, {{"selection", Kind::Brush}})},
    {{"messagepopupstyle"}, "TsgLayout", {}},
    {{"expanderstyle"},
     "TsgLayout",
     {{"text", Kind::Text}, {"button", Kind::Control}, {"checkbox", Kind::Control}}},
    {{"splitterstyle"}, "TsgLayout", {{"grip", Kind::Shape}}},
    {{"statusbarstyle"}, "TsgSidesRectangle", {{"sizegrip", Kind::Control}}},
    {{"anglebuttonstyle"},
     "TsgLayout",
     {{"background", Kind::Shape},
      {"tick", Kind::Shape},
      {"text", Kind::Text},
      {"tracktext", Kind::Text}}},
    {{"spinboxstyle"},
     "TsgLayout",
     {{"background", Kind::Shape},
      {"content", Kind::Content},
      {"minusbutton", Kind::Control},
      {"plusbutton", Kind::Control},
      {"foreground", Kind::Brush},
      {"selection", Kind::Brush}}},
    {{"hudwindowstyle"},
     "TsgLayout",
     {{"back", Kind::Shape},
      {"shadow", Kind::Shape},
      {"caption", Kind::Shape},
      {"stroke", Kind::Shape},
      {"close", Kind::Control},
      {"text", Kind::Text},
      {"sizegrip", Kind::Control}}},
    {{"animatedbuttonstyle"},
     "TsgLayout",
     {{"image", Kind::Image},
      {"animhoveron", Kind::Animation},
      {"animhoveroff", Kind::Animation},
      {"animclickon", Kind::Animation},
      {"animclickoff", Kind::Animation}}},
    {{"iconconfirmation", "iconinformation", "iconwarning", "iconerror"}, "TsgImage", {}},
    {{"CloseButtonStyle", "hudCloseButtonStyle"}, "TsgEllipse", {}},
    {{"grad"}, "TsgBrushObject", {}},
};

// Every trigger text the controls fire and the sheet answers.
const std::set<std::string> kTriggers = {"IsFocused=true",
                                         "IsMouseOver=true",
                                         "IsMouseOver=false",
                                         "IsMouseOver=true;IsPressed=false",
                                         "IsMouseOver=false;IsPressed=false",
                                         "IsMouseOver=true;IsPressed=true",
                                         "IsMouseOver=false;IsPressed=true",
                                         "IsChecked=true",
                                         "IsChecked=false",
                                         "IsSelected=true",
                                         "IsSelected=false",
                                         "IsMouseOver=true;IsSelected=false",
                                         "IsMouseOver=true;IsSelected=true",
                                         "IsMouseOver=false;IsSelected=false",
                                         "IsExpanded=true",
                                         "IsExpanded=false",
                                         "IsOpen=true",
                                         "IsOpen=false",
                                         "IsVisible=true",
                                         "IsDragOver=true",
                                         "IsPressed=true",
                                         "IsPressed=false"};

std::string Unquote(const std::string& v) {
    return v.size() >= 2 && v.front() == '\'' ? v.substr(1, v.size() - 2) : v;
}

class StyleSheet : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sheet_ = new TNode(stylesheet::LoadBuiltSheet()); }
    static void TearDownTestSuite() {
        delete sheet_;
        sheet_ = nullptr;
    }
    static const TNode& Sheet() { return *sheet_; }
    static const TNode& Style(const std::string& name) {
        for (const TNode& style : sheet_->Children)
            if (style.ResourceName() == name)
                return style;
        throw std::runtime_error("no style " + name);
    }
    static TNode* sheet_;
};

TNode* StyleSheet::sheet_ = nullptr;

TEST_F(StyleSheet, RootIsTheDarkBackgroundOfTheSheetSize) {
    EXPECT_EQ(Sheet().Class, "TsgBackground");
    EXPECT_EQ(Sheet().Prop("Width"), "556");
    EXPECT_EQ(Sheet().Prop("Height"), "551");
    EXPECT_EQ(Sheet().Prop("Fill.Style"), "sgBrushSolid");
    EXPECT_EQ(Sheet().Prop("Fill.Color"), "'#FF2B2B2B'");
    EXPECT_EQ(Sheet().Prop("ResourceName"), "");
}

TEST_F(StyleSheet, HoldsTheStylesInSheetOrder) {
    std::vector<std::string> names;
    for (const TNode& style : Sheet().Children)
        names.push_back(style.ResourceName());
    EXPECT_EQ(names, kStyleNames);
}

TEST_F(StyleSheet, EveryStyleHasItsRootClassAndNamedParts) {
    std::set<std::string> covered;
    for (const TStyleCase& c : kStyleCases)
        for (const std::string& name : c.Styles) {
            SCOPED_TRACE(name);
            covered.insert(name);
            const TNode& style = Style(name);
            if (c.Root.empty())
                EXPECT_TRUE(kShapes.count(style.Class)) << style.Class;
            else
                EXPECT_EQ(style.Class, c.Root);
            for (const TPart& part : c.Parts) {
                SCOPED_TRACE(part.Name);
                const TNode* found = style.FindPart(part.Name);
                ASSERT_NE(found, nullptr);
                EXPECT_TRUE(IsKind(found->Class, part.PartKind)) << found->Class;
                // Parts drawn by the style are locked and let the mouse through to the control.
                if (part.PartKind != Kind::Control && part.PartKind != Kind::Brush &&
                    part.PartKind != Kind::Animation && found->Class != "TsgLayout" &&
                    found->Class != "TsgContent") {
                    EXPECT_EQ(found->Prop("Locked"), "True");
                    EXPECT_EQ(found->Prop("HitTest"), "False");
                }
            }
        }
    // Every other style has a root of the kinds styles are made of.
    const std::set<std::string> roots = {"TsgLayout",         "TsgRectangle", "TsgRoundRect",
                                         "TsgSidesRectangle", "TsgEllipse",   "TsgImage"};
    for (const TNode& style : Sheet().Children) {
        if (!covered.count(style.ResourceName())) {
            EXPECT_TRUE(roots.count(style.Class)) << style.ResourceName() << ": " << style.Class;
        }
    }
}

TEST_F(StyleSheet, MessagePopupClipsAndSlidesItsParent) {
    const TNode& popup = Style("messagepopupstyle");
    EXPECT_EQ(popup.Prop("ClipChildren"), "True");
    std::vector<std::string> paths;
    popup.Collect("PropertyName", paths);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), "'Parent.Position.Y'"), 2);
}

TEST_F(StyleSheet, UsesExactlyTheTriggersTheControlsFire) {
    std::vector<std::string> triggers;
    Sheet().Collect("Trigger", triggers);
    std::set<std::string> used;
    for (const std::string& t : triggers)
        used.insert(Unquote(t));
    EXPECT_EQ(used, kTriggers);
}

TEST_F(StyleSheet, FirstDropTargetStyleIsTheOneFound) {
    std::vector<size_t> at;
    for (size_t i = 0; i < Sheet().Children.size(); ++i)
        if (Sheet().Children[i].ResourceName() == "droptargetstyle")
            at.push_back(i);
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(Sheet().FindPart("DropTargetStyle"), &Sheet().Children[at[0]]);
}

const char* const kNormal = "< item Color = '#FFFFFFFF' end item Color = '#FFEFEFEF' Offset = "
                            "0.49 end item Color = '#FFE4E4E4' Offset = 0.5 end item Color = "
                            "'#FFCECECE' Offset = 1 end>";
const char* const kLighter = "< item Color = '#FFFFFFFF' end item Color = '#FFF8F8F8' Offset = "
                             "0.49 end item Color = '#FFF0F0F0' Offset = 0.5 end item Color = "
                             "'#FFE0E0E0' Offset = 1 end>";
const char* const kReversed = "< item Color = '#FFCECECE' end item Color = '#FFE4E4E4' Offset = "
                              "0.49 end item Color = '#FFEFEFEF' Offset = 0.5 end item Color = "
                              "'#FFFFFFFF' Offset = 1 end>";

TEST_F(StyleSheet, ButtonStyleValueByValue) {
    const TNode& button = Style("buttonstyle");
    EXPECT_EQ(button.Class, "TsgLayout");
    EXPECT_EQ(button.Prop("Width"), "91");
    EXPECT_EQ(button.Prop("Height"), "24");
    ASSERT_EQ(button.Children.size(), 4u);

    const TNode& background = button.Children[0];
    EXPECT_EQ(background.Class, "TsgRectangle");
    EXPECT_EQ(background.ResourceName(), "background");
    EXPECT_EQ(background.Prop("Align"), "vaContents");
    EXPECT_EQ(background.Prop("xRadius"), "3");
    EXPECT_EQ(background.Prop("yRadius"), "3");
    EXPECT_EQ(background.Prop("Stroke.Color"), "'#FF808080'");
    EXPECT_EQ(background.Prop("Fill.Style"), "sgBrushGradient");
    EXPECT_EQ(background.Prop("Fill.Gradient.Points"), kNormal);
    EXPECT_EQ(background.Prop("Fill.Gradient.Style"), ""); // the default, linear direction
    struct {
        const char* Trigger;
        const char* Duration;
        bool Inverse;
        const char* Stop;
    } const animations[] = {{"IsMouseOver=true;IsPressed=false", "0.2", false, kLighter},
                            {"IsMouseOver=false;IsPressed=false", "0.2", false, kNormal},
                            {"IsMouseOver=false;IsPressed=true", "0.001", true, nullptr},
                            {"IsMouseOver=true;IsPressed=true", "0.001", false, kReversed}};
    ASSERT_EQ(background.Children.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(animations[i].Trigger);
        const TNode& a = background.Children[i];
        EXPECT_EQ(a.Class, "TsgGradientAnimation");
        EXPECT_EQ(a.Prop("PropertyName"), "'Fill.Gradient'");
        EXPECT_EQ(Unquote(a.Prop("Trigger")), animations[i].Trigger);
        EXPECT_EQ(a.Prop("Duration"), animations[i].Duration);
        EXPECT_EQ(a.Prop("Inverse"), animations[i].Inverse ? "True" : "");
        if (animations[i].Stop) {
            EXPECT_EQ(a.Prop("StopValue.Points"), animations[i].Stop);
        }
    }

    const TNode& text = button.Children[1];
    EXPECT_EQ(text.Class, "TsgText");
    EXPECT_EQ(text.ResourceName(), "text");
    EXPECT_EQ(text.Prop("Align"), "vaClient");
    EXPECT_EQ(text.Prop("Padding.Rect"), "'(5,2,5,2)'");
    EXPECT_EQ(text.Prop("Text"), "'button'");

    const TNode& glow = button.Children[2];
    EXPECT_EQ(glow.Class, "TsgGlowEffect");
    EXPECT_EQ(glow.Prop("Trigger"), "'IsFocused=true'");
    EXPECT_EQ(glow.Prop("Enabled"), "False");
    EXPECT_EQ(glow.Prop("Softness"), "0.3");
    EXPECT_EQ(glow.Prop("Opacity"), "0.6");
    EXPECT_EQ(glow.Prop("GlowColor"), "'#FF2E3C9C'");

    const TNode& shadow = button.Children[3];
    EXPECT_EQ(shadow.Class, "TsgShadowEffect");
    EXPECT_EQ(shadow.Prop("Distance"), "2");
    EXPECT_EQ(shadow.Prop("Direction"), "45");
    EXPECT_EQ(shadow.Prop("Softness"), "0.3");
    EXPECT_EQ(shadow.Prop("Opacity"), "0.4");
    EXPECT_EQ(shadow.Prop("ShadowColor"), "'#FF000000'");
    EXPECT_EQ(shadow.Prop("Trigger"), ""); // permanent
}

TEST_F(StyleSheet, IconsAreFittedPicturesOfFiftyPixels) {
    for (const char* name : {"iconconfirmation", "iconinformation", "iconwarning", "iconerror"}) {
        SCOPED_TRACE(name);
        const TNode& icon = Style(name);
        EXPECT_EQ(icon.Prop("Width"), "50");
        EXPECT_EQ(icon.Prop("Height"), "50");
        EXPECT_EQ(icon.Prop("WrapMode"), "sgImageFit");
        std::string hex = icon.Prop("Bitmap.PNG");
        ASSERT_GE(hex.size(), 2u);
        hex = hex.substr(1, hex.size() - 2);
        std::vector<uint8_t> png;
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            png.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        TBytesStream stream(png);
        TsgBitmap picture(stream);
        EXPECT_EQ(picture.Width(), 50);
        EXPECT_EQ(picture.Height(), 50);
    }
}

std::string Bytes(TMemoryStream& s) {
    return std::string(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

TEST(StyleSheetForms, TextToBinaryToTextToBinaryIsByteEqual) {
    std::string text;
    for (const auto& part : stylesheet::SheetParts())
        text += testsupport::ReadFile(part);
    ASSERT_FALSE(text.empty());
    TStringStream source{AnsiString(text)};
    TMemoryStream binary;
    ObjectTextToBinary(source, binary);
    // The build's sheet is exactly the conversion of the text parts.
    EXPECT_EQ(Bytes(binary), testsupport::ReadFile(stylesheet::BuiltSheet()));
    binary.SetPosition(0);
    TMemoryStream back;
    ObjectBinaryToText(binary, back);
    back.SetPosition(0);
    TMemoryStream again;
    ObjectTextToBinary(back, again);
    EXPECT_EQ(Bytes(again), Bytes(binary));
}

// The sheet as the program carries it: read once from the resource "defaultsgstyle", whatever
// classes this build lacks (their objects are skipped, the rest loads).
TEST(StyleSheetResource, LoadsFromTheProgramsResourceOnce) {
    RegisterSgSceneUnit();
    testsupport::ScratchFolder scratch;
    const auto bundle = scratch.Path() / "bundle.bin";
    {
        std::ofstream out(bundle, std::ios::binary);
        std::string error;
        ASSERT_TRUE(win::WriteResourceBundle(
            out, {{"DEFAULTSGSTYLE", "RCDATA", {}, stylesheet::BuiltSheet().string()}}, 0, error))
            << error;
    }
    FreeDefaultStyles();
    win::SetResourceFile(bundle.string());
    TsgObject* sheet = LoadDefaultStyles();
    win::SetResourceFile("");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(LoadDefaultStyles(), sheet);
    auto* root = dynamic_cast<TsgBackground*>(sheet);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Width(), 556);
    EXPECT_EQ(root->Height(), 551);
    EXPECT_EQ(root->Fill()->Style(), sgBrushSolid);
    EXPECT_EQ(root->Fill()->SolidColor(), 0xFF2B2B2Bu);
    // What loaded keeps the sheet's order.
    size_t next = 0;
    for (int i = 0; i < root->ChildrenCount(); ++i) {
        const std::string name = root->GetChild(i)->ResourceName().ToUtf8();
        while (next < kStyleNames.size() && kStyleNames[next] != name)
            ++next;
        EXPECT_LT(next, kStyleNames.size()) << name << " out of order";
        ++next;
    }
    EXPECT_NE(dynamic_cast<TsgBrushObject*>(root->FindResource(u"GRAD")), nullptr);
    FreeDefaultStyles();
}

// Only classes this build lacks may be left out; every value of every object read must fit its
// property, so that a build with all the sheet's classes reads the sheet complete.
TEST(StyleSheetResource, ReadsWithoutErrorsBeyondMissingClasses) {
    RegisterSgSceneUnit();
    const std::string bytes = testsupport::ReadFile(stylesheet::BuiltSheet());
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    TsgBackground root(nullptr);
    std::vector<std::string> errors;
    TReader reader(stream);
    reader.OnSetName = [](TReader&, TComponent*, AnsiString& name) { name = AnsiString(); };
    reader.OnError = [&errors](TReader&, const AnsiString& message, bool& handled) {
        const std::string text = message.c_str();
        if (text.rfind("Class ", 0) != 0 || text.find(" not found") == std::string::npos)
            errors.push_back(text);
        handled = true;
    };
    EXPECT_NO_THROW(reader.ReadRootComponent(&root));
    EXPECT_EQ(errors, std::vector<std::string>{});
}

} // namespace
