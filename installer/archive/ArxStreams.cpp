#include "installer/archive/ArxStreams.h"

#include "installer/archive/ArxFileUtils.h"
#include "platform/rtl/FileStream.h"

#include <memory>
#include <vector>

void TArxStream::SetSize(int64_t) {}

namespace {

int64_t CopyThrough(TStream& from, TStream& to, int bufferSize) {
    if (bufferSize <= 0)
        bufferSize = 65536;
    std::vector<uint8_t> buffer(static_cast<size_t>(bufferSize));
    int64_t total = 0;
    for (;;) {
        int got = from.Read(buffer.data(), bufferSize);
        if (got > 0)
            to.WriteBuffer(buffer.data(), got);
        total += got > 0 ? got : 0;
        if (got < bufferSize)
            return total;
    }
}

} // namespace

int64_t TArxStream::LoadFromStream(TStream& Source, int BufferSize) {
    return CopyThrough(Source, *this, BufferSize);
}

int64_t TArxStream::LoadFromFile(const UnicodeString& FileName, int BufferSize) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    return LoadFromStream(file, BufferSize);
}

int64_t TArxStream::SaveToStream(TStream& Dest, int BufferSize) {
    return CopyThrough(*this, Dest, BufferSize);
}

int64_t TArxStream::SaveToFile(const UnicodeString& FileName, int BufferSize) {
    TFileStream file(FileName, fmCreate);
    return SaveToStream(file, BufferSize);
}

TArxSplitStream::TArxSplitStream(bool AForcePosition) : ForcePosition(AForcePosition) {}

bool TArxSplitStream::SwitchToVolume(int Index) {
    if (Index == -1)
        Index = 0;
    if (Index == volumeIndex_)
        return volume_ != nullptr;
    int oldIndex = volumeIndex_;
    int64_t oldPosition = volumePosition_;
    TStream* oldVolume = volume_;
    volumeIndex_ = Index;
    volumePosition_ = 0;
    if (TStream* next = GetVolume(Index)) {
        volume_ = next;
        volumeMaxSize_ = GetVolumeMaxSize(Index);
        volume_->Seek(0, soBeginning);
        return true;
    }
    volumeIndex_ = oldIndex;
    volumePosition_ = oldPosition;
    volume_ = oldVolume;
    return false;
}

template <typename Move>
int TArxSplitStream::Transfer(int Count, Move move) {
    int done = 0;
    int index = CurrentIndex();
    while (done < Count && SwitchToVolume(index)) {
        if (ForcePosition)
            volume_->Seek(volumePosition_, soBeginning);
        int n = move(done, Count - done);
        if (n < 0)
            n = 0;
        volumePosition_ += n;
        position_ += n;
        done += n;
        index = volumeIndex_ + 1;
    }
    return done;
}

int TArxSplitStream::Read(void* Buffer, int Count) {
    auto* bytes = static_cast<uint8_t*>(Buffer);
    return Transfer(Count, [&](int done, int64_t wanted) {
        return volume_->Read(bytes + done, static_cast<int>(wanted));
    });
}

int TArxSplitStream::Write(const void* Buffer, int Count) {
    auto* bytes = static_cast<const uint8_t*>(Buffer);
    return Transfer(Count, [&](int done, int64_t wanted) {
        if (volumeMaxSize_ != 0 && volumePosition_ + wanted > volumeMaxSize_)
            wanted = volumeMaxSize_ - volumePosition_;
        return wanted > 0 ? volume_->Write(bytes + done, static_cast<int>(wanted)) : 0;
    });
}

int64_t TArxSplitStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t target = 0;
    switch (Origin) {
    case soBeginning:
        target = Offset;
        break;
    case soCurrent:
        target = position_ + Offset;
        break;
    case soEnd:
        target = GetSize() + Offset;
        break;
    default:
        throw EArxStreamError("Error seeking stream");
    }
    int64_t delta = target - position_;
    for (;;) {
        if (!SwitchToVolume(volumeIndex_))
            return position_;
        if (delta == 0)
            return position_;
        if (delta < 0 && -delta <= volumePosition_) {
            volumePosition_ = volume_->Seek(volumePosition_ + delta, soBeginning);
            position_ += delta;
            return position_;
        }
        if (delta < 0) {
            if (volumeIndex_ <= 0)
                return position_;
            delta += volumePosition_;
            position_ -= volumePosition_;
            volume_->Seek(0, soBeginning);
            volumePosition_ = 0;
            if (!SwitchToVolume(volumeIndex_ - 1))
                return position_;
            int64_t size = volume_->GetSize();
            position_ -= size;
            delta += size;
            continue;
        }
        if (volumeMaxSize_ != 0 && volumePosition_ + delta >= volumeMaxSize_) {
            int64_t step = volumeMaxSize_ - volumePosition_;
            position_ += step;
            delta -= step;
            int64_t limit = volumeMaxSize_;
            if (!SwitchToVolume(volumeIndex_ + 1)) {
                volumePosition_ = limit;
                return position_;
            }
            continue;
        }
        volumePosition_ = volume_->Seek(volumePosition_ + delta, soBeginning);
        position_ += delta;
        return position_;
    }
}

void TArxSplitStream::Restore(const SavedState& state) {
    SwitchToVolume(state.volumeIndex);
    position_ = state.position;
    if (volume_)
        volumePosition_ = volume_->Seek(state.volumePosition, soBeginning);
}

int64_t TArxSplitStream::GetSize() {
    SavedState saved = Save();
    volumeIndex_ = -1;
    int64_t total = 0;
    try {
        while (SwitchToVolume(volumeIndex_ + 1)) {
            int64_t size = volume_->GetSize();
            total += size;
            if (size == 0)
                break;
        }
    } catch (...) {
        Restore(saved);
        throw;
    }
    Restore(saved);
    return total;
}

void TArxSplitStream::SetSize(int64_t NewSize) {
    SavedState saved = Save();
    volumeIndex_ = -1;
    int64_t remaining = NewSize;
    try {
        int index = 0;
        while (SwitchToVolume(index)) {
            int64_t size = remaining;
            if (volumeMaxSize_ != 0 && volumeMaxSize_ < size)
                size = volumeMaxSize_;
            volume_->SetSize(size);
            remaining -= size;
            if (remaining <= 0)
                break;
            ++index;
        }
    } catch (...) {
        Restore(saved);
        throw;
    }
    Restore(saved);
}

TStream* OpenStreamForAccess(const UnicodeString& FileName, TArxStreamAccess Access) {
    bool exists = ArxFileExists(FileName);
    switch (Access) {
    case saCreate:
        return new TFileStream(FileName, fmCreate);
    case saReadOnly:
        return exists ? new TFileStream(FileName, fmOpenRead | fmShareDenyWrite) : nullptr;
    case saReadOnlyDenyNone:
        return exists ? new TFileStream(FileName, fmOpenRead | fmShareDenyNone) : nullptr;
    case saWriteOnly:
        if (exists)
            return new TFileStream(FileName, fmOpenWrite);
        return FileName.IsEmpty() ? nullptr : new TFileStream(FileName, fmCreate);
    case saReadWrite:
        if (exists)
            return new TFileStream(FileName, fmOpenReadWrite);
        return FileName.IsEmpty() ? nullptr : new TFileStream(FileName, fmCreate);
    }
    return nullptr;
}
