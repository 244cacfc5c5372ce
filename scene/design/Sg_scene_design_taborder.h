// TsgTabOrderEditor: the borderless window in which the design menu's "Tab Order..." lists the
// selected object's siblings in tab order; "Up" and "Down" move the object of the selected row
// one place. It is shown modally and closed with its window's close button.
#pragma once

#include "platform/ui/Forms.h"

class TsgHudButton;
class TsgHudListBox;
class TsgHudWindow;
class TsgScene;
class TsgSceneDesign;

class TsgTabOrderEditor : public TForm {
public:
    // The buttons call Design's tab-order operations.
    explicit TsgTabOrderEditor(TsgSceneDesign* Design);

    TsgScene* Scene = nullptr;
    TsgHudWindow* Window = nullptr;
    TsgHudButton* UpButton = nullptr;
    TsgHudButton* DownButton = nullptr;
    TsgHudListBox* List = nullptr;
};
