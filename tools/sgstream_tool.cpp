// Development tool for component streams (window layouts, styles): converts between the binary
// and the text form and lists the objects a stream holds, through the same code the program
// uses to read them.
//
//   sgstream_tool totext   <input> <output>   binary (or text) to text
//   sgstream_tool tobinary <input> <output>   text (or binary) to binary
//   sgstream_tool list     <input>            one line per object: depth, name, class, properties
//
// "-" as output writes to standard output. Exit code 0 on success, 1 on bad input, 2 on usage.
#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: sgstream_tool totext|tobinary <input> <output>\n"
                         "       sgstream_tool list <input>\n");
    return 2;
}

// The input as binary, whichever form the file holds.
void LoadBinary(const char* path, TMemoryStream& binary) {
    TMemoryStream raw;
    raw.LoadFromFile(UnicodeString(path));
    switch (TestStreamFormat(raw)) {
    case sofBinary:
        binary.LoadFromStream(raw);
        break;
    case sofText:
        ObjectTextToBinary(raw, binary);
        break;
    case sofUnknown:
        throw EReadError(AnsiString("Not a component stream: ") + path);
    }
    binary.SetPosition(0);
}

void Save(TMemoryStream& data, const char* path) {
    if (std::strcmp(path, "-") == 0) {
        std::fwrite(data.Memory(), 1, static_cast<size_t>(data.Size()), stdout);
        return;
    }
    data.SaveToFile(UnicodeString(path));
}

void ListObject(TReader& reader, int depth) {
    uint8_t flags;
    int childPos;
    reader.ReadPrefix(flags, childPos);
    AnsiString className = reader.ReadStr();
    AnsiString name = reader.ReadStr();
    int properties = 0;
    while (!reader.EndOfList()) {
        reader.ReadStr();
        reader.SkipValue();
        ++properties;
    }
    reader.ReadListEnd();
    std::printf("%d %s%s%s: %s (%d properties)\n", depth, std::string(depth * 2, ' ').c_str(),
                (flags & ffInherited) ? "inherited "
                : (flags & ffInline)  ? "inline "
                                      : "",
                name.IsEmpty() ? "<unnamed>" : name.c_str(), className.c_str(), properties);
    if (depth >= TReader::MaxDepth)
        throw EReadError("Invalid stream format: nesting too deep");
    while (!reader.EndOfList())
        ListObject(reader, depth + 1);
    reader.ReadListEnd();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    std::string command = argv[1];
    bool listing = command == "list" && argc == 3;
    if (!listing && !((command == "totext" || command == "tobinary") && argc == 4))
        return Usage();
    try {
        TMemoryStream binary;
        LoadBinary(argv[2], binary);
        if (listing) {
            TReader reader(binary);
            reader.ReadSignature();
            ListObject(reader, 0);
            return 0;
        }
        if (command == "tobinary") {
            Save(binary, argv[3]);
            return 0;
        }
        TMemoryStream text;
        ObjectBinaryToText(binary, text);
        Save(text, argv[3]);
        return 0;
    } catch (const Exception& e) {
        std::fprintf(stderr, "sgstream_tool: %s\n", e.what());
        return 1;
    }
}
