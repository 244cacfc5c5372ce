// Forms, window components and timers through component streams: the form streams what it owns
// without a parent, then its child windows; handlers are bound to the form's published methods.
#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"
#include "platform/ui/WinComponent.h"

#include "UiTestSupport.h"
#include "support/ComponentText.h"

#include <memory>

class TPanelForm : public TForm {
    DBI_PERSISTENT(TPanelForm, TForm)

    explicit TPanelForm(TComponent* = nullptr) {}
    TWinComponent* Panel = nullptr;
    TTimer* Clock = nullptr;
    void ClockTick(TObject* Sender) { Ticks.push_back(Sender); }
    void FormClose(TObject*, TCloseAction& Action) { Action = caNone; }
    std::vector<TObject*> Ticks;
};

DBI_PUBLISH(TPanelForm) {
    p.Field<&TPanelForm::Panel>("Panel");
    p.Field<&TPanelForm::Clock>("Clock");
    p.Method<&TPanelForm::ClockTick>("ClockTick");
    p.Method<&TPanelForm::FormClose>("FormClose");
}

namespace {

class FormStream : public UiTest {};

const char* const kPanelForm = R"(object PanelForm: TPanelForm
  Left = 10
  Top = 20
  Caption = 'Panels'
  ClientHeight = 100
  ClientWidth = 200
  Color = clWindow
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clBlack
  Font.Height = -13
  Font.Name = 'Verdana'
  Font.Style = []
  OldCreateOrder = True
  OnClose = FormClose
  PixelsPerInch = 96
  TextHeight = 16
  object Clock: TTimer
    Interval = 40
    OnTimer = ClockTick
  end
  object Panel: TWinComponent
    Left = 0
    Top = 0
    Width = 10
    Height = 30
    Align = alBottom
    Cursor = crSizeNS
    TabStop = True
  end
end
)";

std::unique_ptr<TPanelForm> Load(const AnsiString& text) {
    return testsupport::ReadComponentText<TPanelForm>(text);
}

AnsiString Save(TForm* form) {
    return testsupport::ComponentText(form);
}

TEST_F(FormStream, FormWindowComponentAndTimerRoundTrip) {
    auto form = Load(kPanelForm);
    EXPECT_EQ(form->BoundsRect(), (TRect{10, 20, 210, 120}));
    EXPECT_EQ(form->Color(), clWindow);
    EXPECT_EQ(form->Font()->Name(), UnicodeString(u"Verdana"));
    EXPECT_EQ(form->Font()->Color(), clBlack);
    ASSERT_NE(form->Panel, nullptr);
    EXPECT_EQ(form->Panel->Parent(), form.get());
    EXPECT_EQ(form->Panel->BoundsRect(), (TRect{0, 70, 200, 100}));
    EXPECT_EQ(form->Panel->Cursor(), crSizeNS);
    EXPECT_TRUE(form->Panel->TabStop());
    ASSERT_NE(form->Clock, nullptr);
    EXPECT_TRUE(form->Clock->Running());

    clock.Advance(45);
    Application->ProcessMessages();
    EXPECT_EQ(form->Ticks, std::vector<TObject*>{form->Clock});

    form->Show();
    form->Close(); // FormClose answers caNone
    EXPECT_TRUE(form->Visible());
    form->Hide();

    const AnsiString text = Save(form.get());
    EXPECT_LT(text.Pos("object Clock: TTimer"), text.Pos("object Panel: TWinComponent"));
    for (const char* expected :
         {"Color = clWindow", "Font.Charset = DEFAULT_CHARSET", "Font.Color = clBlack",
          "Cursor = crSizeNS", "Align = alBottom", "OnTimer = ClockTick", "OnClose = FormClose"})
        EXPECT_GT(text.Pos(expected), 0) << expected << "\n" << text.str();
    EXPECT_EQ(Save(Load(text).get()), text);
}

TEST_F(FormStream, TimersWaitForTheEndOfTheStreamAndStopWithTheirForm) {
    auto form = Load(kPanelForm);
    TTimer* timer = form->Clock;
    EXPECT_TRUE(timer->Running());
    form.reset(); // frees the timer with the form; no tick may reach it
    clock.Advance(100);
    Application->ProcessMessages();
    SUCCEED();
}

} // namespace
