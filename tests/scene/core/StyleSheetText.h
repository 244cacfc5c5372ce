// The default style sheet as the build converts it, read back as a plain tree of class names and
// property texts. Reading the text form needs none of the sheet's classes, so the sheet's names,
// root classes, parts and values can be checked whichever classes this build registers.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace stylesheet {

struct TNode {
    std::string Class;
    // Property name -> value as written in the text form; collections and binary values joined
    // into one line with single spaces.
    std::map<std::string, std::string> Props;
    std::vector<TNode> Children;

    std::string Prop(const std::string& name) const;
    // The value of ResourceName without its quotes; "" when there is none.
    std::string ResourceName() const;
    // The first node of the subtree below this one whose ResourceName equals name without case.
    const TNode* FindPart(const std::string& name) const;
    // Every value of the property in the subtree, this node included.
    void Collect(const std::string& prop, std::vector<std::string>& out) const;
};

// The converted sheet of the build, and the text parts it is built from.
std::filesystem::path BuiltSheet();
std::vector<std::filesystem::path> SheetParts();
// The built binary sheet turned into the text form, parsed.
TNode LoadBuiltSheet();
TNode ParseObjectText(const std::string& text);

} // namespace stylesheet
