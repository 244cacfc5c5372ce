// The toolkit's font to and from the platform's TFont: height and size, the styles each side can
// say, the notification, and the refusal of other classes.
#include "scene/core/Sg_scene_font.h"

#include "platform/rtl/Exceptions.h"
#include "platform/ui/FontsColors.h"

#include <gtest/gtest.h>

namespace {

constexpr TFontStyles kBold = 1u << fsBold;
constexpr TFontStyles kItalic = 1u << fsItalic;
constexpr TFontStyles kUnderline = 1u << fsUnderline;
constexpr TFontStyles kStrikeOut = 1u << fsStrikeOut;

struct ChangeCounter {
    void Changed(TObject*) { ++Count; }
    int Count = 0;
};

struct FromCase {
    int height;
    TFontStyles style;
    float size;
    TsgFontStyle expected; // the starting style is sgFontUnderline
};

TEST(FontAssign, FromAPlatformFont) {
    const FromCase cases[] = {
        {-13, 0, 13, sgFontRegular},
        {13, kBold, 13, sgFontBold},
        {-9, kItalic, 9, sgFontItalic},
        {-20, kBold | kItalic, 20, sgFontBoldItalic},
        {-12, kBold | kUnderline, 12, sgFontUnderline}, // not one value: left as it was
        {-12, kStrikeOut, 12, sgFontUnderline},
    };
    for (const FromCase& c : cases) {
        TsgFont font;
        font.SetStyle(sgFontUnderline);
        ChangeCounter changes;
        font.OnChanged = TNotifyEvent::Bind<&ChangeCounter::Changed>(&changes);
        TFont source;
        source.SetName(u"Arial");
        source.SetHeight(c.height);
        source.SetStyle(c.style);
        font.Assign(&source);
        EXPECT_EQ(font.Family(), UnicodeString(u"Arial")) << c.height;
        EXPECT_FLOAT_EQ(font.Size(), c.size) << c.height;
        EXPECT_EQ(font.Style(), c.expected) << c.height;
        EXPECT_EQ(changes.Count, 1) << c.height;
    }
}

struct ToCase {
    float size;
    TsgFontStyle style;
    int height;
    TFontStyles expected; // the target starts as strike-out
};

TEST(FontAssign, ToAPlatformFontThroughEitherSide) {
    const ToCase cases[] = {
        {10.5f, sgFontRegular, -10, 0}, // halves round to even
        {11.5f, sgFontBold, -12, kBold},
        {9, sgFontItalic, -9, kItalic},
        {14, sgFontBoldItalic, -14, kBold | kItalic},
        {14, sgFontUnderline, -14, kStrikeOut},
        {14, sgFontStrikeout, -14, kStrikeOut},
    };
    for (const ToCase& c : cases) {
        TsgFont font;
        font.SetFamily(u"Tahoma");
        font.SetSize(c.size);
        font.SetStyle(c.style);
        for (bool fromTarget : {false, true}) {
            TFont target;
            target.SetName(u"Other");
            target.SetStyle(kStrikeOut);
            if (fromTarget)
                target.Assign(&font);
            else
                font.AssignTo(&target);
            EXPECT_EQ(target.Name(), UnicodeString(u"Tahoma")) << c.size;
            EXPECT_EQ(target.Height(), c.height) << c.size;
            EXPECT_EQ(target.Style(), c.expected) << c.size;
        }
    }
}

TEST(FontAssign, OtherClassesAreRefused) {
    TsgFont font;
    TsgFont other;
    EXPECT_NO_THROW(font.Assign(&other));
    EXPECT_THROW(font.AssignTo(&other), EConvertError);
}

} // namespace
