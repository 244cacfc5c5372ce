#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"

#include "UiTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
class Forms : public UiTest {};

// Posts `result` for `form` once the modal loop runs, as a button click would set it.
void AnswerLater(TForm& form, TModalResult result) {
    PostMessage(&form, WM_USER + 50, static_cast<WPARAM>(result), 0);
}

class AnsweringForm : public TForm {
public:
    using TForm::TForm;
    std::function<void()> onAnswer;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_USER + 50) {
            SetModalResult(static_cast<TModalResult>(m.WParam));
            if (onAnswer)
                onAnswer();
            return;
        }
        TForm::WndProc(m);
    }
};

TEST_F(Forms, TheModalLoopReturnsItsModalResultAndRestoresTheOtherForms) {
    TForm main;
    main.Show();
    AnsweringForm dialog(&main);
    for (TModalResult expected : {mrOk, mrYes, mrNo, 42}) {
        bool mainDisabledMeanwhile = false;
        dialog.onAnswer = [&] { mainDisabledMeanwhile = !main.Enabled(); };
        AnswerLater(dialog, expected);
        EXPECT_EQ(dialog.ShowModal(), expected);
        EXPECT_TRUE(mainDisabledMeanwhile);
        EXPECT_TRUE(main.Enabled());
        EXPECT_FALSE(dialog.Visible());
        EXPECT_FALSE(dialog.Modal());
    }
}

