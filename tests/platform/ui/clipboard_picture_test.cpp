// Pictures taken from the X11 clipboard of a private Xvfb display, held by an owner thread: the
// selection reader with whole and piecewise answers, and its time and size limits against silent,
// stalling, boasting and lying owners; the clipboard's picture formats (PNG before BMP), text
// that is no picture and bytes that are no picture.
#include "platform/gfx/Bitmap.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/X11Selection.h"
#include "support/ClipboardOwner.h"
#include "support/TestSupport.h"
#include "support/XvfbServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using testsupport::ClipboardOwner;
using x11::SelectionStatus;
using Behaviour = ClipboardOwner::Behaviour;

// Opaque, so that the premultiplied words equal the straight ones.
std::unique_ptr<gfx::Bitmap> Pattern(int w, int h, uint32_t seed) {
    auto b = std::make_unique<gfx::Bitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->Scan0()[y * w + x] = 0xFF000000u | (uint32_t(x * 7 + seed) & 0xFF) << 16 |
                                    (uint32_t(y * 13) & 0xFF) << 8 |
                                    (uint32_t(x ^ y ^ seed) & 0xFF);
    b->MarkDirty();
    return b;
}

std::string Encoded(gfx::Bitmap& b, const char* mime) {
    std::vector<uint8_t> out;
    EXPECT_EQ(b.SaveToMemory(&out, mime), gfx::Status::Ok);
    return std::string(out.begin(), out.end());
}

bool SamePixels(gfx::Bitmap& a, gfx::Bitmap& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    a.Flush();
    b.Flush();
    return std::equal(a.Scan0(), a.Scan0() + a.GetWidth() * a.GetHeight(), b.Scan0());
}

class ClipboardPicture : public testing::Test {
protected:
    static void SetUpTestSuite() { server = new testsupport::XvfbServer(); }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override {
        if (server->Name().empty())
            GTEST_SKIP() << "Xvfb cannot be started here";
        display.emplace("DISPLAY", server->Name());
    }
    // Holds the clipboard until the test ends (or until Release).
    void Hold(std::vector<ClipboardOwner::Offer> offers, Behaviour behaviour = Behaviour::Answer,
              size_t pieceSize = 0) {
        owner = std::make_unique<ClipboardOwner>(server->Name(), std::move(offers), behaviour,
                                                 pieceSize);
        ASSERT_TRUE(owner->Holding());
    }

    static testsupport::XvfbServer* server;
    std::optional<testsupport::ScopedEnv> display;
    std::unique_ptr<ClipboardOwner> owner;
};

testsupport::XvfbServer* ClipboardPicture::server = nullptr;

std::string Payload(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char(i * 31 + i / 251);
    return bytes;
}

TEST_F(ClipboardPicture, TheReaderTakesWholeAndPiecewiseAnswersWithinItsLimits) {
    const std::string payload = Payload(10000);
    struct Case {
        const char* what;
        Behaviour behaviour;
        size_t pieceSize;
        size_t maxBytes;
        const char* target;
        SelectionStatus expected;
    };
    const Case cases[] = {
        {"whole", Behaviour::Answer, 0, 1 << 20, "image/png", SelectionStatus::Ok},
        {"in pieces", Behaviour::Answer, 1000, 1 << 20, "image/png", SelectionStatus::Ok},
        {"in uneven pieces", Behaviour::Answer, 4093, 1 << 20, "image/png", SelectionStatus::Ok},
        {"whole, exactly the limit", Behaviour::Answer, 0, 10000, "image/png", SelectionStatus::Ok},
        {"in pieces, exactly the limit", Behaviour::Answer, 4096, 10000, "image/png",
         SelectionStatus::Ok},
        {"whole, one byte past the limit", Behaviour::Answer, 0, 9999, "image/png",
         SelectionStatus::TooLarge},
        {"in pieces, announced past the limit", Behaviour::Answer, 1000, 9999, "image/png",
         SelectionStatus::TooLarge},
        {"in pieces, announced small but past the limit", Behaviour::Understate, 1000, 9999,
         "image/png", SelectionStatus::TooLarge},
        {"announcing 2 GB", Behaviour::AnnounceHuge, 1000, 1 << 20, "image/png",
         SelectionStatus::TooLarge},
        {"a target not offered", Behaviour::Answer, 0, 1 << 20, "image/bmp",
         SelectionStatus::NotOffered},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hold({{"image/png", payload}}, c.behaviour, c.pieceSize);
        std::vector<uint8_t> data{1, 2, 3};
        EXPECT_EQ(x11::ReadSelection("CLIPBOARD", c.target, data, {c.maxBytes, 5000}), c.expected);
        if (c.expected == SelectionStatus::Ok)
            EXPECT_EQ(std::string(data.begin(), data.end()), payload);
        else
            EXPECT_TRUE(data.empty());
        owner.reset();
    }
}

