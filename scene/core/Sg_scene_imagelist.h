// TsgImageList: toolkit bitmaps of one size for controls that show pictures by index.
//
// The list keeps its pictures in the form as the binary property "Images": an int32 count, then
// per picture an int32 byte count and the picture in its stream form (PNG), all little-endian.
// Nothing is written for an empty list; reading appends to what the list already holds.
#pragma once

#include "platform/classes/Component.h"

#include <memory>
#include <vector>

class TStream;
class TsgBitmap;

class TsgImageList : public TComponent {
    DBI_PERSISTENT(TsgImageList, TComponent)

    explicit TsgImageList(TComponent* AOwner);
    ~TsgImageList() override;

    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);

    // Stores a copy of Bitmap at the list's size, scaled to fit with its aspect kept and
    // centred; the caller keeps Bitmap. The new index.
    int Add(TsgBitmap* Bitmap);
    void Clear();
    int Count() const { return static_cast<int>(FBitmaps.size()); }
    // nullptr outside 0 .. Count - 1.
    TsgBitmap* GetBitmap(int Index) const;

    void DefineProperties(TFiler& Filer) override;
    // Raises EReadError on a count or size the stream cannot hold.
    void ReadImage(TStream& Stream);
    void WriteImage(TStream& Stream);

private:
    int FWidth = 32;
    int FHeight = 32;
    std::vector<std::unique_ptr<TsgBitmap>> FBitmaps;
};

void RegisterSgImageListUnit();
