// The archive library's stream base and the stream that spreads one byte sequence over a list
// of volumes. Every byte the decoder reads from an archive with volumes passes through the
// split stream's read and seek rules, even when there is a single volume.
#pragma once

#include "installer/archive/ArxBase.h"
#include "installer/archive/ArxCompressionTypes.h"
#include "platform/rtl/Stream.h"

#include <functional>

DBI_DECLARE_EXCEPTION(EArxStreamError, EArxError);

class TArxStream : public TStream {
public:
    // Resizing does nothing unless a stream overrides it.
    void SetSize(int64_t NewSize) override;

    // Copy through a buffer of BufferSize bytes, reading until a read comes back short;
    // the byte count copied is the result.
    int64_t LoadFromStream(TStream& Source, int BufferSize = 65536);
    int64_t LoadFromFile(const UnicodeString& FileName, int BufferSize = 65536);
    int64_t SaveToStream(TStream& Dest, int BufferSize = 65536);
    int64_t SaveToFile(const UnicodeString& FileName, int BufferSize = 65536);
};

// A logical stream over volumes; the volumes are owned elsewhere and never freed here.
class TArxSplitStream : public TArxStream {
public:
    explicit TArxSplitStream(bool AForcePosition);

    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t GetSize() override;
    void SetSize(int64_t NewSize) override;

    // Seek the volume to the split stream's own idea of its position before every transfer.
    bool ForcePosition = false;

protected:
    virtual TStream* GetVolume(int Index) = 0;
    virtual int64_t GetVolumeMaxSize(int Index) = 0;

private:
    bool SwitchToVolume(int Index);
    int CurrentIndex() const { return volumeIndex_ < 0 ? 0 : volumeIndex_; }
    // Reading and writing walk the volumes alike; move(done, wanted) moves up to wanted bytes at
    // offset done of the caller's buffer through the current volume and answers how many it moved.
    template <typename Move>
    int Transfer(int Count, Move move);

    struct SavedState {
        int volumeIndex;
        int64_t volumePosition;
        int64_t position;
    };
    SavedState Save() const { return {volumeIndex_, volumePosition_, position_}; }
    void Restore(const SavedState& state);

    TStream* volume_ = nullptr;
    int volumeIndex_ = -1;
    int64_t volumeMaxSize_ = 0;
    int64_t position_ = 0;
    int64_t volumePosition_ = 0;
};

using TArxVolumeEvent = std::function<TStream*(int Index)>;
using TArxVolumeMaxSizeEvent = std::function<int64_t(int Index)>;

// A split stream whose volumes come from events (null and 0 when unassigned).
class TArxDynamicSplitStream : public TArxSplitStream {
public:
    using TArxSplitStream::TArxSplitStream;

    TArxVolumeEvent OnVolume;
    TArxVolumeMaxSizeEvent OnVolumeMaxSize;

protected:
    TStream* GetVolume(int Index) override { return OnVolume ? OnVolume(Index) : nullptr; }
    int64_t GetVolumeMaxSize(int Index) override {
        return OnVolumeMaxSize ? OnVolumeMaxSize(Index) : 0;
    }
};

// Opens a file for one of the archive's stream accesses; null where the access asks for an
// existing file and there is none. Raises the platform's file stream errors.
TStream* OpenStreamForAccess(const UnicodeString& FileName, TArxStreamAccess Access);
