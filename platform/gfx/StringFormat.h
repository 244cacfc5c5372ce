// Layout rules for DrawString, AddString and text measuring: alignment along the line
// (Alignment) and across lines (LineAlignment), wrapping, clipping and trailing blanks.
#pragma once

namespace gfx {

enum StringFormatFlags : int {
    StringFormatFlagsMeasureTrailingSpaces = 0x0800,
    StringFormatFlagsNoWrap = 0x1000,
    StringFormatFlagsLineLimit = 0x2000,
    StringFormatFlagsNoClip = 0x4000,
};

enum class StringAlignment { Near = 0, Center = 1, Far = 2 };

class StringFormat {
public:
    explicit StringFormat(int flags = 0) : flags_(flags) {}
    void SetFormatFlags(int flags) { flags_ = flags; }
    int GetFormatFlags() const { return flags_; }
    void SetAlignment(StringAlignment a) { alignment_ = a; }
    StringAlignment GetAlignment() const { return alignment_; }
    void SetLineAlignment(StringAlignment a) { lineAlignment_ = a; }
    StringAlignment GetLineAlignment() const { return lineAlignment_; }

private:
    int flags_;
    StringAlignment alignment_ = StringAlignment::Near;
    StringAlignment lineAlignment_ = StringAlignment::Near;
};

} // namespace gfx