TEST_F(ClipboardPicture, SilentAndStallingOwnersAreGivenUpOnInTime) {
    for (Behaviour behaviour : {Behaviour::Silent, Behaviour::Stall}) {
        SCOPED_TRACE(int(behaviour));
        Hold({{"image/png", Payload(3000)}}, behaviour, 1000);
        int idleSteps = 0;
        const auto start = std::chrono::steady_clock::now();
        std::vector<uint8_t> data;
        EXPECT_EQ(x11::ReadSelection("CLIPBOARD", "image/png", data, {1 << 20, 300},
                                     [&] { ++idleSteps; }),
                  SelectionStatus::TimedOut);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, std::chrono::milliseconds(300));
        EXPECT_LT(took, std::chrono::milliseconds(3000));
        // The idle step runs while the reader waits, not once.
        EXPECT_GT(idleSteps, 5);
        EXPECT_TRUE(data.empty());
        owner.reset();
    }
}

TEST_F(ClipboardPicture, WithoutOwnerOrDisplayThereIsNothingToRead) {
    std::vector<uint8_t> data;
    EXPECT_EQ(x11::ReadSelection("CLIPBOARD", "image/png", data), SelectionStatus::NoOwner);
    for (const char* name : {"", ":4095"}) {
        testsupport::ScopedEnv unreachable("DISPLAY", std::string(name));
        EXPECT_EQ(x11::ReadSelection("CLIPBOARD", "image/png", data), SelectionStatus::NoDisplay)
            << name;
    }
    testsupport::ScopedEnv none("DISPLAY", std::nullopt);
    EXPECT_EQ(x11::ReadSelection("CLIPBOARD", "image/png", data), SelectionStatus::NoDisplay);
    EXPECT_EQ(Clipboard()->AsBitmap(), nullptr);
    EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
}

TEST_F(ClipboardPicture, TheOfferedTargetsAreThoseWantedThatTheOwnerLists) {
    Hold({{"UTF8_STRING", "text"}, {"image/bmp", "x"}, {"image/png", "y"}});
    std::vector<std::string> offered;
    ASSERT_EQ(x11::OfferedTargets("CLIPBOARD", {"image/png", "image/gif", "image/bmp"}, offered),
              SelectionStatus::Ok);
    EXPECT_EQ(offered, (std::vector<std::string>{"image/png", "image/bmp"}));
    std::string target;
    std::vector<uint8_t> data;
    ASSERT_EQ(
        x11::ReadFirstOffered("CLIPBOARD", {"image/gif", "image/bmp", "image/png"}, target, data),
        SelectionStatus::Ok);
    EXPECT_EQ(target, "image/bmp");
    EXPECT_EQ(std::string(data.begin(), data.end()), "x");
    EXPECT_EQ(x11::ReadFirstOffered("CLIPBOARD", {"image/gif"}, target, data),
              SelectionStatus::NotOffered);
    EXPECT_TRUE(target.empty());
}

TEST_F(ClipboardPicture, TheClipboardGivesItsPictureAsPngBeforeBmp) {
    auto png = Pattern(37, 23, 1), bmp = Pattern(19, 11, 2);
    struct Case {
        const char* what;
        std::vector<ClipboardOwner::Offer> offers;
        size_t pieceSize;
        gfx::Bitmap* expected;
    };
    const Case cases[] = {
        {"PNG", {{"image/png", Encoded(*png, "image/png")}}, 0, png.get()},
        {"PNG in pieces", {{"image/png", Encoded(*png, "image/png")}}, 256, png.get()},
        {"BMP", {{"image/bmp", Encoded(*bmp, "image/bmp")}}, 0, bmp.get()},
        {"both",
         {{"image/bmp", Encoded(*bmp, "image/bmp")}, {"image/png", Encoded(*png, "image/png")}},
         0,
         png.get()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hold(c.offers, Behaviour::Answer, c.pieceSize);
        EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
        EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
        const auto taken = Clipboard()->AsBitmap();
        ASSERT_NE(taken, nullptr);
        EXPECT_TRUE(SamePixels(*taken, *c.expected));
        owner.reset();
    }
}

TEST_F(ClipboardPicture, TextAndBytesThatAreNoPictureGiveNone) {
    auto png = Pattern(8, 8, 3);
    std::string truncated = Encoded(*png, "image/png");
    truncated.resize(truncated.size() / 2);
    struct Case {
        const char* what;
        std::vector<ClipboardOwner::Offer> offers;
        bool offersPicture;
    };
    const Case cases[] = {
        {"text only", {{"UTF8_STRING", "a picture"}, {"STRING", "a picture"}}, false},
        {"garbage as PNG", {{"image/png", "\x89PNG\r\n\x1a\n garbage, not chunks"}}, true},
        {"random bytes as BMP", {{"image/bmp", Payload(500)}}, true},
        {"a truncated PNG", {{"image/png", truncated}}, true},
        {"nothing as PNG", {{"image/png", ""}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hold(c.offers);
        EXPECT_EQ(Clipboard()->HasFormat(CF_BITMAP), c.offersPicture);
        EXPECT_EQ(Clipboard()->AsBitmap(), nullptr);
        owner.reset();
    }
}

} // namespace
