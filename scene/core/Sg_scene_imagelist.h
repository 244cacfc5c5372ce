// TsgImageList: toolkit bitmaps of one size for controls that show pictures by index.
//
// The list keeps its pictures in the form as the binary property "Images": an int32 count, then
// per picture an int32 byte count and the picture in its stream form (PNG), all little-endian.
// Nothing is written for an empty list; reading appends to what the list already holds.
//
// The platform image list underneath (its Width and Height are the list's size) serves only as
// a preview at design time: it then holds a copy of every picture of exactly the list's size,
// black pixels transparent. At run time it stays empty. Its own pictures are never streamed.
#pragma once

#include "platform/ui/ImageList.h"

#include <memory>
#include <vector>

class TStream;
class TsgBitmap;

class TsgImageList : public TCustomImageList {
    DBI_PERSISTENT(TsgImageList, TCustomImageList)

    explicit TsgImageList(TComponent* AOwner);
    ~TsgImageList() override;

    // Stores a copy of Bitmap at the list's size, scaled to fit with its aspect kept and
    // centred; the caller keeps Bitmap. The new index.
    int Add(TsgBitmap* Bitmap);
    // Empties the preview and frees every picture.
    void Clear();
    // The pictures of the list (the preview's own count is TCustomImageList::Count).
    int Count() const { return static_cast<int>(FBitmaps.size()); }
    // nullptr outside 0 .. Count - 1.
    TsgBitmap* GetBitmap(int Index) const;

    void DefineProperties(TFiler& Filer) override;
    // Raises EReadError on a count or size the stream cannot hold.
    void ReadImage(TStream& Stream);
    void WriteImage(TStream& Stream);

    // Refills the preview at design time; does nothing at run time.
    void UpdateList();

private:
    std::vector<std::unique_ptr<TsgBitmap>> FBitmaps;
};

void RegisterSgImageListUnit();
