// One volume of an archive: a stream or a disk file holding (part of) the archive.
#pragma once

#include "installer/archive/ArxCompressionTypes.h"

class TArxCompressionVolume {
public:
    TArxCompressionVolume(TStream* AStream, TStream* ATmpStream, bool AOwnsStream,
                          bool AOwnsTmpStream, const UnicodeString& AFileName,
                          const UnicodeString& ATmpFileName, int64_t AVolumeMaxSize);
    TArxCompressionVolume(const TArxCompressionVolume&) = delete;
    TArxCompressionVolume& operator=(const TArxCompressionVolume&) = delete;
    ~TArxCompressionVolume();

    // Frees the streams the volume owns; both become null.
    void ReleaseStreams();

    UnicodeString FileName() const { return fileName_; }
    UnicodeString TmpFileName() const { return tmpFileName_; }
    TStream* Stream() const { return stream_; }
    TStream* TmpStream() const { return tmpStream_; }
    bool OwnsStream() const { return ownsStream_; }
    bool OwnsTmpStream() const { return ownsTmpStream_; }
    // 0 means no limit.
    int64_t VolumeMaxSize() const { return volumeMaxSize_; }

private:
    friend class TArxCompressionArchive;

    UnicodeString fileName_;
    UnicodeString tmpFileName_;
    TStream* stream_;
    TStream* tmpStream_;
    bool ownsStream_;
    bool ownsTmpStream_;
    int64_t volumeMaxSize_;
};
