// The main window's carried layout against the control classes the program registers: every
// class it names is known and every property it sets is published, so the window the user meets
// is the one the layout describes and nothing in it is silently dropped.
#include "installer/ui/Window_classes.h"

#include "platform/classes/ClassInfo.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiTestSupport.h"
#include "scene/core/Sg_scene_control.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string CarriedLayout(const std::string& window) {
    const std::filesystem::path path =
        std::filesystem::path(DBI_BINARY_DIR) / "resources/windows" / (window + ".bin");
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    return {std::istreambuf_iterator<char>(file), {}};
}

// What reading the layout could not place, one line each. The handlers are the window's own
// methods and are not asked for here.
std::vector<std::string> UnplacedParts(const std::string& bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    TForm form(nullptr);
    TReader reader(stream);
    std::vector<std::string> unplaced;
    reader.OnFindMethod = [](TReader&, const AnsiString&, TMethod& method) {
        static int handler;
        method = TMethod{&handler, &handler};
    };
    reader.OnError = [&](TReader&, const AnsiString& message, bool& handled) {
        unplaced.push_back(message.str());
        handled = true;
    };
    reader.ReadRootComponent(&form);
    return unplaced;
}

class CarriedLayouts : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        RegisterInstallerWindowClasses();
    }
};

TEST_F(CarriedLayouts, EveryClassAndPropertyIsKnown) {
    for (const char* window : {"TFORMMAINDBINSTALL", "TFORMMESSAGE"}) {
        SCOPED_TRACE(window);
        const std::string bytes = CarriedLayout(window);
        ASSERT_FALSE(bytes.empty());
        const std::vector<std::string> unplaced = UnplacedParts(bytes);
        EXPECT_TRUE(unplaced.empty()) << ::testing::PrintToString(unplaced);
    }
}

} // namespace
