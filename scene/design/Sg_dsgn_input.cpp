#include "scene/design/Sg_dsgn_input.h"

#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_text.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_background.h"
#include "scene/design/Sg_dsgn_form.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 112;

template <class T>
T* Place(TsgObject* Parent, float X, float Y, float W, float H) {
    auto* o = new T(Parent->Owner());
    o->SetBounds(X, Y, W, H);
    Parent->AddObject(o);
    return o;
}

} // namespace

TsgInputQueryForm::TsgInputQueryForm(const UnicodeString& Caption, const UnicodeString& Prompt,
                                     const UnicodeString& Value) {
    SetCaption(Caption);
    SetBorderStyle(bsSingle);
    SetPosition(poScreenCenter);
    SetClientSize(kWidth, kHeight);
    Scene = new TsgScene(this);
    Scene->SetParent(this);
    Scene->SetAlign(alClient);
    Scene->SetTabStop(true);
    Root = new TsgBackground(this);
    Scene->AddObject(Root);
    PromptLabel = Place<TsgLabel>(Root, 12, 10, kWidth - 24, 20);
    PromptLabel->SetText(Prompt);
    Edit = Place<TsgTextBox>(Root, 12, 34, kWidth - 24, 24);
    Edit->SetText(Value);
    Edit->SelectAll();
    ButtonOK = Place<TsgButton>(Root, kWidth - 184, 74, 80, 26);
    ButtonOK->SetText(u"OK");
    ButtonOK->SetModalResult(mrOk);
    ButtonCancel = Place<TsgButton>(Root, kWidth - 92, 74, 80, 26);
    ButtonCancel->SetText(u"Cancel");
    ButtonCancel->SetModalResult(mrCancel);
    Scene->SetActiveControl(Edit);
}

bool sgInputQuery(const UnicodeString& Caption, const UnicodeString& Prompt, UnicodeString& Value) {
    TsgInputQueryForm form(Caption, Prompt, Value);
    if (sgDesignShowModal()(form) != mrOk)
        return false;
    Value = form.Edit->Text();
    return true;
}
