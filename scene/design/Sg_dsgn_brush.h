// TsgBrushDesign: the window in which a brush is edited, one page per brush style (none, solid
// colour, gradient, bitmap, named brush resource). Its layout is the resource "TSGBRUSHDESIGN".
// The window edits the brush it is given in place, as the user works.
//
// It is shown modally by TsgBrushDialog and the routines ShowBrushDialog, ShowGradientDialog and
// ShowColorDialog, which edit a copy and write it back only on OK, and modelessly by
// SelectInDesign, which keeps one shared window (sgDesign) on a brush or on every brush property
// of an object.
#pragma once

#include "scene/core/Sg_scene_brush.h"

#include "platform/ui/Forms.h"

#include <functional>
#include <optional>

class IsgScene;
class TsgAngleButton;
class TsgBackground;
class TsgButton;
class TsgColorBox;
class TsgColorPicker;
class TsgColorQuad;
class TsgGradientEdit;
class TsgHudWindow;
class TsgImage;
class TsgLabel;
class TsgLayout;
class TsgListBox;
class TsgNumberBox;
class TsgPopupBox;
class TsgScene;
class TsgTabControl;
class TsgTabItem;
class TsgTextBox;

class TsgBrushDesign : public TForm {
    DBI_PERSISTENT(TsgBrushDesign, TForm)

    explicit TsgBrushDesign(TComponent* AOwner = nullptr);
    ~TsgBrushDesign() override;

    TsgScene* sgBrushDesigner = nullptr;
    TsgBackground* dsgnRoot = nullptr;
    TsgHudWindow* HudWindow1 = nullptr;
    TsgListBox* brushList = nullptr;
    TsgTabControl* brushTabControl = nullptr;
    TsgTabItem* tabNone = nullptr;
    TsgTabItem* tabSolid = nullptr;
    TsgTabItem* tabGradient = nullptr;
    TsgTabItem* tabBitmap = nullptr;
    TsgTabItem* tabRes = nullptr;
    TsgLayout* panelSolid = nullptr;
    TsgLayout* panelGradient = nullptr;
    TsgLayout* panelBitmap = nullptr;
    TsgLayout* panerRes = nullptr;
    TsgColorQuad* solidQuad = nullptr;
    TsgColorPicker* solidPicker = nullptr;
    TsgColorBox* solidColorRect = nullptr;
    TsgNumberBox* textSolidR = nullptr;
    TsgNumberBox* textSolidG = nullptr;
    TsgNumberBox* textSolidB = nullptr;
    TsgNumberBox* textSolidA = nullptr;
    TsgTextBox* textSolidHex = nullptr;
    TsgColorQuad* gradQuad = nullptr;
    TsgColorPicker* gradPicker = nullptr;
    TsgColorBox* gradColorRect = nullptr;
    TsgGradientEdit* gradEditor = nullptr;
    TsgNumberBox* textGradR = nullptr;
    TsgNumberBox* textGradG = nullptr;
    TsgNumberBox* textGradB = nullptr;
    TsgNumberBox* textGradA = nullptr;
    TsgTextBox* textGradHex = nullptr;
    TsgPopupBox* gradKind = nullptr;
    TsgAngleButton* gradAngle = nullptr;
    TsgLabel* gradAngleLabel = nullptr;
    TsgImage* bitmapImage = nullptr;
    TsgButton* btnSelectBitmap = nullptr;
    TsgPopupBox* tileModeList = nullptr;
    TsgListBox* resList = nullptr;
    TsgLayout* makeResLayout = nullptr;
    TsgButton* btnMakeRes = nullptr;
    TsgButton* btnOK = nullptr;
    TsgButton* btnCancel = nullptr;

    TsgBrush* Brush() const { return FBrush; }
    // The brush to edit (not owned); its style picks the page.
    void SetBrush(TsgBrush* Value);
    TPersistent* Comp() const { return FComp; }
    // The object whose brush properties the brush list shows; the first becomes the brush.
    void SetComp(TPersistent* Value);
    IsgScene* Scene() const { return FScene; }
    // A name for a new brush resource: the designer's, or Base and a running number.
    UnicodeString UniqueName(const UnicodeString& Base);
    // Fills the resource page with the scene's brush resources.
    void RebuildResList();

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void HudWindow1CloseClick(TObject* Sender);
    void btnOKClick(TObject* Sender);
    void btnCancelClick(TObject* Sender);
    void brushListChange(TObject* Sender);
    void brushTabControlChange(TObject* Sender);
    void solidQuadChange(TObject* Sender);
    void textSolidRChange(TObject* Sender);
    void textSolidHexChange(TObject* Sender);
    void gradQuadChange(TObject* Sender);
    void textGradRChange(TObject* Sender);
    void textGradHexChange(TObject* Sender);
    void gradEditorChange(TObject* Sender);
    void gradKindChange(TObject* Sender);
    void gradAngleChange(TObject* Sender);
    void btnSelectBitmapClick(TObject* Sender);
    void tileModeListChange(TObject* Sender);
    void resListChange(TObject* Sender);
    void btnMakeResClick(TObject* Sender);

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ShowSolidChannels(TsgColor Color);
    void ShowGradChannels(TsgColor Color);
    void RepaintEdited();
    TsgColor TypedColor(TsgNumberBox* R, TsgNumberBox* G, TsgNumberBox* B, TsgNumberBox* A) const;

    TsgBrush* FBrush = nullptr;
    IsgScene* FScene = nullptr;
    TPersistent* FComp = nullptr;
    // What the brush list added to the window's height, taken back when the list is rebuilt.
    int FListGrowth = 0;
    // Set while the window writes its own controls, so that their change events do not write
    // the brush back half-done.
    bool FUpdating = false;
};

