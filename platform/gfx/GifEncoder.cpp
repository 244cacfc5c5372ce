// GIF writing: one frame with a global colour table. Images of up to 256 colours (255 with
// transparency) keep their exact colours; others are mapped onto a fixed 6 x 7 x 6 colour cube
// without dithering. Pixels with alpha below 128 become the transparent index.
#include <algorithm>
#include <unordered_map>

#include "platform/gfx/ImageCodec.h"

namespace gfx {

namespace {

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>* out) : out_(out) {}
    void put(uint32_t code, int size) {
        bits_ |= code << count_;
        count_ += size;
        while (count_ >= 8) {
            block_.push_back(uint8_t(bits_));
            bits_ >>= 8;
            count_ -= 8;
            if (block_.size() == 255)
                flushBlock();
        }
    }
    void finish() {
        if (count_)
            block_.push_back(uint8_t(bits_));
        bits_ = 0;
        count_ = 0;
        flushBlock();
        out_->push_back(0);
    }

private:
    void flushBlock() {
        if (block_.empty())
            return;
        out_->push_back(uint8_t(block_.size()));
        out_->insert(out_->end(), block_.begin(), block_.end());
        block_.clear();
    }
    std::vector<uint8_t>* out_;
    std::vector<uint8_t> block_;
    uint32_t bits_ = 0;
    int count_ = 0;
};

void compress(const std::vector<uint8_t>& indices, int minCodeSize, std::vector<uint8_t>* out) {
    const uint32_t clear = 1u << minCodeSize, end = clear + 1;
    BitWriter writer(out);
    std::unordered_map<uint32_t, uint16_t> table;
    int codeSize = minCodeSize + 1;
    uint32_t next = clear + 2;
    writer.put(clear, codeSize);
    uint32_t current = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const uint32_t key = current << 8 | indices[i];
        auto it = table.find(key);
        if (it != table.end()) {
            current = it->second;
            continue;
        }
        writer.put(current, codeSize);
        table.emplace(key, uint16_t(next++));
        if (next > (1u << codeSize) && codeSize < 12)
            ++codeSize;
        if (next == 4096) {
            // The table is full: start over, as the reader will.
            writer.put(clear, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            next = clear + 2;
        }
        current = indices[i];
    }
    writer.put(current, codeSize);
    writer.put(end, codeSize);
    writer.finish();
}

void put16(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(uint8_t(v));
    out->push_back(uint8_t(v >> 8));
}

} // namespace

Status EncodeGif(const uint32_t* pixels, int width, int height, std::vector<uint8_t>* out) {
    if (!pixels || !out || width < 1 || height < 1 || width > 65535 || height > 65535)
        return Status::InvalidParameter;
    const size_t count = size_t(width) * height;
    bool transparency = false;
    std::unordered_map<uint32_t, uint8_t> exact;
    bool fits = true;
    for (size_t i = 0; i < count; ++i) {
        if ((pixels[i] >> 24) < 128) {
            transparency = true;
            continue;
        }
        if (fits && !exact.count(pixels[i] & 0xFFFFFF)) {
            if (exact.size() == 256)
                fits = false;
            else
                exact.emplace(pixels[i] & 0xFFFFFF, uint8_t(exact.size()));
        }
    }
    const size_t opaqueRoom = transparency ? 255 : 256;
    fits = fits && exact.size() <= opaqueRoom;

    std::vector<uint32_t> palette;
    if (fits) {
        palette.resize(exact.size());
        for (const auto& [rgb, index] : exact)
            palette[index] = rgb;
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    palette.push_back(uint32_t(r * 51) << 16 | uint32_t(g * 255 / 6) << 8 |
                                      uint32_t(b * 51));
    }
    const int transparentIndex = transparency ? int(palette.size()) : -1;
    if (transparency)
        palette.push_back(0);
    int bits = 1;
    while ((size_t(1) << bits) < palette.size())
        ++bits;
    palette.resize(size_t(1) << bits, 0);

    std::vector<uint8_t> indices(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = pixels[i];
        if ((p >> 24) < 128) {
            indices[i] = uint8_t(transparentIndex);
        } else if (fits) {
            indices[i] = exact[p & 0xFFFFFF];
        } else {
            const int r = (int((p >> 16) & 0xFF) + 25) / 51;
            const int g = (int((p >> 8) & 0xFF) * 6 + 127) / 255;
            const int b = (int(p & 0xFF) + 25) / 51;
            indices[i] = uint8_t((r * 7 + g) * 6 + b);
        }
    }

    out->assign({'G', 'I', 'F', '8', '9', 'a'});
    put16(out, uint32_t(width));
    put16(out, uint32_t(height));
    out->push_back(uint8_t(0x80 | 0x70 | (bits - 1))); // global table, 8-bit colour resolution
    out->push_back(0);                                 // background index
    out->push_back(0);                                 // no aspect ratio
    for (uint32_t rgb : palette) {
        out->push_back(uint8_t(rgb >> 16));
        out->push_back(uint8_t(rgb >> 8));
        out->push_back(uint8_t(rgb));
    }
    if (transparency)
        out->insert(out->end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(transparentIndex), 0});
    out->push_back(0x2C);
    put16(out, 0);
    put16(out, 0);
    put16(out, uint32_t(width));
    put16(out, uint32_t(height));
    out->push_back(0);
    const int minCodeSize = std::max(2, bits);
    out->push_back(uint8_t(minCodeSize));
    compress(indices, minCodeSize, out);
    out->push_back(0x3B);
    return Status::Ok;
}

} // namespace gfx
