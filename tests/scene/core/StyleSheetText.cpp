#include "StyleSheetText.h"

#include "platform/classes/ObjectText.h"
#include "platform/rtl/MemoryStream.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace stylesheet {

namespace {

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

std::string TNode::Prop(const std::string& name) const {
    auto it = Props.find(name);
    return it == Props.end() ? std::string() : it->second;
}

std::string TNode::ResourceName() const {
    std::string v = Prop("ResourceName");
    return v.size() >= 2 ? v.substr(1, v.size() - 2) : v;
}

const TNode* TNode::FindPart(const std::string& name) const {
    for (const TNode& child : Children) {
        if (Lower(child.ResourceName()) == Lower(name))
            return &child;
        if (const TNode* found = child.FindPart(name))
            return found;
    }
    return nullptr;
}

void TNode::Collect(const std::string& prop, std::vector<std::string>& out) const {
    if (auto it = Props.find(prop); it != Props.end())
        out.push_back(it->second);
    for (const TNode& child : Children)
        child.Collect(prop, out);
}

TNode ParseObjectText(const std::string& text) {
    std::istringstream in(text);
    std::vector<TNode*> stack;
    TNode root;
    bool haveRoot = false;
    std::string line;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty())
            continue;
        if (line.rfind("object ", 0) == 0) {
            std::string cls = Trim(line.substr(7));
            if (size_t colon = cls.find(':'); colon != std::string::npos)
                cls = Trim(cls.substr(colon + 1));
            if (stack.empty()) {
                if (haveRoot)
                    throw std::runtime_error("two roots");
                haveRoot = true;
                root.Class = cls;
                stack.push_back(&root);
            } else {
                stack.back()->Children.push_back(TNode{cls, {}, {}});
                stack.push_back(&stack.back()->Children.back());
            }
            continue;
        }
        if (line == "end") {
            if (stack.empty())
                throw std::runtime_error("unbalanced end");
            stack.pop_back();
            continue;
        }
        const size_t eq = line.find(" = ");
        if (eq == std::string::npos || stack.empty())
            throw std::runtime_error("unexpected line: " + line);
        const std::string name = line.substr(0, eq);
        std::string value = line.substr(eq + 3);
        // Collections run to "end>", binary values to "}".
        const bool collection = value == "<";
        const bool binary = value.rfind("{", 0) == 0 && !EndsWith(value, "}");
        while ((collection && !EndsWith(value, "end>")) || (binary && !EndsWith(value, "}"))) {
            if (!std::getline(in, line))
                throw std::runtime_error("unterminated value of " + name);
            value += (binary ? "" : " ") + Trim(line);
        }
        stack.back()->Props[name] = value;
    }
    if (!haveRoot || !stack.empty())
        throw std::runtime_error("incomplete object text");
    return root;
}

std::filesystem::path BuiltSheet() {
    const char* dir = std::getenv("DBI_BINARY_DIR");
    return std::filesystem::path(dir ? dir : DBI_BINARY_DIR) / "resources" / "styles" /
           "defaultsgstyle.bin";
}

std::vector<std::filesystem::path> SheetParts() {
    std::vector<std::filesystem::path> parts;
    for (const auto& entry :
         std::filesystem::directory_iterator(testsupport::SourceDir() / "resources" / "styles")) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && !name.empty() && std::isdigit((unsigned char)name[0]) &&
            EndsWith(name, ".txt"))
            parts.push_back(entry.path());
    }
    std::sort(parts.begin(), parts.end());
    return parts;
}

TNode LoadBuiltSheet() {
    const std::string bytes = testsupport::ReadFile(BuiltSheet());
    if (bytes.empty())
        throw std::runtime_error("the built sheet is missing: " + BuiltSheet().string());
    TMemoryStream binary;
    binary.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    binary.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(binary, text);
    return ParseObjectText(
        std::string(static_cast<const char*>(text.Memory()), static_cast<size_t>(text.Size())));
}

} // namespace stylesheet
