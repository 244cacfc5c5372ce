// Window layouts: a form with its scene, timers and style container streamed from the text
// form, with handlers bound by name, fields by component name, identifier-valued properties and a
// reference to a component that comes later in the stream.
#include "SceneTestClasses.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"
#include "scene/core/Sg_scene_control.h"
#include "scene/core/Sg_scene_popup.h"
#include "support/ComponentText.h"

#include <gtest/gtest.h>

#include <memory>

class TTestLayoutForm : public TForm {
    DBI_PERSISTENT(TTestLayoutForm, TForm)

    explicit TTestLayoutForm(TComponent* = nullptr) : TForm(nullptr) {}

    TsgScene* Scene = nullptr;
    TTimer* DiskTimer = nullptr;
    TTimer* CheckTimer = nullptr;
    TTimer* SlideTimer = nullptr;
    TsgControl* ButtonOk = nullptr;
    TsgResources* Styles = nullptr;

    void FormActivate(TObject*) { ++Activations; }
    void FormCloseQuery(TObject*, bool& CanClose) { CanClose = AllowClose; }
    void TimerTick(TObject* Sender) { Ticks.push_back(Sender); }
    void ButtonOkClick(TObject* Sender) { Ticks.push_back(Sender); }

    int Activations = 0;
    bool AllowClose = false;
    std::vector<TObject*> Ticks;
};

DBI_PUBLISH(TTestLayoutForm) {
    using F = TTestLayoutForm;
    p.Field<&F::Scene>("sgSceneMainAndOnly");
    p.Field<&F::DiskTimer>("TimerDiskSpaceInfo");
    p.Field<&F::CheckTimer>("TimerCheckRunningStuff");
    p.Field<&F::SlideTimer>("ImageMainTimer");
    p.Field<&F::ButtonOk>("ButtonOk");
    p.Field<&F::Styles>("sgResources1");
    p.Method<&F::FormActivate>("FormActivate");
    p.Method<&F::FormCloseQuery>("FormCloseQuery");
    p.Method<&F::TimerTick>("TimerTick");
    p.Method<&F::ButtonOkClick>("ButtonOkClick");
}

namespace {

const char* const kLayout = R"(object FormLayout: TTestLayoutForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Layout'
  ClientHeight = 222
  ClientWidth = 390
  Color = clBtnFace
  Cursor = crHandPoint
  Font.Charset = EASTEUROPE_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = [fsBold]
  OldCreateOrder = False
  Position = poScreenCenter
  OnActivate = FormActivate
  OnCloseQuery = FormCloseQuery
  PixelsPerInch = 96
  TextHeight = 13
  object sgSceneMainAndOnly: TsgScene
    Left = 0
    Top = 0
    Width = 100
    Height = 50
    Align = alClient
    TabStop = True
    ActiveControl = ButtonOk
    Style = sgResources1
    object Root1: TsgVisualObject
      Width = 390
      Height = 222
      Cursor = crIBeam
      object ButtonOk: TsgControl
        Width = 0
        Height = 0
        Cursor = crHandPoint
        OnClick = ButtonOkClick
      end
    end
  end
  object TimerDiskSpaceInfo: TTimer
    Enabled = False
    OnTimer = TimerTick
  end
  object TimerCheckRunningStuff: TTimer
    Interval = 250
    OnTimer = TimerTick
  end
  object ImageMainTimer: TTimer
    Enabled = False
    Interval = 8000
  end
  object sgResources1: TsgResources
  end
end
)";

struct WindowLayout : ::testing::Test {
    void SetUp() override { RegisterSgSceneUnit(); }
};

std::unique_ptr<TTestLayoutForm> LoadLayout(const AnsiString& text) {
    return testsupport::ReadComponentText<TTestLayoutForm>(text);
}

AnsiString SaveLayout(TForm* form) {
    return testsupport::ComponentText(form);
}

