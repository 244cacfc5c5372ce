// A button's action is a reference in the form's stream: written by the action's name, and linked
// again on reading, whether the action comes before or after the button.
#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Actions.h"
#include "platform/ui/Forms.h"
#include "scene/controls/Sg_controls.h"
#include "scene/core/Sg_scene.h"
#include "support/ComponentText.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const char* const kActionFirst = R"(object ActionForm: TForm
  object OpenAction: TCustomAction
    Caption = 'Open'
    Hint = 'Opens a file'
  end
  object Scene1: TsgScene
    object Root1: TsgVisualObject
      object Button1: TsgButton
        Action = OpenAction
      end
    end
  end
end
)";

const char* const kActionLast = R"(object ActionForm: TForm
  object Scene1: TsgScene
    object Root1: TsgVisualObject
      object Button1: TsgButton
        Action = OpenAction
      end
    end
  end
  object OpenAction: TCustomAction
    Caption = 'Open'
    Hint = 'Opens a file'
  end
end
)";

std::unique_ptr<TForm> Load(const char* text) {
    return testsupport::ReadComponentText<TForm>(AnsiString(text));
}

TEST(ButtonActionStream, TheActionIsLinkedOnReadingAndWrittenByName) {
    RegisterSgSceneUnit();
    RegisterSgControlsUnit();
    for (const char* text : {kActionFirst, kActionLast}) {
        SCOPED_TRACE(text);
        const auto form = Load(text);
        auto* button = dynamic_cast<TsgButton*>(form->FindComponent("Button1"));
        auto* action = dynamic_cast<TCustomAction*>(form->FindComponent("OpenAction"));
        ASSERT_NE(button, nullptr);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(button->Action(), action);
        EXPECT_EQ(button->Text(), UnicodeString(u"Open"));
        EXPECT_NE(testsupport::ComponentText(form.get()).str().find("Action = OpenAction"),
                  std::string::npos);

        delete action;
        EXPECT_EQ(button->Action(), nullptr);
        EXPECT_EQ(testsupport::ComponentText(form.get()).str().find("Action ="), std::string::npos);
    }
}

} // namespace
