// Property access by dotted name.
#include "TestClasses.h"

#include "platform/classes/TypInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(TypInfo, ReadsAndWritesEveryKindByPath) {
    TTestWidget w(nullptr);
    SetOrdProp(&w, "count", 7);
    SetOrdProp(&w, "Font.Size", 20);
    SetFloatProp(&w, "Ratio", 1.25);
    SetStrProp(&w, "Font.Name", u"Mono");
    SetEnumProp(&w, "Shape", "shSquare");
    SetEnumProp(&w, "Visible", "false");
    SetSetProp(&w, "Anchors", "[akRight, akBottom]");
    EXPECT_EQ(w.Count, 7);
    EXPECT_EQ(w.Font.Size(), 20);
    EXPECT_EQ(GetFloatProp(&w, "RATIO"), 1.25);
    EXPECT_EQ(GetStrProp(&w, "Font.Name"), UnicodeString(u"Mono"));
    EXPECT_EQ(GetEnumProp(&w, "Shape"), "shSquare");
    EXPECT_EQ(GetEnumProp(&w, "Visible"), "False");
    EXPECT_EQ(GetSetProp(&w, "Anchors"), "[akRight,akBottom]");
    TTestWidget buddy(nullptr);
    SetObjectProp(&w, "Buddy", &buddy);
    EXPECT_EQ(GetObjectProp(&w, "Buddy"), &buddy);
    EXPECT_EQ(GetObjectProp(&w, "Font"), &w.Font);
    EXPECT_TRUE(IsPublishedProp(&w, "Font.Size"));
    EXPECT_FALSE(IsPublishedProp(&w, "Buddy.Count")); // no steps through references
    EXPECT_FALSE(IsPublishedProp(&w, "Font.Size.X"));
}

TEST(TypInfo, RefusesUnknownNamesKindsAndValues) {
    TTestWidget w(nullptr);
    EXPECT_THROW(GetOrdProp(&w, "Missing"), EPropertyError);
    EXPECT_THROW(GetOrdProp(&w, "Ratio"), EPropertyError);
    EXPECT_THROW(SetEnumProp(&w, "Shape", "shOval"), EConvertError);
    EXPECT_THROW(SetSetProp(&w, "Anchors", "[akLeft, nowhere]"), EConvertError);
    EXPECT_THROW(SetObjectProp(&w, "Font", nullptr), EPropertyError); // read-only
    EXPECT_THROW(GetOrdProp(nullptr, "Count"), EPropertyError);
}

} // namespace
