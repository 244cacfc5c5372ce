// TCustomImageList: pictures of one size (Width x Height) kept by index, for controls and
// menus that show an image beside their text.
//
// A picture goes in as a copy with the pixels of a mask colour made transparent; everything
// else keeps its colour and alpha. Every picture has the list's size: changing Width or Height
// empties the list. The list streams Width and Height only, never its pictures.
#pragma once

#include "platform/classes/Component.h"
#include "platform/ui/FontsColors.h"

#include <memory>
#include <vector>

namespace gfx {
class Bitmap;
}

class TCustomImageList : public TComponent {
    DBI_PERSISTENT(TCustomImageList, TComponent)

    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);

    int Count() const { return static_cast<int>(FImages.size()); }
    void Clear();

    // Appends a copy of Image in which every pixel whose colour is MaskColor (a fixed colour,
    // 0x00BBGGRR; its alpha is not compared) becomes transparent; a colour that is not fixed
    // (clNone, a system colour) masks nothing. The new index. Raises EInvalidOperation when
    // Image is not Width x Height, and always while the list has no size (below 1 x 1).
    int AddMasked(const gfx::Bitmap& Image, TColor MaskColor);
    // The picture at Index, owned by the list; nullptr outside 0 .. Count - 1.
    const gfx::Bitmap* Image(int Index) const;

private:
    int FWidth = 32;
    int FHeight = 32;
    std::vector<std::unique_ptr<gfx::Bitmap>> FImages;
};
