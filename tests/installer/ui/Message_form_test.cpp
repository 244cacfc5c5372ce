// The message window: what each kind of message shows, which button has the focus, and what the
// answer is after each button. The buttons here are plain scene controls, so the window's logic
// is checked whatever control classes the build has; the carried layout is read as well when
// its button class is registered.
#include "installer/ui/Message_form.h"

#include "platform/classes/ClassInfo.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/UiTestSupport.h"
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_objects_text.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_control.h"
#include "scene/core/Sg_scene_host.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

const char* const kLayout = R"(object FormMessage: TFormMessage
  BorderStyle = bsNone
  ClientHeight = 222
  ClientWidth = 390
  object sgSceneMainAndOnly: TsgScene
    Width = 390
    Height = 222
    Align = alClient
    ActiveControl = ButtonOk
    object Root1: TsgBackground
      Width = 390
      Height = 222
      object ButtonYes: TsgControl
        Width = 112
        Height = 26
        OnClick = ButtonYesClick
      end
      object ButtonOk: TsgControl
        Width = 112
        Height = 26
        OnClick = ButtonOkClick
      end
      object ButtonNo: TsgControl
        Width = 112
        Height = 26
        OnClick = ButtonNoClick
      end
      object ImageIllustration: TsgImage
        Width = 61
        Height = 140
      end
      object ImageSpecimenQuestion: TsgImage
        Width = 16
        Height = 16
        Visible = False
      end
      object ImageSpecimenWarning: TsgImage
        Width = 16
        Height = 16
        Visible = False
      end
      object Image1: TsgImage
        Width = 160
        Height = 19
      end
      object TextMessage: TsgText
        Width = 300
        Height = 100
      end
      object SecondText: TsgText
        Width = 300
        Height = 40
        Visible = False
      end
    end
  end
end
)";

UnicodeString Text(int number) {
    return UnicodeString("t" + std::to_string(number));
}

class MessageForm : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        RegisterSgSceneUnit();
        const std::string text = kLayout;
        form = std::make_unique<TFormMessage>(
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
        form->Text = Text;
        // Two pictures told apart by their size.
        form->ImageSpecimenQuestion->Bitmap()->SetSize(3, 3);
        form->ImageSpecimenWarning->Bitmap()->SetSize(5, 5);
    }
    void TearDown() override {
        form.reset();
        UiTest::TearDown();
    }
    // Answers the window with a click on `button` as soon as it is shown, noting what showed.
    void AnswerWith(TsgControl* TFormMessage::*button) {
        form->ShowModally = [this, button](TFormMessage& shown) {
            focused = shown.sgSceneMainAndOnly->ActiveControl();
            if (button)
                (shown.*button)->Click();
        };
    }
    bool Shown(TsgVisualObject* object) const { return object->Visible(); }

    std::unique_ptr<TFormMessage> form;
    TsgControl* focused = nullptr;
};

TEST_F(MessageForm, AskShowsTheQuestionWithYesAndNo) {
    for (bool focusYes : {false, true}) {
        AnswerWith(&TFormMessage::ButtonNo);
        form->Answer = true;
        form->Ask(u"Leave?", u"t19", focusYes);
        EXPECT_FALSE(form->Answer);
        EXPECT_EQ(focused, focusYes ? form->ButtonYes : form->ButtonNo);
        EXPECT_EQ(form->TextMessage->Text(), UnicodeString(u"Leave?"));
        EXPECT_EQ(form->ImageIllustration->Bitmap()->Width(), 3);
        EXPECT_TRUE(Shown(form->ImageIllustration));
        EXPECT_TRUE(Shown(form->ButtonYes));
        EXPECT_TRUE(Shown(form->ButtonNo));
        EXPECT_FALSE(Shown(form->ButtonOk));
        EXPECT_FALSE(Shown(form->SecondText));
    }
    AnswerWith(&TFormMessage::ButtonYes);
    form->Ask(u"Leave?", u"t19", false);
    EXPECT_TRUE(form->Answer);
}

TEST_F(MessageForm, AskWarnShowsTheWarningAndTheSecondText) {
    AnswerWith(&TFormMessage::ButtonYes);
    form->AskWarn(u"Present: A", u"Overwrite?", u"t19", false);
    EXPECT_TRUE(form->Answer) << "OK answers yes";
    EXPECT_EQ(focused, form->ButtonNo);
    EXPECT_EQ(form->ImageIllustration->Bitmap()->Width(), 5);
    EXPECT_TRUE(Shown(form->SecondText));
    EXPECT_EQ(form->SecondText->Text(), UnicodeString(u"Overwrite?"));
    EXPECT_FALSE(Shown(form->ButtonOk));

    // A following question hides the second text again.
    AnswerWith(nullptr);
    form->Ask(u"Leave?", u"t19", false);
    EXPECT_FALSE(Shown(form->SecondText));
    EXPECT_FALSE(form->Answer) << "closed without a button";
}

TEST_F(MessageForm, InfoShowsOkAndKeepsThePreviousAnswer) {
    AnswerWith(&TFormMessage::ButtonYes);
    form->Ask(u"Leave?", u"t19", true);
    ASSERT_TRUE(form->Answer);
    AnswerWith(&TFormMessage::ButtonOk);
    form->Info(u"Failed", u"t20");
    EXPECT_TRUE(form->Answer);
    EXPECT_EQ(focused, form->ButtonOk);
    EXPECT_TRUE(Shown(form->ButtonOk));
    EXPECT_FALSE(Shown(form->ButtonYes));
    EXPECT_FALSE(Shown(form->ButtonNo));
    EXPECT_EQ(form->ImageIllustration->Bitmap()->Width(), 5);
}

TEST_F(MessageForm, ShownModallyAButtonClosesTheWindow) {
    form->ShowModally = [](TFormMessage& shown) { shown.ShowModal(); };
    form->OnShow = [this](TForm&) { form->ButtonYes->Click(); };
    form->Ask(u"Leave?", u"t19", false);
    EXPECT_TRUE(form->Answer);
    EXPECT_FALSE(form->Visible());
}

TEST_F(MessageForm, TheCarriedLayoutReadsWithTheInstallersButtons) {
    RegisterSgControlsUnit();
    RegisterSgLayoutsUnit();
    const std::filesystem::path path =
        std::filesystem::path(DBI_BINARY_DIR) / "resources/windows/TFORMMESSAGE.bin";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    TFormMessage carried(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_EQ(carried.Width(), 390);
    EXPECT_EQ(carried.Height(), 222);
    ASSERT_NE(carried.ButtonYes, nullptr);
    ASSERT_NE(carried.ImageSpecimenQuestion, nullptr);
    EXPECT_GT(carried.ImageSpecimenQuestion->Bitmap()->Width(), 0);
    EXPECT_GT(carried.Image1->Bitmap()->Width(), 0);
}

} // namespace
