// Text component streams: the parser must end every input in a stream or EReadError, and the
// binary it writes must convert to text and back to the same bytes.
#include "platform/classes/ObjectText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 65536)
        return 0;
    std::vector<uint8_t> binary1;
    try {
        TBytesStream in(std::vector<uint8_t>(data, data + size));
        TBytesStream out;
        ObjectTextToBinary(in, out);
        binary1 = out.Bytes();
    } catch (const Exception&) {
        return 0;
    }
    TBytesStream in(binary1);
    TStringStream text;
    ObjectBinaryToText(in, text);
    text.SetPosition(0);
    TBytesStream binary2;
    ObjectTextToBinary(text, binary2);
    if (binary2.Bytes() != binary1)
        std::abort();
    return 0;
}
