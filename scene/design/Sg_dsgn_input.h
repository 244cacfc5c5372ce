// A small toolkit-drawn window that asks for one line of text: a prompt, a text box and the
// buttons OK and Cancel. The design tools ask for names through it.
#pragma once

#include "platform/ui/Forms.h"

class TsgBackground;
class TsgButton;
class TsgLabel;
class TsgScene;
class TsgTextBox;

class TsgInputQueryForm : public TForm {
public:
    TsgInputQueryForm(const UnicodeString& Caption, const UnicodeString& Prompt,
                      const UnicodeString& Value);

    TsgScene* Scene = nullptr;
    TsgBackground* Root = nullptr;
    TsgLabel* PromptLabel = nullptr;
    TsgTextBox* Edit = nullptr;
    TsgButton* ButtonOK = nullptr;
    TsgButton* ButtonCancel = nullptr;
};

// Asks for a text, shown modally through sgDesignShowModal. Value is the proposal and, on OK,
// the text entered. True on OK.
bool sgInputQuery(const UnicodeString& Caption, const UnicodeString& Prompt, UnicodeString& Value);
