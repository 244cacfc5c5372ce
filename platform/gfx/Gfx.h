// The whole drawing layer in one include: graphics, paths, pens and brushes, bitmaps and their
// codecs, fonts and string formats. Everything lives in namespace gfx.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Brush.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GfxTypes.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/GraphicsPath.h"
#include "platform/gfx/ImageAttributes.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/Matrix.h"
#include "platform/gfx/Pen.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/StringFormat.h"
