// TsgPathDataDesigner: the window in which the text of a vector path is typed or pasted and
// drawn beside it as it is typed. Its layout is the resource "TSGPATHDATADESIGNER".
#pragma once

#include "platform/ui/Forms.h"

class TsgButton;
class TsgBackground;
class TsgLabel;
class TsgLayout;
class TsgMemo;
class TsgPath;
class TsgPathData;
class TsgScene;

class TsgPathDataDesigner : public TForm {
    DBI_PERSISTENT(TsgPathDataDesigner, TForm)

    explicit TsgPathDataDesigner(TComponent* AOwner = nullptr);

    TsgScene* sgScene1 = nullptr;
    TsgBackground* Root1 = nullptr;
    TsgLabel* labelMemo = nullptr;
    // The path text, any number of lines, unwrapped.
    TsgMemo* PathData = nullptr;
    TsgLayout* previewLayout = nullptr;
    TsgPath* previewPath = nullptr;
    TsgButton* Button1 = nullptr;
    TsgButton* Button2 = nullptr;
    TsgButton* Button3 = nullptr;

    // The memo's text becomes the preview's path while the preview column shows.
    void PathDataChange(TObject* Sender);
    // "Paste": the clipboard's text replaces the whole memo.
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
};

// Declared for the designer's use; nothing sets it.
extern TsgPathDataDesigner* sgPathDataDesigner;

// Edits a path in a new designer window shown modally; on OK the path takes the typed text.
// Answers whether it was OK.
bool sgEditPathData(TsgPathData* Data);
