// TFiler: what readers and writers of component streams have in common, and the interface by
// which a class streams data that is not a published property (DefineProperties).
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <functional>

class TStream;
class TReader;
class TWriter;
class TComponent;
class TPersistent;

class TFiler {
public:
    using TReaderProc = std::function<void(TReader&)>;
    using TWriterProc = std::function<void(TWriter&)>;
    using TStreamProc = std::function<void(TStream&)>;

    explicit TFiler(TStream& stream) : stream_(stream) {}
    virtual ~TFiler() = default;
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;

    // A property held in the stream as ordinary values. The writer calls writeData when hasData;
    // the reader calls readData when the stream names the property.
    virtual void DefineProperty(const AnsiString& name, const TReaderProc& readData,
                                const TWriterProc& writeData, bool hasData) = 0;
    // A property held as one binary block. readData gets a stream holding exactly the block.
    virtual void DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData,
                                      const TStreamProc& writeData, bool hasData) = 0;

    TStream& Stream() { return stream_; }
    TComponent* Root() const { return root_; }
    TComponent* LookupRoot() const { return lookupRoot_; }
    // The object this one is compared with when only differences are written; nullptr here.
    TPersistent* Ancestor() const { return ancestor_; }

protected:
    TStream& stream_;
    TComponent* root_ = nullptr;
    TComponent* lookupRoot_ = nullptr;
    TPersistent* ancestor_ = nullptr;
};
