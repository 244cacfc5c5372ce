#include "platform/classes/Reader.h"

#include "platform/classes/Extended.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Stream.h"

#include <bit>
#include <cstring>
#include <limits>

// The primitive values of the binary form; every length is checked against the bytes left.

namespace {

uint64_t GetLE(const uint8_t* in, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= uint64_t(in[i]) << (8 * i);
    return v;
}

[[noreturn]] void InvalidStream(const char* what) {
    throw EReadError(AnsiString("Invalid stream format: ") + what);
}

} // namespace

void TReader::Enter() {
    if (++depth_ > MaxDepth) {
        --depth_;
        throw EReadError("Invalid stream format: nesting too deep");
    }
}

void TReader::Read(void* data, size_t count) {
    if (static_cast<uint64_t>(Remaining()) < count)
        InvalidStream("unexpected end of stream");
    stream_.ReadBuffer(data, static_cast<int64_t>(count));
}

int64_t TReader::Remaining() {
    int64_t left = size_ - stream_.Position();
    return left < 0 ? 0 : left;
}

bool TReader::Error(const AnsiString& message) {
    bool handled = false;
    if (OnError)
        OnError(*this, message, handled);
    return handled;
}

void TReader::ReadSignature() {
    char signature[4];
    Read(signature, 4);
    if (std::memcmp(signature, FilerSignature, 4) != 0)
        InvalidStream("missing signature");
}

TValueType TReader::ReadValue() {
    uint8_t b;
    Read(&b, 1);
    if (b > vaLastValueType)
        InvalidStream("unknown value tag");
    return static_cast<TValueType>(b);
}

TValueType TReader::NextValue() {
    // Not checked here: an object's prefix byte (0xF0 and up) is looked at this way too.
    uint8_t b;
    Read(&b, 1);
    stream_.SetPosition(stream_.Position() - 1);
    return static_cast<TValueType>(b);
}

void TReader::CheckValue(TValueType expected) {
    if (ReadValue() != expected)
        InvalidStream("unexpected value");
}

void TReader::ReadPrefix(uint8_t& flags, int& childPos) {
    flags = 0;
    childPos = 0;
    if (Remaining() < 1)
        InvalidStream("unexpected end of stream");
    int64_t at = stream_.Position();
    uint8_t b;
    Read(&b, 1);
    if ((b & 0xF0) != 0xF0) {
        stream_.SetPosition(at);
        return;
    }
    flags = b & 0x0F;
    if (flags & ffChildPos)
        childPos = ReadInteger();
}

uint32_t TReader::ReadLength32() {
    uint8_t buf[4];
    Read(buf, 4);
    uint32_t n = static_cast<uint32_t>(GetLE(buf, 4));
    if (n > static_cast<uint64_t>(Remaining()))
        InvalidStream("length beyond the end of the stream");
    return n;
}

int64_t TReader::ReadInt64() {
    uint8_t buf[8];
    switch (ReadValue()) {
    case vaInt8:
        Read(buf, 1);
        return static_cast<int8_t>(buf[0]);
    case vaInt16:
        Read(buf, 2);
        return static_cast<int16_t>(GetLE(buf, 2));
    case vaInt32:
        Read(buf, 4);
        return static_cast<int32_t>(GetLE(buf, 4));
    case vaInt64:
        Read(buf, 8);
        return static_cast<int64_t>(GetLE(buf, 8));
    default:
        InvalidStream("integer expected");
    }
}

int32_t TReader::ReadInteger() {
    int64_t v = ReadInt64();
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        InvalidStream("integer out of range");
    return static_cast<int32_t>(v);
}

bool TReader::ReadBoolean() {
    TValueType v = ReadValue();
    if (v == vaTrue)
        return true;
    if (v == vaFalse)
        return false;
    InvalidStream("boolean expected");
}

double TReader::ReadFloat() {
    uint8_t buf[10];
    TValueType v = NextValue();
    switch (v) {
    case vaExtended:
        ReadValue();
        Read(buf, 10);
        return ExtendedToDouble(buf);
    case vaSingle:
        return ReadSingle();
    case vaDouble:
        return ReadDouble();
    case vaDate:
        return ReadDate();
    case vaCurrency:
        return static_cast<double>(ReadCurrency()) / 10000.0;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
        return static_cast<double>(ReadInt64());
    default:
        InvalidStream("float expected");
    }
}

