#include "installer/ui/Message_form.h"

#include "installer/config/General_module.h"
#include "platform/classes/TypInfo.h"
#include "platform/ui/FormLayout.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_objects_text.h"
#include "scene/core/Sg_scene_control.h"
#include "scene/core/Sg_scene_host.h"
#include "scene/core/Sg_scene_visual.h"

#include <algorithm>
#include <cmath>

TFormMessage* FormMessage = nullptr;

DBI_PUBLISH(TFormMessage) {
    using F = TFormMessage;
    p.Field<&F::sgSceneMainAndOnly>("sgSceneMainAndOnly");
    p.Field<&F::ButtonYes>("ButtonYes");
    p.Field<&F::ButtonNo>("ButtonNo");
    p.Field<&F::ButtonOk>("ButtonOk");
    p.Field<&F::ImageIllustration>("ImageIllustration");
    p.Field<&F::TextMessage>("TextMessage");
    p.Field<&F::SecondText>("SecondText");
    p.Field<&F::ImageSpecimenQuestion>("ImageSpecimenQuestion");
    p.Field<&F::ImageSpecimenWarning>("ImageSpecimenWarning");
    p.Field<&F::Image1>("Image1");
    p.Method<&F::ButtonOkClick>("ButtonOkClick");
    p.Method<&F::ButtonNoClick>("ButtonNoClick");
    p.Method<&F::ButtonYesClick>("ButtonYesClick");
}

namespace {

constexpr int kOkText = 155;
constexpr int kYesText = 153;
constexpr int kNoText = 154;
constexpr int kCancelText = 22;

// Buttons carry their caption in the published "Text" of their class.
void SetButtonCaption(TsgControl* button, const UnicodeString& caption) {
    if (button && IsPublishedProp(button, "Text"))
        SetStrProp(button, "Text", caption);
}

void SetShown(TsgVisualObject* object, bool visible) {
    if (object)
        object->SetVisible(visible);
}

} // namespace

TFormMessage::TFormMessage(TComponent*) {
    ReadFormLayoutResource(*this, "TFORMMESSAGE");
    Init();
}

TFormMessage::TFormMessage(std::span<const uint8_t> layout) {
    ReadFormLayout(*this, layout);
    Init();
}

void TFormMessage::Init() {
    Text = [](int number) { return GetTranslatedText(GeneralMod, number); };
    ShowModally = [](TFormMessage& form) { form.ShowModal(); };
    Answer = false;
    SetCaptions(kOkText, kYesText, kNoText);
    FLayoutHeight = ClientHeight();
}

void TFormMessage::SetCaptions(int ok, int yes, int no) {
    SetButtonCaption(ButtonOk, Text(ok));
    SetButtonCaption(ButtonYes, Text(yes));
    SetButtonCaption(ButtonNo, Text(no));
}

void TFormMessage::Prepare(TsgImage* picture, const UnicodeString& text, bool ok, bool yesNo,
                           TsgControl* focused) {
    if (ImageIllustration && picture)
        ImageIllustration->SetBitmap(picture->Bitmap());
    SetShown(ImageIllustration, true);
    if (TextMessage)
        TextMessage->SetText(text);
    SetShown(ButtonOk, ok);
    SetShown(ButtonYes, yesNo);
    SetShown(ButtonNo, yesNo);
    if (sgSceneMainAndOnly && focused)
        sgSceneMainAndOnly->SetActiveControl(focused);
}

void TFormMessage::FitToText() {
    // The tallest window that still fits a small screen.
    constexpr int kMaxHeight = 560;
    if (!TextMessage || !sgSceneMainAndOnly)
        return;
    SetClientHeight(FLayoutHeight);
    if (TsgObject* root = sgSceneMainAndOnly->Root(); root && root->Visual())
        root->Visual()->Realign();
    TsgCanvas* canvas = TextMessage->Canvas();
    if (!canvas || TextMessage->Text().IsEmpty())
        return;
    canvas->Font()->Assign(TextMessage->Font());
    TsgRect needed{0, 0, TextMessage->Width(), 100000};
    canvas->MeasureText(needed, needed, TextMessage->Text(), true, sgTextAlignNear,
                        sgTextAlignNear);
    const float missing = needed.Bottom - TextMessage->Height();
    if (missing > 0)
        SetClientHeight(std::min(kMaxHeight, FLayoutHeight + static_cast<int>(std::ceil(missing))));
}

void TFormMessage::Run() {
    FitToText();
    if (ShowModally)
        ShowModally(*this);
}

void TFormMessage::Ask(const UnicodeString& text, const UnicodeString&, bool focusYes) {
    SetCaptions(kOkText, kYesText, kNoText);
    Prepare(ImageSpecimenQuestion, text, false, true, focusYes ? ButtonYes : ButtonNo);
    SetShown(SecondText, false);
    Answer = false;
    Run();
}

void TFormMessage::AskWarn(const UnicodeString& text, const UnicodeString& secondText,
                           const UnicodeString&, bool focusYes) {
    SetCaptions(kOkText, kOkText, kCancelText);
    if (SecondText)
        SecondText->SetText(secondText);
    SetShown(SecondText, true);
    Prepare(ImageSpecimenWarning, text, false, true, focusYes ? ButtonYes : ButtonNo);
    Answer = false;
    Run();
}

void TFormMessage::Info(const UnicodeString& text, const UnicodeString&) {
    SetCaptions(kOkText, kYesText, kNoText);
    Prepare(ImageSpecimenWarning, text, true, false, ButtonOk);
    SetShown(SecondText, false);
    Run();
}

void TFormMessage::ButtonOkClick(TObject*) {
    Close();
}

void TFormMessage::ButtonNoClick(TObject*) {
    Close();
}

void TFormMessage::ButtonYesClick(TObject*) {
    Answer = true;
    Close();
}
