// Image codecs of the toolkit: the abstract TsgFilter that every TsgBitmap load and save makes
// from DefaultFilterClass, and TMyStreamAdapter, the byte-stream interface (read, write, seek,
// size, copy, stat) through which a codec reaches a platform TStream. The adapter answers
// result codes and never lets a stream's exception escape into the codec.
#pragma once

#include "scene/core/Sg_scene_types.h"

#include "platform/classes/Persistent.h"

#include <cstdint>
#include <memory>
#include <vector>

class TStream;
class TsgBitmap;

class TsgFilter : public TPersistent {
public:
    ~TsgFilter() override = default;

    // Set by TsgBitmap before saving; the codec keeps pixels premultiplied anyway.
    bool PremulAlpha = false;

    // Rotate in degrees: quarter turns turn the decoded pixels, other angles draw the picture
    // turned into a bitmap that holds it whole.
    virtual bool LoadFromFile(const UnicodeString& AFileName, float Rotate, TsgBitmap& Bitmap) = 0;
    // Shrinks (never enlarges) the picture to fit AFitWidth x AFitHeight.
    virtual bool LoadThumbnailFromFile(const UnicodeString& AFileName, float AFitWidth,
                                       float AFitHeight, bool UseEmbedded, TsgBitmap& Bitmap) = 0;
    // The format follows the extension; false and nothing written for an unknown one.
    virtual bool SaveToFile(const UnicodeString& AFileName, TsgBitmap& Bitmap,
                            const UnicodeString& Params) = 0;
    // Decodes from the stream's present position; false and the bitmap untouched when the bytes
    // are no picture.
    virtual bool LoadFromStream(TStream& AStream, TsgBitmap& Bitmap) = 0;
    // Format "jpeg", "bmp", "png", "tif", "gif" ...; any unknown name writes PNG.
    virtual bool SaveToStream(TStream& AStream, TsgBitmap& Bitmap, const UnicodeString& Format,
                              const UnicodeString& Params) = 0;
};

struct TsgFilterClassInfo {
    const char* Name;
    std::unique_ptr<TsgFilter> (*Create)();
    // The pattern list for file dialogs.
    UnicodeString (*GetFileTypes)();
    // (width, height) of the picture in the file; (0, 0) when it cannot be read.
    TsgPoint (*GetImageSize)(const UnicodeString& AFileName);
};
using TsgFilterClass = const TsgFilterClassInfo*;

extern TsgFilterClass DefaultFilterClass;

// The "quality" value of a parameter text ("quality=80 foo=1"), -1 without one. A value that
// is not an integer raises EConvertError.
int sgFilterQualityParam(const UnicodeString& Params);

// Result codes of the stream interface, in a namespace of their own so that they stay apart
// from the archive library's names of the same codes.
namespace sgstream {
using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001u);
constexpr HRESULT STG_E_INVALIDPOINTER = static_cast<HRESULT>(0x80030009u);
constexpr HRESULT STG_E_REVERTED = static_cast<HRESULT>(0x80030102u);
constexpr HRESULT STG_E_CANTSAVE = static_cast<HRESULT>(0x80030103u);
} // namespace sgstream

enum TStreamOwnership { soReference, soOwned };

struct TStatStg {
    uint32_t type = 0; // 2: a stream
    uint64_t cbSize = 0;
    // File times: 100 ns units since 1601, taken from the local clock.
    uint64_t mtime = 0, ctime = 0, atime = 0;
    uint32_t grfLocksSupported = 0;
};

class TMyStreamAdapter {
public:
    using HRESULT = sgstream::HRESULT;

public:
    TMyStreamAdapter(TStream* Stream, TStreamOwnership Ownership);
    ~TMyStreamAdapter();
    TMyStreamAdapter(const TMyStreamAdapter&) = delete;
    TMyStreamAdapter& operator=(const TMyStreamAdapter&) = delete;

    TStream* Stream() const { return FStream; }
    TStreamOwnership StreamOwnership() const { return FOwnership; }

    HRESULT Read(void* pv, uint32_t cb, uint32_t* pcbRead);
    HRESULT Write(const void* pv, uint32_t cb, uint32_t* pcbWritten);
    // dwOrigin 0 from the start, 1 from the position, 2 from the end.
    HRESULT Seek(int64_t dlibMove, uint32_t dwOrigin, uint64_t* libNewPosition);
    HRESULT SetSize(uint64_t libNewSize);
    HRESULT CopyTo(TMyStreamAdapter* stm, uint64_t cb, uint64_t* cbRead, uint64_t* cbWritten);
    HRESULT Commit(uint32_t) { return sgstream::S_OK; }
    HRESULT LockRegion(uint64_t, uint64_t, uint32_t) { return sgstream::STG_E_INVALIDFUNCTION; }
    HRESULT UnlockRegion(uint64_t, uint64_t, uint32_t) { return sgstream::STG_E_INVALIDFUNCTION; }
    HRESULT Stat(TStatStg* statstg, uint32_t grfStatFlag);
    HRESULT Revert() { return sgstream::STG_E_REVERTED; }
    HRESULT Clone(TMyStreamAdapter** stm) {
        if (stm)
            *stm = nullptr;
        return sgstream::E_NOTIMPL;
    }

    // The rest of the stream from its position, read through Read (empty on a failure).
    std::vector<uint8_t> ReadAll(int64_t limit);

private:
    TStream* FStream;
    TStreamOwnership FOwnership;
};
