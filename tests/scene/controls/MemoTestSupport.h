// A memo in a headless scene whose canvas gives every character the same advance, so widths,
// wrapping and caret points are plain arithmetic; and a fixture that drives it with key calls
// as the scene would make them.
#pragma once

#include "scene/controls/Sg_memo.h"
#include "scene/core/RecordingCanvas.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/Input.h"
#include "platform/ui/Menus.h"

#include <gtest/gtest.h>

#include <string>

// Measures without logging: the layout tests measure a great deal.
class FixedAdvanceCanvas : public RecordingCanvas {
public:
    void MeasureText(TsgRect& r, const TsgRect&, const UnicodeString& text, bool, TsgTextAlign,
                     TsgTextAlign) override {
        r.Right = r.Left + CharWidth * float(text.Length());
        r.Bottom = r.Top + LineHeight;
    }
};

class FixedAdvanceScene : public TsgOffscreenScene {
public:
    FixedAdvanceScene() : TsgOffscreenScene(nullptr, 1, 1) {}
    TsgCanvas* GetCanvas() override { return WithCanvas ? &Canvas : nullptr; }

    FixedAdvanceCanvas Canvas;
    bool WithCanvas = true;
};

// Exposes the painter, so a test can paint the text into a canvas of its own.
class TsgPaintableMemo : public TsgMemo {
    DBI_PERSISTENT(TsgPaintableMemo, TsgMemo)
    using TsgMemo::TsgMemo;
    void PaintContent(TsgCanvas* Canvas, const TsgRect& R) { DoContentPaint(this, Canvas, R); }
};

// A memo 200 wide and 100 high (ten lines of 10), characters 10 wide, no style: the viewport
// is the whole memo.
class MemoTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgMemoUnit();
        scene.Canvas.CharWidth = 10;
        memo = new TsgPaintableMemo(nullptr);
        scene.AddObject(memo);
        memo->SetBounds(0, 0, 200, 100);
        memo->Font()->SetSize(8); // a line height of 10
        memo->OnChange = TNotifyEvent::Bind<&MemoTest::Changed>(this);
        memo->OnChangeTracking = TNotifyEvent::Bind<&MemoTest::Tracked>(this);
    }
    void TearDown() override {
        scene.RemoveObject(memo);
        delete memo;
        Clipboard()->Clear();
    }
    // Focus selects all only when asked: most tests place the caret themselves.
    void Focus(bool autoSelect = false) {
        memo->SetAutoSelect(autoSelect);
        scene.SetFocused(memo);
        memo->EnterFocus();
    }
    void Press(uint16_t key, TShiftState shift = TShiftState()) {
        char16_t ch = 0;
        memo->KeyDown(key, ch, shift);
    }
    void Type(const std::u16string& text, TShiftState shift = TShiftState()) {
        for (char16_t c : text) {
            uint16_t key = 0;
            char16_t ch = c;
            memo->KeyDown(key, ch, shift);
        }
    }
    void Ctrl(char16_t letter) { Type(std::u16string(1, letter), TShiftState(ssCtrl)); }
    std::string Text() const { return memo->Text().ToUtf8(); }
    TCaretPosition Caret() const { return memo->CaretPosition(); }

    FixedAdvanceScene scene;
    TsgPaintableMemo* memo = nullptr;
    int changes = 0;
    int tracking = 0;

private:
    void Changed(TObject*) { ++changes; }
    void Tracked(TObject*) { ++tracking; }
};
