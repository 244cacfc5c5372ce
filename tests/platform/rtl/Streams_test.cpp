#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

class Streams : public ::testing::Test {
protected:
    UnicodeString Path(const char* name) { return UnicodeString((folder_.Path() / name).string()); }
    testsupport::ScratchFolder folder_;
};

// The protocol every stream follows, run against each kind.
TEST_F(Streams, EveryStreamFollowsTheSameProtocol) {
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<TStream>()>>> kinds = {
        {"file", [&] { return std::make_unique<TFileStream>(Path("protocol.bin"), fmCreate); }},
        {"memory", [] { return std::make_unique<TMemoryStream>(); }},
        {"bytes", [] { return std::make_unique<TBytesStream>(); }},
    };
    for (const auto& [name, make] : kinds) {
        SCOPED_TRACE(name);
        std::unique_ptr<TStream> stream = make();
        stream->WriteBuffer("hello world", 11);
        EXPECT_EQ(stream->Size(), 11);
        EXPECT_EQ(stream->Position(), 11);
        EXPECT_EQ(stream->Seek(-5, soFromEnd), 6);
        char buffer[16] = {};
        EXPECT_EQ(stream->Read(buffer, 16), 5);
        EXPECT_STREQ(buffer, "world");
        EXPECT_EQ(stream->Read(buffer, 16), 0);
        EXPECT_EQ(stream->Seek(2, soFromBeginning), 2);
        EXPECT_EQ(stream->Seek(2, soFromCurrent), 4);
        EXPECT_THROW(stream->ReadBuffer(buffer, 8), EReadError);
        // Writing past the end fills the gap with zeros.
        stream->Seek(13, soBeginning);
        stream->WriteBuffer("!", 1);
        EXPECT_EQ(stream->Size(), 14);
        stream->SetPosition(11);
        stream->ReadBuffer(buffer, 3);
        EXPECT_EQ(std::memcmp(buffer, "\0\0!", 3), 0);
        stream->SetSize(5);
        EXPECT_EQ(stream->Size(), 5);
        EXPECT_LE(stream->Position(), 14);
    }
}

TEST_F(Streams, FileModesAndErrors) {
    UnicodeString file = Path("modes.bin");
    try {
        TFileStream missing(file, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_GT(e.Message().Pos(u"Cannot open file \"" + file + u"\""), 0);
    }
    EXPECT_THROW(TFileStream(Path("no/dir/x"), fmCreate), EFCreateError);
    EXPECT_THROW(TFileStream(UnicodeString(folder_.Path().string()), fmOpenRead), EFOpenError);
    {
        TFileStream created(file, fmCreate | fmShareExclusive);
        created.WriteBuffer("abc", 3);
        EXPECT_EQ(created.FileName(), file);
    }
    {
        TFileStream reader(file, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(reader.Size(), 3);
        EXPECT_THROW(reader.WriteBuffer("x", 1), EWriteError);
    }
    {
        TFileStream writer(file, fmOpenReadWrite);
        writer.Seek(0, soEnd);
        writer.WriteBuffer("d", 1);
    }
    {
        // fmCreate truncates.
        TFileStream again(file, fmCreate);
        EXPECT_EQ(again.Size(), 0);
    }
}

TEST_F(Streams, MemoryStreamLoadsSavesAndCopies) {
    UnicodeString file = Path("memory.bin");
    std::ofstream(file.ToUtf8(), std::ios::binary) << "0123456789";
    TMemoryStream memory;
    memory.LoadFromFile(file);
    EXPECT_EQ(memory.Size(), 10);
    EXPECT_EQ(memory.Position(), 0);
    EXPECT_EQ(std::memcmp(memory.Memory(), "0123456789", 10), 0);

    TMemoryStream copy;
    memory.SetPosition(7);
    EXPECT_EQ(copy.CopyFrom(memory, 3), 3);
    EXPECT_EQ(std::memcmp(copy.Memory(), "789", 3), 0);
    EXPECT_EQ(copy.CopyFrom(memory, 0), 10); // 0 copies all of the source
    EXPECT_EQ(copy.Size(), 13);
    memory.SetPosition(8);
    EXPECT_THROW(copy.CopyFrom(memory, 5), EReadError);

    copy.SaveToFile(Path("copy.bin"));
    EXPECT_EQ(std::filesystem::file_size(folder_.Path() / "copy.bin"), 13u);
    copy.Clear();
    EXPECT_EQ(copy.Size(), 0);
    EXPECT_EQ(copy.Position(), 0);
    EXPECT_THROW(memory.LoadFromFile(Path("missing")), EFOpenError);
}

TEST_F(Streams, ReadOnlyViewsAndTextStreams) {
    static const char bytes[] = "resource bytes";
    TCustomMemoryStream view(bytes, 14);
    char buffer[8] = {};
    view.Seek(9, soBeginning);
    view.ReadBuffer(buffer, 5);
    EXPECT_STREQ(buffer, "bytes");
    EXPECT_EQ(view.Write("x", 1), 0);
    EXPECT_THROW(view.WriteBuffer("x", 1), EWriteError);
    EXPECT_EQ(view.Seek(-1, soBeginning), -1);
    EXPECT_EQ(view.Position(), 14);

    TStringStream text(UnicodeString(u"zażółć"));
    EXPECT_EQ(text.Size(), 10);
    text.Seek(0, soEnd);
    text.WriteString(AnsiString(" gęś"));
    EXPECT_EQ(UnicodeString(text.DataString()), UnicodeString(u"zażółć gęś"));
    text.SetPosition(0);
    EXPECT_EQ(text.ReadString(3), AnsiString("za\xC5"));
    TBytesStream fromBytes(std::vector<uint8_t>{1, 2, 3});
    EXPECT_EQ(fromBytes.Size(), 3);
    EXPECT_EQ(fromBytes.Bytes()[2], 3);
}

} // namespace
