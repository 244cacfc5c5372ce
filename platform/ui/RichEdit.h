// TRichEdit: a read-mostly rich-text box, a child window that shows an RTF document.
//
// The box keeps the document's bytes exactly as loaded (saving writes them back unchanged) and
// shows their formatted text (see RtfDocument.h), wrapped to its width, scrolled by the wheel,
// the keys and a vertical scroll bar drawn at its right edge. Printing lays the text out on A4
// pages of a PDF document and hands that to the print command.
//
// It is a streamed component of its window (the wizard's layout names it), and the scene's
// native-window layout keeps it placed over its rectangle, in front of the scene.
#pragma once

#include "platform/gfx/RichText.h"
#include "platform/rtl/UnicodeString.h"
#include "platform/ui/WinComponent.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Which scroll bars a box shows; the box draws a vertical one whatever is streamed.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TRichEdit : public TWinComponent {
    DBI_PERSISTENT(TRichEdit, TWinComponent)

    explicit TRichEdit(TComponent* owner = nullptr);
    ~TRichEdit() override;

    // False, and the box left empty, when the file cannot be read or is not RTF.
    bool LoadFromFile(const UnicodeString& fileName);
    bool LoadFromBytes(std::string_view bytes);
    // Writes the bytes as loaded; raises EFCreateError when the file cannot be written.
    void SaveToFile(const UnicodeString& fileName) const;
    void Clear();

    const std::string& Bytes() const { return bytes_; }
    UnicodeString Text() const;
    const std::vector<gfx::RichTextRun>& Runs() const { return runs_; }

    bool ReadOnly = true;
    bool GetReadOnly() const { return ReadOnly; }
    void SetReadOnly(bool value) { ReadOnly = value; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value) { scrollBars_ = value; }
    // Family of text without a font of its own.
    std::string FontFamily = "Tahoma";

    // Pixels scrolled from the top, 0 to MaxScroll().
    int ScrollPos() const { return scroll_; }
    void SetScrollPos(int value);
    int MaxScroll() const;
    int ContentHeight() const;

    // Prints the text as a document titled `title`; raises Exception with the reason when the
    // document cannot be made or the print command fails.
    void Print(const UnicodeString& title) const;

    static constexpr int kScrollBarWidth = 16;
    static constexpr int kTextMargin = 4;

protected:
    void Paint() override;
    void Resize() override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    const gfx::RichTextLayout& Layout() const;
    int LineStep() const;
    // Thumb of the scroll bar: top and height in client pixels (height 0 when not scrollable).
    void Thumb(int& top, int& height) const;

    TScrollStyle scrollBars_ = ssVertical;
    std::string bytes_;
    std::vector<gfx::RichTextRun> runs_;
    mutable std::unique_ptr<gfx::RichTextLayout> layout_;
    mutable int layoutWidth_ = -1;
    std::vector<uint32_t> buffer_;
    int scroll_ = 0;
    int dragOffset_ = -1; // pointer offset inside the thumb while dragging it
};
