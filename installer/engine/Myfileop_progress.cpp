// Progress published in the two shared-memory blocks. The done count lives only in the
// "CAD_DbInstall" block: every update reads it back from there.
#include "installer/engine/Myfileop_class.h"

#include "installer/engine/MMFile.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr int kTotalOffset = 0;
constexpr int kDoneOffset = 256;
constexpr int kCountFieldLength = 256;
constexpr int kPercentOffset = 0;
constexpr int kStatusOffset = 1;
constexpr int kStatusFieldLength = 1024;

// An optional '-' and decimal digits, as the writer prints them; anything else is 0.
int64_t ReadCount(const MMFile& block, int offset) {
    const std::string text = block.ReadText(offset, kCountFieldLength);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return 0;
    return value;
}

// The block's counts are another process's text: their sum stops at the 64-bit limits
// rather than wrapping.
int64_t SaturatingSum(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return sum;
}

void WriteCount(MMFile& block, int offset, int64_t value) {
    block.WriteText(offset, kCountFieldLength, std::to_string(value));
}

// The status as 8-bit text that fits the field with its ending zero byte, never cut inside a
// character.
std::string StatusBytes(const UnicodeString& status) {
    std::string bytes = status.ToUtf8();
    size_t keep = bytes.size();
    if (keep > kStatusFieldLength - 1) {
        keep = kStatusFieldLength - 1;
        while (keep > 0 && (static_cast<unsigned char>(bytes[keep]) & 0xC0) == 0x80)
            --keep;
    }
    bytes.resize(keep);
    return bytes;
}

} // namespace

void MyFileOp::WriteInstallTotals(int64_t total, int64_t done, const UnicodeString& status) {
    MMFile& install = DbInstallBlock();
    WriteCount(install, kTotalOffset, total);
    WriteCount(install, kDoneOffset, done);
    MMFile& update = UpdateProgressBlock();
    update.WriteByte(kPercentOffset, 0);
    update.WriteText(kStatusOffset, kStatusFieldLength, StatusBytes(status));
}

void MyFileOp::WriteUpdateProgress(int64_t delta, const UnicodeString& status, bool commit) {
    MMFile& install = DbInstallBlock();
    const int64_t total = ReadCount(install, kTotalOffset);
    const int64_t done = ReadCount(install, kDoneOffset);
    MMFile& update = UpdateProgressBlock();
    const std::string text =
        status.IsEmpty() ? update.ReadText(kStatusOffset, kStatusFieldLength) : StatusBytes(status);
    const double share = (static_cast<double>(done) + static_cast<double>(delta)) /
                         static_cast<double>(total == 0 ? 1 : total);
    // A percent byte that wrapped (256 % shown as 0) would tell readers the work went backwards.
    const double percent = std::floor(share * 100.0);
    const uint8_t clamped = percent <= 0 || std::isnan(percent) ? 0
                            : percent >= 100                    ? 100
                                                                : static_cast<uint8_t>(percent);
    update.WriteByte(kPercentOffset, clamped);
    update.WriteText(kStatusOffset, kStatusFieldLength, text);
    if (commit) {
        WriteCount(install, kTotalOffset, total);
        WriteCount(install, kDoneOffset, SaturatingSum(done, delta));
    }
}
