// TsgBitmapEditor: the window in which a picture is loaded, viewed at a chosen scale, cropped,
// resized, cleared and saved. Its layout is the resource "TSGBITMAPEDITOR". The brush designer
// and the property inspector copy a bitmap in (AssignFromBitmap), show the window modally and
// copy the result out on OK (AssignToBitmap).
#pragma once

#include "scene/core/Sg_scene_types.h"

#include "platform/ui/Forms.h"

#include <memory>

class TsgBackground;
class TsgBitmap;
class TsgButton;
class TsgCanvas;
class TsgControl;
class TsgCustomTrack;
class TsgLabel;
class TsgPaintBox;
class TsgScene;
class TsgScrollBox;
class TsgSelection;
class TsgNumberBox;

class TsgBitmapEditor : public TForm {
    DBI_PERSISTENT(TsgBitmapEditor, TForm)

    explicit TsgBitmapEditor(TComponent* AOwner = nullptr);
    ~TsgBitmapEditor() override;

    TsgScene* sgScene1 = nullptr;
    TsgBackground* Root1 = nullptr;
    TsgButton* Button1 = nullptr;
    TsgButton* btnSave = nullptr;
    TsgButton* btnOk = nullptr;
    TsgButton* Button2 = nullptr;
    TsgButton* btnPaste = nullptr;
    TsgControl* editControl = nullptr;
    TsgButton* Button3 = nullptr;
    TsgButton* cropButton = nullptr;
    TsgLabel* labelScale = nullptr;
    TsgCustomTrack* trackScale = nullptr;
    TsgButton* btnFit = nullptr;
    TsgButton* btnOriginal = nullptr;
    TsgButton* btnResize = nullptr;
    TsgScrollBox* ScrollBox1 = nullptr;
    TsgPaintBox* Preview = nullptr;
    TsgBackground* resizeLayout = nullptr;
    TsgNumberBox* newWidth = nullptr;
    TsgNumberBox* newHeight = nullptr;
    TsgButton* Button4 = nullptr;
    TsgButton* Button5 = nullptr;

    void AssignFromBitmap(TsgBitmap* Bitmap);
    void AssignToBitmap(TsgBitmap* Bitmap);

    const UnicodeString& FileName() const { return FFileName; }
    void SetFileName(const UnicodeString& Value) { FFileName = Value; }
    TsgBitmap* Picture() const { return FBitmap.get(); }
    TsgSelection* CropRect() const { return FCropRect; }
    float Scale() const;

    // Loads a picture file as "Load..." does once a file is chosen; false when it cannot be read.
    bool LoadPicture(const UnicodeString& AFileName);
    // Saves the picture as "Save..." does once a file is chosen (format by extension).
    bool SavePicture(const UnicodeString& AFileName);

    void FormCreate(TObject* Sender);
    void Button1Click(TObject* Sender);
    void btnSaveClick(TObject* Sender);
    void btnPasteClick(TObject* Sender);
    void Button3Click(TObject* Sender);
    void cropButtonClick(TObject* Sender);
    void trackScaleChange(TObject* Sender);
    void trackScaleMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, float X,
                             float Y);
    void btnFitClick(TObject* Sender);
    void btnOriginalClick(TObject* Sender);
    void btnResizeClick(TObject* Sender);
    void PreviewPaint(TObject* Sender, TsgCanvas* Canvas);
    void newWidthChange(TObject* Sender);
    void newHeightChange(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);

private:
    void UpdatePicture();
    // A new picture is shown and can be edited and taken with OK.
    void PictureTaken();
    void RemoveCrop();
    void SlidePanel(bool In);

    std::unique_ptr<TsgBitmap> FBitmap;
    TsgRect FSourceRect{};
    TsgSelection* FCropRect = nullptr;
    float FOldScale = 1;
    UnicodeString FFileName;
};

extern TsgBitmapEditor* sgBitmapEditor;

// Edits a bitmap in a new editor window shown modally; on OK the bitmap takes the result.
// Answers whether it was OK.
bool sgEditBitmap(TsgBitmap* Bitmap);
