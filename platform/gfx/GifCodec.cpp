// GIF files: the first image, placed on the logical screen; the rest of the screen is
// transparent. Every block length is checked against the file, and the LZW decoder never writes
// past the frame, whatever the codes say.
#include <cstring>

#include "platform/gfx/ImageCodec.h"

namespace gfx {

namespace {

class Cursor {
public:
    Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool has(size_t n) const { return n <= size_ - pos_; }
    uint8_t byte() { return data_[pos_++]; }
    uint16_t u16() {
        const uint16_t v = uint16_t(data_[pos_] | data_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    const uint8_t* here() const { return data_ + pos_; }
    void skip(size_t n) { pos_ += n; }

    // Skips a chain of sub-blocks; false when the file ends inside it.
    bool skipSubBlocks() {
        while (has(1)) {
            const uint8_t n = byte();
            if (n == 0)
                return true;
            if (!has(n))
                return false;
            skip(n);
        }
        return false;
    }

    // Appends a chain of sub-blocks; a chain cut short by the end of the file is kept as far
    // as it goes.
    void readSubBlocks(std::vector<uint8_t>* out) {
        while (has(1)) {
            const uint8_t n = byte();
            if (n == 0)
                return;
            const size_t take = has(n) ? n : size_ - pos_;
            out->insert(out->end(), here(), here() + take);
            skip(take);
        }
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

bool readColorTable(Cursor& c, int sizeBits, std::vector<uint32_t>* table) {
    const size_t count = size_t(1) << (sizeBits + 1);
    if (!c.has(count * 3))
        return false;
    table->resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t r = c.byte(), g = c.byte(), b = c.byte();
        (*table)[i] = 0xFF000000u | r << 16 | g << 8 | b;
    }
    return true;
}

// Decodes LZW codes into at most `count` indices; stops quietly at the end code, at the end of
// the data or when a code is impossible.
std::vector<uint8_t> decodeLzw(const std::vector<uint8_t>& data, int minCodeSize, size_t count) {
    std::vector<uint8_t> out;
    out.reserve(count);
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    uint16_t prefix[4096];
    uint8_t suffix[4096];
    uint8_t first[4096];
    uint8_t stack[4097];
    for (int i = 0; i < clear; ++i) {
        prefix[i] = 0xFFFF;
        suffix[i] = uint8_t(i);
        first[i] = uint8_t(i);
    }
    int codeSize = minCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    uint32_t bits = 0;
    int bitCount = 0;
    size_t pos = 0;
    while (out.size() < count) {
        while (bitCount < codeSize && pos < data.size()) {
            bits |= uint32_t(data[pos++]) << bitCount;
            bitCount += 8;
        }
        if (bitCount < codeSize)
            break;
        const int code = int(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end)
            break;
        int walk;
        uint8_t head;
        if (previous < 0) {
            if (code >= clear)
                break;
            out.push_back(uint8_t(code));
            previous = code;
            continue;
        }
        if (code < next && code != clear && code != end) {
            walk = code;
            head = first[code];
        } else if (code == next) {
            walk = -1;
            head = first[previous];
        } else {
            break;
        }
        // Emit the string of `code` (or previous + its first byte for the not-yet-known code).
        int depth = 0;
        if (walk < 0) {
            stack[depth++] = head;
            walk = previous;
        }
        while (walk != 0xFFFF && walk >= 0 && depth < 4097) {
            stack[depth++] = suffix[walk];
            walk = walk < clear ? 0xFFFF : prefix[walk];
        }
        while (depth > 0 && out.size() < count)
            out.push_back(stack[--depth]);
        if (next < 4096) {
            prefix[next] = uint16_t(previous);
            suffix[next] = head;
            first[next] = first[previous];
            ++next;
            if (next == (1 << codeSize) && codeSize < 12)
                ++codeSize;
        }
        previous = code;
    }
    return out;
}

} // namespace

Status DecodeGif(const uint8_t* data, size_t size, DecodedImage* out, const DecodeLimits& limits) {
    if (!data || !out || size < 13 ||
        (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0))
        return Status::InvalidParameter;
    Cursor c(data, size);
    c.skip(6);
    const int screenW = c.u16(), screenH = c.u16();
    const uint8_t flags = c.byte();
    c.skip(2); // background colour index and aspect ratio
    std::vector<uint32_t> globalTable;
    if ((flags & 0x80) && !readColorTable(c, flags & 7, &globalTable))
        return Status::InvalidParameter;
    int transparent = -1;
    while (c.has(1)) {
        const uint8_t kind = c.byte();
        if (kind == 0x3B)
            break;
        if (kind == 0x21) {
            if (!c.has(1))
                return Status::InvalidParameter;
            const uint8_t label = c.byte();
            if (label == 0xF9 && c.has(6) && c.here()[0] >= 4) {
                const uint8_t* g = c.here() + 1;
                transparent = (g[0] & 1) ? g[3] : -1;
            }
            if (!c.skipSubBlocks())
                return Status::InvalidParameter;
            continue;
        }
        if (kind != 0x2C || !c.has(9))
            return Status::InvalidParameter;
        const int left = c.u16(), top = c.u16(), w = c.u16(), h = c.u16();
        const uint8_t imageFlags = c.byte();
        std::vector<uint32_t> localTable;
        if ((imageFlags & 0x80) && !readColorTable(c, imageFlags & 7, &localTable))
            return Status::InvalidParameter;
        const std::vector<uint32_t>& table = localTable.empty() ? globalTable : localTable;
        if (!c.has(1))
            return Status::InvalidParameter;
        const int minCodeSize = c.byte();
        if (minCodeSize < 1 || minCodeSize > 11)
            return Status::InvalidParameter;
        // A screen of no size takes the frame's.
        const int64_t canvasW = screenW ? screenW : left + w;
        const int64_t canvasH = screenH ? screenH : top + h;
        if (canvasW <= 0 || canvasH <= 0 || canvasW * canvasH > limits.maxPixels ||
            int64_t(w) * h > limits.maxPixels)
            return Status::InvalidParameter;
        std::vector<uint8_t> compressed;
        c.readSubBlocks(&compressed);
        const std::vector<uint8_t> indices = decodeLzw(compressed, minCodeSize, size_t(w) * h);
        out->width = int(canvasW);
        out->height = int(canvasH);
        out->pixels.assign(size_t(canvasW) * canvasH, 0);
        // Interlaced frames store rows in four passes.
        std::vector<int> rowOrder;
        rowOrder.reserve(h);
        if (imageFlags & 0x40) {
            static const int passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
            for (const auto& pass : passes)
                for (int y = pass[0]; y < h; y += pass[1])
                    rowOrder.push_back(y);
        } else {
            for (int y = 0; y < h; ++y)
                rowOrder.push_back(y);
        }
        for (size_t i = 0; i < indices.size(); ++i) {
            const int fy = rowOrder[i / w], fx = int(i % w);
            const int64_t x = left + fx, y = top + fy;
            if (x >= canvasW || y >= canvasH)
                continue;
            const uint8_t index = indices[i];
            uint32_t px = 0;
            if (index != transparent)
                px = index < table.size() ? table[index] : 0xFF000000u;
            out->pixels[size_t(y) * canvasW + x] = px;
        }
        return Status::Ok;
    }
    return Status::InvalidParameter;
}

} // namespace gfx
