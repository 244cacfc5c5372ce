#include "WinTestSupport.h"

#include "platform/win/SharedMemory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

using wintest::Output;

class SharedMemoryTest : public ::testing::Test {
protected:
    std::string name = "dbi-test-" + std::to_string(::getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name();
    void SetUp() override { win::SharedMemoryBlock::Unlink(name); }
    void TearDown() override { win::SharedMemoryBlock::Unlink(name); }
};

TEST_F(SharedMemoryTest, AnotherProcessReadsWhatIsWrittenHere) {
    win::SharedMemoryBlock block;
    ASSERT_TRUE(block.Open(name, 4096)) << block.Error();
    block.Data()[0] = 42;
    std::memcpy(block.Data() + 1, "Instalacja bazy", 15);
    std::string script = "import mmap,os\n"
                         "fd=os.open('/dev/shm/" +
                         name +
                         "',os.O_RDONLY)\n"
                         "m=mmap.mmap(fd,0,prot=mmap.PROT_READ)\n"
                         "print(len(m),m[0],m[1:1025].rstrip(b'\\0').decode())\n";
    EXPECT_EQ(Output("/usr/bin/python3 -c \"" + script + "\""), "4096 42 Instalacja bazy\n");
}

TEST_F(SharedMemoryTest, ReopeningKeepsTheContentAndAnotherWriterIsSeen) {
    {
        win::SharedMemoryBlock first;
        ASSERT_TRUE(first.Open(name, 1024));
        EXPECT_EQ(first.Data()[1023], 0); // a fresh block is zero-filled
        std::memcpy(first.Data(), "1000", 4);
    }
    win::SharedMemoryBlock again;
    ASSERT_TRUE(again.Open(name, 1024));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(again.Data()), 4), "1000");
    // A smaller view of a larger block is fine.
    win::SharedMemoryBlock smaller;
    ASSERT_TRUE(smaller.Open(name, 256));
    Output("/usr/bin/python3 -c \"import mmap,os; fd=os.open('/dev/shm/" + name +
           "',os.O_RDWR); m=mmap.mmap(fd,0); m[0:4]=b'2000'\"");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(smaller.Data()), 4), "2000");
}

TEST_F(SharedMemoryTest, SmallerBlocksAndBadNamesAreErrors) {
    {
        win::SharedMemoryBlock small;
        ASSERT_TRUE(small.Open(name, 100));
    }
    win::SharedMemoryBlock block;
    EXPECT_FALSE(block.Open(name, 4096));
    EXPECT_FALSE(block.IsOpen());
    EXPECT_NE(block.Error().find("fewer"), std::string::npos) << block.Error();
    for (const std::string& bad : {std::string(), std::string("a/b"), std::string(300, 'x')}) {
        EXPECT_FALSE(block.Open(bad, 16));
        EXPECT_FALSE(block.Error().empty());
    }
}

} // namespace
