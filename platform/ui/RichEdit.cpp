#include "platform/ui/RichEdit.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/ui/Present.h"
#include "platform/ui/RtfDocument.h"
#include "platform/win/Folders.h"
#include "platform/win/Shell.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr uint32_t kBackground = 0xFFFFFFFF;
constexpr uint32_t kTrack = 0xFFF0F0F0;
constexpr uint32_t kThumb = 0xFFC2C2C2;
constexpr int kMinThumb = 12;

void FillRect(std::vector<uint32_t>& buffer, int width, int left, int top, int right, int bottom,
              uint32_t colour) {
    const int height = static_cast<int>(buffer.size()) / std::max(width, 1);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width);
    bottom = std::min(bottom, height);
    for (int y = top; y < bottom; ++y)
        std::fill(buffer.begin() + size_t(y) * width + left,
                  buffer.begin() + size_t(y) * width + right, colour);
}

} // namespace

DBI_PUBLISH(TRichEdit) {
    using R = TRichEdit;
    p.Boolean("ReadOnly", &R::GetReadOnly, &R::SetReadOnly, true);
    p.Enumeration("ScrollBars", &R::ScrollBars, &R::SetScrollBars,
                  {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}, ssVertical);
}

TRichEdit::TRichEdit(TComponent* owner) : TWinComponent(owner) {
    SetCursor(crIBeam);
}

TRichEdit::~TRichEdit() = default;

bool TRichEdit::LoadFromFile(const UnicodeString& fileName) {
    Clear();
    const std::optional<std::string> bytes = ReadRtfFile(fileName);
    return bytes && LoadFromBytes(*bytes);
}

bool TRichEdit::LoadFromBytes(std::string_view bytes) {
    Clear();
    if (!LooksLikeRtf(bytes))
        return false;
    bytes_ = std::string(bytes);
    runs_ = RtfToRuns(bytes_);
    layout_.reset();
    Invalidate();
    return true;
}

void TRichEdit::SaveToFile(const UnicodeString& fileName) const {
    TFileStream file(fileName, fmCreate);
    if (!bytes_.empty())
        file.WriteBuffer(bytes_.data(), static_cast<int32_t>(bytes_.size()));
}

void TRichEdit::Clear() {
    bytes_.clear();
    runs_.clear();
    layout_.reset();
    scroll_ = 0;
    Invalidate();
}

UnicodeString TRichEdit::Text() const {
    std::u16string text;
    for (const gfx::RichTextRun& run : runs_)
        text += run.text;
    return UnicodeString(text);
}

const gfx::RichTextLayout& TRichEdit::Layout() const {
    const int width = std::max(1, Width() - kScrollBarWidth - 2 * kTextMargin);
    if (!layout_ || layoutWidth_ != width) {
        layout_ = std::make_unique<gfx::RichTextLayout>(runs_, FontFamily, width);
        layoutWidth_ = width;
    }
    return *layout_;
}

int TRichEdit::ContentHeight() const {
    return Layout().Height() + 2 * kTextMargin;
}

int TRichEdit::MaxScroll() const {
    return std::max(0, ContentHeight() - Height());
}

void TRichEdit::SetScrollPos(int value) {
    value = std::clamp(value, 0, MaxScroll());
    if (value == scroll_)
        return;
    scroll_ = value;
    Invalidate();
}

int TRichEdit::LineStep() const {
    const auto& layout = Layout();
    const int lines = std::max(1, layout.LineCount());
    return std::max(1, layout.Height() / lines);
}

void TRichEdit::Thumb(int& top, int& height) const {
    const int content = ContentHeight();
    if (content <= Height() || Height() <= 0) {
        top = 0;
        height = 0;
        return;
    }
    height = std::max(kMinThumb, static_cast<int>(int64_t(Height()) * Height() / content));
    height = std::min(height, Height());
    const int range = MaxScroll();
    top = range > 0 ? static_cast<int>(int64_t(scroll_) * (Height() - height) / range) : 0;
}

void TRichEdit::Paint() {
    const int w = Width();
    const int h = Height();
    if (w <= 0 || h <= 0)
        return;
    buffer_.assign(size_t(w) * h, kBackground);
    const auto& layout = Layout();
    layout.Render(buffer_.data(), w - kScrollBarWidth, h, w * 4, kTextMargin,
                  scroll_ - kTextMargin);
    int thumbTop = 0;
    int thumbHeight = 0;
    Thumb(thumbTop, thumbHeight);
    FillRect(buffer_, w, w - kScrollBarWidth, 0, w, h, kTrack);
    if (thumbHeight > 0)
        FillRect(buffer_, w, w - kScrollBarWidth + 3, thumbTop + 1, w - 3,
                 thumbTop + thumbHeight - 1, kThumb);
    PresentBuffer(this, buffer_.data(), w, h, w * 4, ClientRect());
}

void TRichEdit::Resize() {
    SetScrollPos(scroll_);
    Invalidate();
}

bool TRichEdit::DoMouseWheel(TShiftState, int wheelDelta, TPoint) {
    SetScrollPos(scroll_ - wheelDelta / 120 * 3 * LineStep());
    return true;
}

void TRichEdit::KeyDown(uint16_t& key, TShiftState) {
    switch (key) {
    case VK_UP:
        SetScrollPos(scroll_ - LineStep());
        break;
    case VK_DOWN:
        SetScrollPos(scroll_ + LineStep());
        break;
    case VK_PRIOR:
        SetScrollPos(scroll_ - std::max(1, Height() - LineStep()));
        break;
    case VK_NEXT:
        SetScrollPos(scroll_ + std::max(1, Height() - LineStep()));
        break;
    case VK_HOME:
        SetScrollPos(0);
        break;
    case VK_END:
        SetScrollPos(MaxScroll());
        break;
    default:
        return;
    }
    key = 0;
}

void TRichEdit::MouseDown(TMouseButton button, TShiftState, int x, int y) {
    SetFocus();
    if (button != mbLeft || x < Width() - kScrollBarWidth)
        return;
    int top = 0;
    int height = 0;
    Thumb(top, height);
    if (height == 0)
        return;
    if (y >= top && y < top + height)
        dragOffset_ = y - top;
    else // a click on the track pages towards it
        SetScrollPos(scroll_ + (y < top ? -1 : 1) * std::max(1, Height() - LineStep()));
}

void TRichEdit::MouseMove(TShiftState, int, int y) {
    if (dragOffset_ < 0)
        return;
    int top = 0;
    int height = 0;
    Thumb(top, height);
    const int travel = Height() - height;
    if (travel > 0)
        SetScrollPos(static_cast<int>(int64_t(y - dragOffset_) * MaxScroll() / travel));
}

void TRichEdit::MouseUp(TMouseButton, TShiftState, int, int) {
    dragOffset_ = -1;
}

void TRichEdit::Print(const UnicodeString& title) const {
    const std::string folder = win::TempFolder();
    if (folder.empty())
        throw Exception(UnicodeString("There is no temporary folder to print from."));
    std::string path = folder + "print-XXXXXX.pdf";
    const int fd = mkstemps(path.data(), 4);
    if (fd < 0)
        throw Exception(UnicodeString::FromUtf8("Cannot create " + path + " to print."));
    close(fd);
    std::string error;
    const bool ok = gfx::WriteRichTextPdf(runs_, FontFamily, title.ToUtf8(), path, error) &&
                    win::PrintFile(path, error);
    std::remove(path.c_str());
    if (!ok)
        throw Exception(UnicodeString::FromUtf8(error));
}
