// The default sheet read with the layouts registered: every style whose root is a layout loads
// (the sheet's other missing classes drop only their own subtrees), and no layout class is
// reported missing.
#include "scene/controls/Sg_layouts.h"

#include "scene/core/Sg_scene.h"

#include "platform/classes/Reader.h"
#include "platform/rtl/MemoryStream.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::filesystem::path BuiltSheet() {
    const char* dir = std::getenv("DBI_BINARY_DIR");
    return std::filesystem::path(dir ? dir : DBI_BINARY_DIR) / "resources" / "styles" /
           "defaultsgstyle.bin";
}

// ResourceName of every top-level style of the sheet's text parts whose root is a TsgLayout.
std::set<std::string> LayoutStyleNames() {
    std::set<std::string> names;
    const std::filesystem::path dir =
        std::filesystem::path(DBI_SOURCE_DIR) / "resources" / "styles";
    const std::regex root(R"(^  object (?:\w+: )?TsgLayout\s*$)");
    const std::regex name(R"(^    ResourceName = '([^']*)')");
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".txt")
            continue;
        std::istringstream lines(testsupport::ReadFile(entry.path()));
        std::string line;
        bool inLayout = false;
        while (std::getline(lines, line)) {
            std::smatch m;
            if (std::regex_match(line, root))
                inLayout = true;
            else if (inLayout && std::regex_search(line, m, name)) {
                names.insert(m[1]);
                inLayout = false;
            } else if (line.rfind("  object ", 0) == 0)
                inLayout = false;
        }
    }
    return names;
}

TEST(LayoutStyles, EveryLayoutRootedStyleOfTheSheetLoads) {
    RegisterSgSceneUnit();
    RegisterSgLayoutsUnit();
    const std::string bytes = testsupport::ReadFile(BuiltSheet());
    ASSERT_FALSE(bytes.empty()) << BuiltSheet();
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    TsgBackground root(nullptr);
    std::set<std::string> missing;
    std::vector<std::string> errors;
    TReader reader(stream);
    reader.OnSetName = [](TReader&, TComponent*, AnsiString& name) { name = AnsiString(); };
    reader.OnError = [&](TReader&, const AnsiString& message, bool& handled) {
        const std::string text = message.c_str();
        const size_t end = text.find(" not found");
        if (text.rfind("Class ", 0) == 0 && end != std::string::npos)
            missing.insert(text.substr(6, end - 6));
        else
            errors.push_back(text);
        handled = true;
    };
    reader.ReadRootComponent(&root);
    EXPECT_EQ(errors, std::vector<std::string>{});
    for (const char* cls :
         {"TsgLayout", "TsgScaledLayout", "TsgGridLayout", "TsgSplitLayout", "TsgNonSGLayout"})
        EXPECT_EQ(missing.count(cls), 0u) << cls;

    const std::set<std::string> expected = LayoutStyleNames();
    EXPECT_GT(expected.size(), 50u);
    std::set<std::string> loaded;
    for (int i = 0; i < root.ChildrenCount(); ++i)
        if (dynamic_cast<TsgLayout*>(root.GetChild(i)))
            loaded.insert(root.GetChild(i)->ResourceName().ToUtf8());
    EXPECT_EQ(loaded, expected);
}

} // namespace