// The shared modeless designer, or nullptr.
extern TsgBrushDesign* sgDesign;

// Shows the shared designer on Value: a brush (of Owner), an object (its brush properties), or
// nothing (nullptr: the designer forgets its object and brush).
void SelectInDesign(TPersistent* Value, TPersistent* Owner);

// A set of brush styles, bit i for the style of ordinal i; streamed by the styles' names.
using TsgBrushStyles = uint8_t;
constexpr TsgBrushStyles sgBrushStyleSet(TsgBrushStyle Style) {
    return TsgBrushStyles(1u << unsigned(Style));
}
constexpr TsgBrushStyles sgAllBrushStyles =
    sgBrushStyleSet(sgBrushNone) | sgBrushStyleSet(sgBrushSolid) |
    sgBrushStyleSet(sgBrushGradient) | sgBrushStyleSet(sgBrushBitmap) |
    sgBrushStyleSet(sgBrushResource);

// The modal brush designer as a component: which pages it offers, its switches, the window's
// size and place and its texts are published, so a form stream carries them.
class TsgBrushDialog : public TComponent {
    DBI_PERSISTENT(TsgBrushDialog, TComponent)

    explicit TsgBrushDialog(TComponent* AOwner = nullptr);
    ~TsgBrushDialog() override;

    // Shows the designer modally on the dialog's brush; true on OK. After Cancel the brush keeps
    // the edits made.
    bool Execute();

    TsgBrush* Brush() const { return FBrush; }
    void SetBrush(TsgBrush* Value) { FBrush->Assign(Value); }
    TComponent* Component() const { return FComponent; }
    // The object whose brushes the list shows; forgotten when it is freed.
    void SetComponent(TComponent* Value);

    TsgBrushStyles ShowStyles() const { return FShowStyles; }
    void SetShowStyles(TsgBrushStyles Value) { FShowStyles = Value; }
    bool ShowBrushList() const { return FShowBrushList; }
    void SetShowBrushList(bool Value) { FShowBrushList = Value; }
    bool ShowMakeResource() const { return FShowMakeResource; }
    void SetShowMakeResource(bool Value) { FShowMakeResource = Value; }
    int DialogHeight() const { return FDialogHeight; }
    void SetDialogHeight(int Value) { FDialogHeight = Value; }
    int DialogWidth() const { return FDialogWidth; }
    void SetDialogWidth(int Value) { FDialogWidth = Value; }
    int DialogLeft() const { return FDialogLeft; }
    void SetDialogLeft(int Value) { FDialogLeft = Value; }
    int DialogTop() const { return FDialogTop; }
    void SetDialogTop(int Value) { FDialogTop = Value; }
    UnicodeString TxtTitle() const { return FTxtTitle; }
    void SetTxtTitle(const UnicodeString& Value) { FTxtTitle = Value; }
    UnicodeString TxtNone() const { return FTxtNone; }
    void SetTxtNone(const UnicodeString& Value) { FTxtNone = Value; }
    UnicodeString TxtSolid() const { return FTxtSolid; }
    void SetTxtSolid(const UnicodeString& Value) { FTxtSolid = Value; }
    UnicodeString TxtGradient() const { return FTxtGradient; }
    void SetTxtGradient(const UnicodeString& Value) { FTxtGradient = Value; }
    UnicodeString TxtResource() const { return FTxtResource; }
    void SetTxtResource(const UnicodeString& Value) { FTxtResource = Value; }
    UnicodeString TxtMakeResource() const { return FTxtMakeResource; }
    void SetTxtMakeResource(const UnicodeString& Value) { FTxtMakeResource = Value; }
    UnicodeString TxtOk() const { return FTxtOk; }
    void SetTxtOk(const UnicodeString& Value) { FTxtOk = Value; }
    UnicodeString TxtCancel() const { return FTxtCancel; }
    void SetTxtCancel(const UnicodeString& Value) { FTxtCancel = Value; }

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TsgBrushStyles FShowStyles = sgAllBrushStyles;
    bool FShowBrushList = true;
    bool FShowMakeResource = false;
    TsgBrush* FBrush;
    TComponent* FComponent = nullptr;
    int FDialogHeight = 360;
    int FDialogWidth = 330;
    int FDialogLeft = 0;
    int FDialogTop = 0;
    UnicodeString FTxtTitle = u"Brush Designer";
    UnicodeString FTxtNone = u"None";
    UnicodeString FTxtSolid = u"Solid";
    UnicodeString FTxtGradient = u"Gradient";
    UnicodeString FTxtResource = u"Resource";
    UnicodeString FTxtMakeResource = u"Make a resource";
    UnicodeString FTxtOk = u"OK";
    UnicodeString FTxtCancel = u"Cancel";
};

// Edits a copy of Brush; on OK the brush takes it. True on OK.
bool ShowBrushDialog(TsgBrush* Brush, TsgBrushStyles Styles, bool ShowBrushList);
// Edits a copy of Gradient on the gradient page alone; on OK the gradient takes it.
bool ShowGradientDialog(TsgGradient* Gradient);
// Edits a colour (colour text) on the solid page alone; the edited colour text on OK, nothing
// after Cancel.
std::optional<UnicodeString> ShowColorDialog(const UnicodeString& Color);
// A colour button's choice: the solid page alone, without the brush list, at (Left, Top), with
// Showing run on the dialog before it shows; true with the chosen colour text in Color on OK.
bool ShowColorButtonDialog(UnicodeString& Color, int Left, int Top,
                           const std::function<void(TObject*)>& Showing);
