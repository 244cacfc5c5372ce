// A text box in a headless scene, wearing a small style of our own with a padded "content" part,
// and driven by key calls as the scene would make them.
#pragma once

#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_resourceobjects.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/Messages.h"

#include <gtest/gtest.h>

#include <string>

// Exposes the content painter, so a test can paint the text into a canvas of its own.
class TsgPaintableTextBox : public TsgTextBox {
    DBI_PERSISTENT(TsgPaintableTextBox, TsgTextBox)
    using TsgTextBox::TsgTextBox;
    void PaintContent(TsgCanvas* Canvas, const TsgRect& R) { DoContentPaint(this, Canvas, R); }
};

// The style the boxes of these tests wear: content padded by 3 left and right, 2 top and bottom.
TsgObject* TextBoxTestStyle();

class TextBoxTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void Press(uint16_t key, TShiftState shift = TShiftState()) {
        char16_t ch = 0;
        box->KeyDown(key, ch, shift);
    }
    void Type(const std::u16string& text, TShiftState shift = TShiftState()) {
        for (char16_t c : text) {
            uint16_t key = 0;
            char16_t ch = c;
            box->KeyDown(key, ch, shift);
        }
    }
    void Ctrl(char16_t letter) { Type(std::u16string(1, letter), TShiftState(ssCtrl)); }
    // Text, caret, selection start and length in one line, for readable failures.
    std::string State() const;

    TsgOffscreenScene* scene = nullptr;
    TsgPaintableTextBox* box = nullptr;
    int changes = 0;
    int tracking = 0;
    int typing = 0;

private:
    void Changed(TObject*) { ++changes; }
    void Tracked(TObject*) { ++tracking; }
    void Typed(TObject*) { ++typing; }
};