float TReader::ReadSingle() {
    CheckValue(vaSingle);
    uint8_t buf[4];
    Read(buf, 4);
    return std::bit_cast<float>(static_cast<uint32_t>(GetLE(buf, 4)));
}

double TReader::ReadDouble() {
    CheckValue(vaDouble);
    uint8_t buf[8];
    Read(buf, 8);
    return std::bit_cast<double>(GetLE(buf, 8));
}

double TReader::ReadDate() {
    CheckValue(vaDate);
    uint8_t buf[8];
    Read(buf, 8);
    return std::bit_cast<double>(GetLE(buf, 8));
}

int64_t TReader::ReadCurrency() {
    CheckValue(vaCurrency);
    uint8_t buf[8];
    Read(buf, 8);
    return static_cast<int64_t>(GetLE(buf, 8));
}

AnsiString TReader::ReadStr() {
    uint8_t n;
    Read(&n, 1);
    std::string s(n, '\0');
    Read(s.data(), n);
    return AnsiString(std::move(s));
}

UnicodeString TReader::ReadString() {
    TValueType v = ReadValue();
    switch (v) {
    case vaString: {
        return UnicodeString(ReadStr());
    }
    case vaLString:
    case vaUTF8String: {
        uint32_t n = ReadLength32();
        std::string s(n, '\0');
        Read(s.data(), n);
        return UnicodeString(s);
    }
    case vaWString: {
        uint8_t buf[4];
        Read(buf, 4);
        uint64_t n = GetLE(buf, 4);
        if (n * 2 > static_cast<uint64_t>(Remaining()))
            InvalidStream("length beyond the end of the stream");
        std::vector<uint8_t> bytes(static_cast<size_t>(n) * 2);
        Read(bytes.data(), bytes.size());
        std::u16string s(static_cast<size_t>(n), u'\0');
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        return UnicodeString(std::move(s));
    }
    default:
        InvalidStream("string expected");
    }
}

AnsiString TReader::ReadIdent() {
    switch (ReadValue()) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    default:
        InvalidStream("identifier expected");
    }
}

std::vector<AnsiString> TReader::ReadSet() {
    CheckValue(vaSet);
    std::vector<AnsiString> elements;
    for (;;) {
        AnsiString e = ReadStr();
        if (e.IsEmpty())
            return elements;
        elements.push_back(std::move(e));
    }
}

std::vector<uint8_t> TReader::ReadBinary() {
    CheckValue(vaBinary);
    uint32_t n = ReadLength32();
    std::vector<uint8_t> bytes(n);
    Read(bytes.data(), n);
    return bytes;
}

void TReader::SkipValue() {
    DepthGuard guard(*this);
    auto skip = [this](uint64_t n) {
        if (n > static_cast<uint64_t>(Remaining()))
            InvalidStream("length beyond the end of the stream");
        stream_.SetPosition(stream_.Position() + static_cast<int64_t>(n));
    };
    uint8_t buf[4];
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        return;
    case vaList:
        while (!EndOfList())
            SkipValue();
        ReadListEnd();
        return;
    case vaInt8:
        return skip(1);
    case vaInt16:
        return skip(2);
    case vaInt32:
    case vaSingle:
        return skip(4);
    case vaInt64:
    case vaCurrency:
    case vaDate:
    case vaDouble:
        return skip(8);
    case vaExtended:
        return skip(10);
    case vaString:
    case vaIdent:
        ReadStr();
        return;
    case vaSet:
        while (!ReadStr().IsEmpty()) {
        }
        return;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
        return skip(ReadLength32());
    case vaWString:
        Read(buf, 4);
        return skip(GetLE(buf, 4) * 2);
    case vaCollection:
        while (!EndOfList()) {
            TValueType next = NextValue();
            if (next == vaInt8 || next == vaInt16 || next == vaInt32 || next == vaInt64)
                ReadInt64();
            ReadListBegin();
            SkipProperties();
        }
        ReadListEnd();
        return;
    }
}

void TReader::SkipProperties() {
    while (!EndOfList()) {
        ReadStr();
        SkipValue();
    }
    ReadListEnd();
}

void TReader::SkipComponentBody() {
    DepthGuard guard(*this);
    SkipProperties();
    while (!EndOfList()) {
        uint8_t flags;
        int pos;
        ReadPrefix(flags, pos);
        ReadStr();
        ReadStr();
        SkipComponentBody();
    }
    ReadListEnd();
}
