#include "installer/archive/ArxCompressionVolume.h"

#include "platform/rtl/Stream.h"

TArxCompressionVolume::TArxCompressionVolume(TStream* AStream, TStream* ATmpStream,
                                             bool AOwnsStream, bool AOwnsTmpStream,
                                             const UnicodeString& AFileName,
                                             const UnicodeString& ATmpFileName,
                                             int64_t AVolumeMaxSize)
    : fileName_(AFileName), tmpFileName_(ATmpFileName), stream_(AStream), tmpStream_(ATmpStream),
      ownsStream_(AOwnsStream), ownsTmpStream_(AOwnsTmpStream), volumeMaxSize_(AVolumeMaxSize) {}

TArxCompressionVolume::~TArxCompressionVolume() {
    ReleaseStreams();
}

void TArxCompressionVolume::ReleaseStreams() {
    if (ownsStream_)
        delete stream_;
    stream_ = nullptr;
    if (ownsTmpStream_)
        delete tmpStream_;
    tmpStream_ = nullptr;
}
