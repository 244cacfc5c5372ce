// The split stream that carries every byte the decoder reads from an archive.
#include "installer/archive/ArxStreams.h"
#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Volumes of the given contents behind a dynamic split stream.
struct Volumes {
    std::vector<std::unique_ptr<TMemoryStream>> streams;
    TArxDynamicSplitStream split{false};

    Volumes(std::vector<std::string> contents, int64_t maxSize) {
        for (auto& content : contents) {
            auto stream = std::make_unique<TMemoryStream>();
            stream->Write(content.data(), static_cast<int32_t>(content.size()));
            streams.push_back(std::move(stream));
        }
        split.OnVolume = [this](int index) -> TStream* {
            return index >= 0 && index < static_cast<int>(streams.size()) ? streams[index].get()
                                                                          : nullptr;
        };
        split.OnVolumeMaxSize = [maxSize](int) { return maxSize; };
    }

    std::string Read(int count) {
        std::string buffer(static_cast<size_t>(count), '\0');
        buffer.resize(static_cast<size_t>(split.Read(buffer.data(), count)));
        return buffer;
    }
};

TEST(ArxSplitStream, OneVolumeBehavesLikeTheVolume) {
    Volumes v({"0123456789"}, 0);
    EXPECT_EQ(v.split.GetSize(), 10);
    EXPECT_EQ(v.Read(4), "0123");
    EXPECT_EQ(v.split.Seek(-2, soEnd), 8);
    EXPECT_EQ(v.Read(10), "89");
    EXPECT_EQ(v.split.Seek(3, soBeginning), 3);
    EXPECT_EQ(v.Read(2), "34");
}

TEST(ArxSplitStream, ReadsAndSeeksAcrossVolumes) {
    Volumes v({"0123456789", "abcde"}, 10);
    EXPECT_EQ(v.split.GetSize(), 15);
    EXPECT_EQ(v.Read(12), "0123456789ab");
    EXPECT_EQ(v.split.Seek(11, soBeginning), 11);
    EXPECT_EQ(v.Read(1), "b");
    EXPECT_EQ(v.split.Seek(3, soBeginning), 3);
    EXPECT_EQ(v.Read(2), "34");
    EXPECT_EQ(v.split.Seek(-1, soBeginning), 5) << "a seek before volume 0 stays put";
    EXPECT_EQ(v.Read(100), "56789abcde");
}

TEST(ArxSplitStream, WritesFillEachVolumeUpToItsLimit) {
    Volumes v({"", ""}, 4);
    EXPECT_EQ(v.split.Write("abcdef", 6), 6);
    EXPECT_EQ(v.streams[0]->Size(), 4);
    EXPECT_EQ(v.streams[1]->Size(), 2);
}

TEST(ArxSplitStream, BadOriginAndMissingVolumes) {
    Volumes v({"xyz"}, 0);
    EXPECT_THROW(v.split.Seek(0, static_cast<TSeekOrigin>(3)), EArxStreamError);
    TArxDynamicSplitStream empty(false);
    EXPECT_EQ(empty.GetSize(), 0);
    char byte;
    EXPECT_EQ(empty.Read(&byte, 1), 0);
    EXPECT_EQ(empty.Seek(5, soBeginning), 0);
}

} // namespace
