// TFormMessage: the installer's own modal message box, drawn by its scene.
//
// Created once, after the wizard, and kept for the life of the process in FormMessage. Every
// question and notice of the installer goes through it: Ask (Yes / No), AskWarn (OK / Cancel
// with a bold second text) and Info (OK). The caller reads Answer afterwards. The title is
// accepted and not shown: the window has no caption bar.
#pragma once

#include "platform/rtl/UnicodeString.h"
#include "platform/ui/Forms.h"

#include <cstdint>
#include <functional>
#include <span>

class TsgControl;
class TsgImage;
class TsgScene;
class TsgText;

class TFormMessage : public TForm {
    DBI_PERSISTENT(TFormMessage, TForm)

    // Streams the window from the resource "TFORMMESSAGE".
    explicit TFormMessage(TComponent* owner = nullptr);
    // Streams the window from the given layout (tests, tools).
    explicit TFormMessage(std::span<const uint8_t> layout);

    TsgScene* sgSceneMainAndOnly = nullptr;
    TsgControl* ButtonYes = nullptr;
    TsgControl* ButtonNo = nullptr;
    TsgControl* ButtonOk = nullptr;
    TsgImage* ImageIllustration = nullptr;
    TsgText* TextMessage = nullptr;
    TsgText* SecondText = nullptr;
    TsgImage* ImageSpecimenQuestion = nullptr;
    TsgImage* ImageSpecimenWarning = nullptr;
    TsgImage* Image1 = nullptr;

    // True once the user pressed Yes since the last Ask or AskWarn.
    bool Answer = false;

    // Where the captions and texts come from; the configuration module's table by default.
    std::function<UnicodeString(int number)> Text;

    void Ask(const UnicodeString& text, const UnicodeString& title, bool focusYes);
    void AskWarn(const UnicodeString& text, const UnicodeString& secondText,
                 const UnicodeString& title, bool focusYes);
    void Info(const UnicodeString& text, const UnicodeString& title);

    void ButtonOkClick(TObject* Sender);
    void ButtonNoClick(TObject* Sender);
    void ButtonYesClick(TObject* Sender);

    // How the window is shown; ShowModal by default, replaced by tests that answer at once.
    std::function<void(TFormMessage&)> ShowModally;

private:
    void Init();
    void SetCaptions(int ok, int yes, int no);
    void Prepare(TsgImage* picture, const UnicodeString& text, bool ok, bool yesNo,
                 TsgControl* focused);
    void Run();
    // Grows the window downwards when the message needs more lines than its layout has room
    // for, so no line is cut or drawn over the second text; back to the layout's height else.
    void FitToText();

    int FLayoutHeight = 0;
};

extern TFormMessage* FormMessage;