TEST_F(Forms, CloseOnAModalFormAnswersCancelAndTimersRunInsideTheLoop) {
    AnsweringForm dialog;
    int ticks = 0;
    TTimer timer;
    timer.SetInterval(250);
    timer.SetOnTimer([&](TTimer&) {
        if (++ticks == 3)
            dialog.Close();
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(ticks, 3);
}

TEST_F(Forms, ACloseQueryVetoKeepsTheFormOpen) {
    AnsweringForm dialog;
    int asked = 0;
    dialog.OnCloseQuery = [&](TForm&, bool& canClose) { canClose = ++asked >= 3; };
    TTimer clicker;
    clicker.SetInterval(100);
    clicker.SetOnTimer([&](TTimer&) { dialog.SetModalResult(mrYes); });
    EXPECT_EQ(dialog.ShowModal(), mrYes);
    EXPECT_EQ(asked, 3) << "the first two answers were refused and the loop went on";

    TForm plain;
    plain.Show();
    plain.OnCloseQuery = [](TForm&, bool& canClose) { canClose = false; };
    plain.Close();
    EXPECT_TRUE(plain.Visible());
    plain.OnCloseQuery = nullptr;
    TCloseAction seen = caNone;
    plain.OnClose = [&](TForm&, TCloseAction& action) { seen = action; };
    plain.Close();
    EXPECT_EQ(seen, caHide);
    EXPECT_FALSE(plain.Visible());
}

TEST_F(Forms, ModalLoopsNestAndTheInnerOneEndsFirst) {
    std::string order;
    AnsweringForm outer, inner;
    TTimer opener;
    opener.SetInterval(10);
    opener.SetOnTimer([&](TTimer& self) {
        self.SetEnabled(false);
        order += "open-inner ";
        AnswerLater(inner, mrNo);
        order += std::to_string(inner.ShowModal()) + " ";
        outer.SetModalResult(mrOk);
    });
    order += std::to_string(outer.ShowModal());
    EXPECT_EQ(order, "open-inner 7 1");
}

TEST_F(Forms, AVisibleOrDisabledFormCannotBeShownModally) {
    AnsweringForm dialog;
    dialog.Show();
    EXPECT_THROW(dialog.ShowModal(), EInvalidOperation);
    dialog.Hide();
    dialog.SetEnabled(false);
    EXPECT_THROW(dialog.ShowModal(), EInvalidOperation);
}

TEST_F(Forms, TerminatingEndsEveryModalLoopWithCancel) {
    AnsweringForm dialog;
    TTimer quitter;
    quitter.SetInterval(10);
    quitter.SetOnTimer([&](TTimer&) { Application->Terminate(); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_TRUE(Application->Terminated());
}

struct Module {
    static Module* seenInConstructor;
    static Module** reference;
    Module() { seenInConstructor = *reference; }
};
Module* Module::seenInConstructor = nullptr;
Module** Module::reference = nullptr;

struct OwnedModule {
    explicit OwnedModule(void* owner) : createdWithOwner(owner) {}
    void* createdWithOwner = reinterpret_cast<void*>(1);
};

struct FailingForm : TForm {
    FailingForm() { throw EInvalidOperation("no databases"); }
};

// By class information: the class's own factory makes the object; a class that cannot be made
// without arguments is refused and leaves the reference empty.
TEST_F(Forms, CreateFormByClassInformation) {
    TComponent* made = reinterpret_cast<TComponent*>(1);
    Application->CreateForm(TForm::StaticClassInfo(), made);
    auto* form = dynamic_cast<TForm*>(made);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(Application->MainForm(), form);
    Application->DestroyForm(form);
    EXPECT_EQ(Application->MainForm(), nullptr);

    TComponent* none = reinterpret_cast<TComponent*>(1);
    EXPECT_THROW(Application->CreateForm(TPersistent::StaticClassInfo(), none), EInvalidOperation);
    EXPECT_EQ(none, nullptr);
}

TEST_F(Forms, CreateFormSetsTheReferenceFirstAndTheFirstFormBecomesMain) {
    Module* module = nullptr;
    Module::reference = &module;
    Application->CreateForm(module);
    EXPECT_EQ(Module::seenInConstructor, module);
    EXPECT_EQ(Application->MainForm(), nullptr) << "a data module is not a form";

    TForm* first = nullptr;
    TForm* second = nullptr;
    Application->CreateForm(first);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), first);

    OwnedModule* owned = nullptr;
    Application->CreateForm(owned);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(owned->createdWithOwner, nullptr);

    FailingForm* failing = reinterpret_cast<FailingForm*>(1);
    EXPECT_THROW(Application->CreateForm(failing), EInvalidOperation);
    EXPECT_EQ(failing, nullptr);

    // Closing the main form asks the application to end, once the loop gets there.
    first->Show();
    first->Close();
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(Forms, ReleaseFreesTheFormAfterTheMessagesBeforeIt) {
    AnsweringForm* created = nullptr;
    Application->CreateForm(created);
    HWND handle = created->Handle();
    created->Release();
    EXPECT_TRUE(IsWindow(handle));
    Application->ProcessMessages();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(Application->MainForm(), nullptr);
}
// A list that a unit makes the first time it is used while the program runs, as the toolkit's
// lists of scenes, timers and popups are. The flag is plain data, so it can be read at any
// point of the exit.
bool unitListGone = false;
struct UnitList {
    ~UnitList() { unitListGone = true; }
};
void UseUnitList() {
    static UnitList list;
    (void)list;
}

// Owned by a form; its teardown works on the unit's list.
struct ListUser : TComponent {
    using TComponent::TComponent;
    ~ListUser() override {
        if (unitListGone) {
            std::fputs("freed after the unit's list had gone\n", stderr);
            std::_Exit(3);
        }
        std::fputs("freed with the unit's list whole\n", stderr);
    }
};

// Leaves a form to the application, runs the loop and exits: from a handler inside the loop, or
// after the loop has returned.
void RunThenExit(bool fromInsideTheLoop) {
    TForm* form = nullptr;
    Application->CreateForm(form);
    new ListUser(form);
    if (fromInsideTheLoop)
        UseUnitList();
    TTimer quit;
    quit.SetInterval(10);
    quit.SetOnTimer([fromInsideTheLoop](TTimer&) {
        if (fromInsideTheLoop)
            std::exit(0);
        UseUnitList();
        Application->Terminate();
    });
    Application->Run();
    std::exit(0);
}

TEST_F(Forms, FormsLeftToTheApplicationGoAtExitBeforeTheStaticsMadeUpToThen) {
    for (bool fromInsideTheLoop : {false, true})
        EXPECT_EXIT(RunThenExit(fromInsideTheLoop), ::testing::ExitedWithCode(0),
                    "freed with the unit's list whole")
            << (fromInsideTheLoop ? "exit inside the loop" : "exit after the loop");
}

} // namespace