TEST_F(WindowLayout, FormWithSceneAndTimersLoadsWritesBackAndReloadsEqual) {
    auto form = LoadLayout(kLayout);
    EXPECT_EQ(form->Name(), AnsiString("FormLayout"));
    EXPECT_EQ(form->Caption(), UnicodeString(u"Layout"));
    EXPECT_EQ(form->BorderStyle(), bsNone);
    EXPECT_EQ(form->Width(), 390);
    EXPECT_EQ(form->Height(), 222);
    EXPECT_EQ(form->Color(), clBtnFace);
    EXPECT_EQ(form->Cursor(), crHandPoint);
    EXPECT_EQ(form->Font()->Charset(), EASTEUROPE_CHARSET);
    EXPECT_EQ(form->Font()->Color(), clWindowText);
    EXPECT_EQ(form->Font()->Style(), 1 << fsBold);
    EXPECT_EQ(form->Position(), poScreenCenter);
    EXPECT_FALSE(form->Visible());

    // Fields follow the components of their names, whatever their place in the stream.
    ASSERT_NE(form->Scene, nullptr);
    ASSERT_NE(form->DiskTimer, nullptr);
    ASSERT_NE(form->CheckTimer, nullptr);
    ASSERT_NE(form->SlideTimer, nullptr);
    ASSERT_NE(form->ButtonOk, nullptr);
    ASSERT_NE(form->Styles, nullptr);

    TsgScene* scene = form->Scene;
    EXPECT_EQ(scene->Parent(), form.get());
    EXPECT_EQ(scene->Owner(), form.get());
    EXPECT_EQ(scene->Align(), alClient);
    EXPECT_EQ(scene->BoundsRect(), (TRect{0, 0, 390, 222})); // the form's client area
    EXPECT_TRUE(scene->TabStop());
    EXPECT_EQ(scene->ActiveControl(), form->ButtonOk); // named before ButtonOk was read
    EXPECT_EQ(scene->Style(), form->Styles);           // named before sgResources1 was read
    ASSERT_NE(scene->Root(), nullptr);
    EXPECT_EQ(scene->Root()->Name(), AnsiString("Root1"));
    EXPECT_EQ(scene->Root()->Visual()->Cursor(), crIBeam);
    EXPECT_EQ(form->ButtonOk->Parent(), scene->Root());
    EXPECT_EQ(form->ButtonOk->Cursor(), crHandPoint);
    EXPECT_FLOAT_EQ(form->ButtonOk->Width(), 0); // not the constructor's 50
    EXPECT_FLOAT_EQ(form->ButtonOk->Height(), 0);

    EXPECT_FALSE(form->DiskTimer->Enabled());
    EXPECT_EQ(form->DiskTimer->Interval(), 1000u);
    EXPECT_EQ(form->CheckTimer->Interval(), 250u);
    EXPECT_EQ(form->SlideTimer->Interval(), 8000u);
    EXPECT_FALSE(form->DiskTimer->Running());
    EXPECT_TRUE(form->CheckTimer->Running());  // started once the stream was read
    EXPECT_FALSE(form->SlideTimer->Running()); // no handler

    // Handlers are the form's methods.
    form->DiskTimer->OnTimerMethod()(form->DiskTimer);
    form->ButtonOk->GetOnClick()(form->ButtonOk);
    EXPECT_EQ(form->Ticks, (std::vector<TObject*>{form->DiskTimer, form->ButtonOk}));
    EXPECT_FALSE(form->CloseQuery());
    form->AllowClose = true;
    EXPECT_TRUE(form->CloseQuery());
    form->Perform(WM_ACTIVATE, 1);
    EXPECT_EQ(form->Activations, 1);

    const AnsiString written = SaveLayout(form.get());
    for (const char* expected :
         {"Color = clBtnFace", "Cursor = crHandPoint", "Cursor = crIBeam",
          "Font.Charset = EASTEUROPE_CHARSET", "Font.Color = clWindowText", "Font.Style = [fsBold]",
          "OnActivate = FormActivate", "OnCloseQuery = FormCloseQuery", "OnTimer = TimerTick",
          "OnClick = ButtonOkClick", "Align = alClient", "TabStop = True",
          "ActiveControl = ButtonOk", "Style = sgResources1", "Interval = 8000", "Width = 0"})
        EXPECT_GT(written.Pos(expected), 0) << expected << "\n" << written.str();

    auto reloaded = LoadLayout(written);
    EXPECT_EQ(SaveLayout(reloaded.get()), written);
    EXPECT_EQ(reloaded->Scene->ActiveControl(), reloaded->ButtonOk);
    EXPECT_EQ(reloaded->CheckTimer->OnTimerMethod().Data(), static_cast<void*>(reloaded.get()));
}

TEST_F(WindowLayout, APopupStreamsItsTargetStyleAndCloseHandler) {
    std::string text = kLayout;
    const std::string button = "        OnClick = ButtonOkClick\n      end\n";
    const auto at = text.find(button);
    ASSERT_NE(at, std::string::npos);
    text.insert(at + button.size(), "      object Popup1: TsgPopup\n"
                                    "        PlacementTarget = ButtonOk\n"
                                    "        Style = sgResources1\n"
                                    "        OnClosePopup = TimerTick\n"
                                    "      end\n");
    auto form = LoadLayout(AnsiString(text));
    auto* popup = dynamic_cast<TsgPopup*>(form->FindComponent("Popup1"));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->PlacementTarget(), form->ButtonOk);
    EXPECT_EQ(popup->Style(), form->Styles);
    EXPECT_FALSE(popup->Visible());
    ASSERT_TRUE(popup->OnClosePopup);
    popup->OnClosePopup(popup);
    EXPECT_EQ(form->Ticks, std::vector<TObject*>{popup});

    const std::string saved = SaveLayout(form.get()).str();
    for (const char* line :
         {"PlacementTarget = ButtonOk", "Style = sgResources1", "OnClosePopup = TimerTick"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << "\n" << saved;
    // Hidden is where a popup starts: not written.
    const std::string block = saved.substr(saved.find("object Popup1"));
    EXPECT_EQ(block.substr(0, block.find("end")).find("Visible"), std::string::npos) << block;

    // A target that goes away is forgotten.
    delete form->ButtonOk;
    EXPECT_EQ(popup->PlacementTarget(), nullptr);
}

TEST_F(WindowLayout, FieldsLetGoOfComponentsThatLeave) {
    auto form = LoadLayout(kLayout);
    delete form->SlideTimer;
    EXPECT_EQ(form->SlideTimer, nullptr);
    form->CheckTimer->SetName("Renamed");
    EXPECT_EQ(form->CheckTimer, nullptr);
    form->Scene->Root()->Free(); // ButtonOk goes with its parent
    EXPECT_EQ(form->ButtonOk, nullptr);
    EXPECT_EQ(form->Scene->ActiveControl(), nullptr);
}

} // namespace
