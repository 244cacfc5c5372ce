// Writing and reading whole components: defaults, every property kind, children, references,
// event handlers, Loaded, and the reader's hooks.
#include "TestClasses.h"

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringUtils.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TComponent* ReadRoot(const std::string& text, TComponent* root = nullptr,
                     const std::function<void(TReader&)>& setup = {}) {
    TBytesStream stream(TextToBinary(text));
    TReader reader(stream);
    if (setup)
        setup(reader);
    return reader.ReadRootComponent(root);
}

std::string WriteText(TComponent* root) {
    return BinaryToText(WriteToBytes(root));
}

const char* const everyProperty = R"(object Form1: TTestForm
  Count = -7
  Big = 1099511627776
  Visible = False
  Checked = True
  Shape = shTriangle
  Anchors = [akRight, akBottom]
  Ratio = 0.25
  Opacity = 0.5
  Margin = 3
  Caption = 'Zakończ'
  Hint = 'właśnie'
  Font.Name = 'Serif'
  Font.Size = 14
  Items = <
    item
      Width = 4
      Caption = 'one'
    end
    item
      Width = 9
    end>
  Lines.Strings = (
    'first'
    'second')
  Lines.Data = {
    DEADBEEF}
  Buddy = Button2
  OnClick = ButtonClick
  object Button1: TTestWidget
    Margin = 5
    Buddy = Button2
    OnClick = ButtonClick
  end
  object Button2: TTestWidget
    Margin = 5
    Caption = 'second'
    object Inner: TTestWidget
      Margin = 5
      Buddy = Owner
    end
  end
end
)";

TEST(ComponentStream, DefaultsAreNotWrittenButTheConstructorsOwnValueIs) {
    TTestWidget widget(nullptr);
    widget.SetName("W");
    // Margin's constructor value 5 differs from its declared default 0; Opacity's 1 does not.
    EXPECT_EQ(WriteText(&widget), "object W: TTestWidget\n  Margin = 5\nend\n");
    widget.Margin = 0;
    widget.Opacity = 0;
    widget.Visible = false;
    widget.Hint = u"h";
    widget.StoreHint = false;
    EXPECT_EQ(WriteText(&widget),
              "object W: TTestWidget\n  Visible = False\n  Opacity = 0.0\nend\n");

    // A set emptied from a non-empty default is written as the empty set and read back empty;
    // one equal to its default is left out whatever order its elements were given in.
    widget.Anchors = 0;
    const std::string emptied = WriteText(&widget);
    EXPECT_EQ(emptied, "object W: TTestWidget\n  Visible = False\n  Anchors = []\n"
                       "  Opacity = 0.0\nend\n");
    std::unique_ptr<TComponent> read(ReadRoot(emptied));
    EXPECT_EQ(static_cast<TTestWidget*>(read.get())->Anchors, 0);
    read.reset(ReadRoot("object W: TTestWidget\n  Anchors = [akTop, akLeft]\nend\n"));
    EXPECT_EQ(WriteText(read.get()), "object W: TTestWidget\n  Margin = 5\nend\n");
}

TEST(ComponentStream, EveryPropertyKindIsReadByNameWithReferencesFixedUp) {
    LoadedLog().clear();
    std::unique_ptr<TComponent> root(ReadRoot(everyProperty));
    auto* form = dynamic_cast<TTestForm*>(root.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_EQ(form->Count, -7);
    EXPECT_EQ(form->Big, int64_t(1) << 40);
    EXPECT_FALSE(form->Visible);
    EXPECT_TRUE(form->Checked);
    EXPECT_EQ(form->Shape, shTriangle);
    EXPECT_EQ(form->Anchors, (1 << akRight) | (1 << akBottom));
    EXPECT_EQ(form->Ratio, 0.25);
    EXPECT_EQ(form->Opacity, 0.5);
    EXPECT_EQ(form->Margin, 3);
    EXPECT_EQ(form->Caption, AnsiString("Zako\xC5\x84"
                                        "cz"));
    EXPECT_EQ(form->Hint, UnicodeString(u"właśnie"));
    EXPECT_EQ(form->Font.Name(), "Serif");
    EXPECT_EQ(form->Font.Size(), 14);
    ASSERT_EQ(form->Items.Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(form->Items.Items(0))->Width(), 4);
    EXPECT_EQ(static_cast<TTestItem*>(form->Items.Items(0))->Caption(), UnicodeString(u"one"));
    EXPECT_EQ(static_cast<TTestItem*>(form->Items.Items(1))->Width(), 9);
    EXPECT_EQ(form->Lines.Lines, (std::vector<UnicodeString>{u"first", u"second"}));
    EXPECT_EQ(form->Lines.Data, (std::vector<uint8_t>{0xDE, 0xAD, 0xBE, 0xEF}));

    auto* button1 = dynamic_cast<TTestWidget*>(form->FindComponent("button1"));
    auto* button2 = dynamic_cast<TTestWidget*>(form->FindComponent("BUTTON2"));
    auto* inner = dynamic_cast<TTestWidget*>(form->FindComponent("Inner"));
    ASSERT_TRUE(button1 && button2 && inner);
    EXPECT_EQ(form->Buddy, button2);
    EXPECT_EQ(button1->Buddy, button2); // a reference to a component read later
    EXPECT_EQ(inner->Buddy, form);
    EXPECT_EQ(inner->WidgetParent, button2);
    EXPECT_EQ(form->Children, (std::vector<TTestWidget*>{button1, button2}));

    ASSERT_TRUE(button1->OnClick);
    button1->OnClick(button1);
    EXPECT_EQ(form->Clicks, std::vector<TObject*>{button1});
    EXPECT_EQ(button1->OnClick, (TNotifyEvent::Bind<&TTestForm::ButtonClick>(form)));

    EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"Form1", "Button1", "Button2", "Inner"}));
    for (TComponent* c : {static_cast<TComponent*>(form), static_cast<TComponent*>(inner)})
        EXPECT_FALSE(c->HasState(csLoading) || c->HasState(csReading));

    // Everything read writes back to the same canonical text.
    EXPECT_EQ(WriteText(form), everyProperty);
}

TEST(ComponentStream, ReadingIntoAnExistingRootSetsOnlyWhatTheStreamCarries) {
    TTestWidget widget(nullptr);
    widget.Count = 11;
    widget.Caption = "kept";
    ReadRoot("object X: TTestWidget\n  Count = 2\nend\n", &widget);
    EXPECT_EQ(widget.Count, 2);
    EXPECT_EQ(widget.Caption, "kept");
    EXPECT_EQ(widget.Name(), "X");
}

TEST(ComponentStream, UnresolvedReferencesStayNil) {
    std::unique_ptr<TComponent> root(
        ReadRoot("object F: TTestWidget\n  Buddy = Nobody\n  object A: TTestWidget\n"
                 "    Buddy = Elsewhere.B\n  end\nend\n"));
    auto* form = static_cast<TTestWidget*>(root.get());
    EXPECT_EQ(form->Buddy, nullptr);
    EXPECT_EQ(static_cast<TTestWidget*>(form->FindComponent("A"))->Buddy, nullptr);
}

TEST(ComponentStream, GlobalReferencesGoThroughTheRegisteredLookup) {
    TTestWidget other(nullptr);
    other.SetName("Other");
    auto* target = new TTestWidget(&other);
    target->SetName("Target");
    RegisterFindGlobalComponentProc([&](const AnsiString& name) -> TComponent* {
        return SameText(name, "other") ? &other : nullptr;
    });
    std::unique_ptr<TComponent> root(
        ReadRoot("object F: TTestWidget\n  Buddy = Other.Target\nend\n"));
    UnregisterFindGlobalComponentProcs();
    EXPECT_EQ(static_cast<TTestWidget*>(root.get())->Buddy, target);
    delete target; // the free notification clears the reference
    EXPECT_EQ(static_cast<TTestWidget*>(root.get())->Buddy, nullptr);
}

TEST(ComponentStream, ErrorsRaiseUnlessTheHookHandlesThem) {
    struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"UnknownProperty", "object F: TTestWidget\n  Missing = 1\n  Count = 4\nend\n"},
        {"UnknownPath", "object F: TTestWidget\n  Font.Missing.X = 1\n  Count = 4\nend\n"},
        {"BadEnum", "object F: TTestWidget\n  Shape = shOval\n  Count = 4\nend\n"},
        {"BadSetElement", "object F: TTestWidget\n  Anchors = [akNowhere]\n  Count = 4\nend\n"},
        {"WrongKind", "object F: TTestWidget\n  Visible = 'yes'\n  Count = 4\nend\n"},
        {"IntegerTooBig", "object F: TTestWidget\n  Count = 4294967296\n  Count = 4\nend\n"},
        {"UnknownMethod", "object F: TTestForm\n  OnClick = Nowhere\n  Count = 4\nend\n"},
        {"WrongSignature", "object F: TTestForm\n  OnClick = WrongSignature\n  Count = 4\nend\n"},
        {"UnknownClass", "object F: TTestWidget\n  Count = 4\n  object G: TNoSuchClass\n"
                         "    Count = 1\n    object H: TTestWidget\n    end\n  end\nend\n"},
        {"DuplicateName", "object F: TTestWidget\n  Count = 4\n  object G: TTestWidget\n  end\n"
                          "  object G: TTestWidget\n  end\nend\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(ReadRoot(c.text), Exception);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> messages;
        std::unique_ptr<TComponent> root(ReadRoot(c.text, nullptr, [&](TReader& r) {
            r.OnError = [&](TReader&, const AnsiString& message, bool& handled) {
                messages.push_back(message.str());
                handled = true;
            };
        }));
        EXPECT_EQ(static_cast<TTestWidget*>(root.get())->Count, 4);
        EXPECT_EQ(messages.size(), 1u);
    }
}

TEST(ComponentStream, AnUnknownSetElementIsNamedInTheErrorAndSetsNothing) {
    const std::string text = "object F: TTestWidget\n  Anchors = [akRight, akNowhere]\nend\n";
    try {
        delete ReadRoot(text);
        ADD_FAILURE() << "read without error";
    } catch (const EReadError& e) {
        EXPECT_EQ(AnsiString(e.Message()).str(),
                  "Error reading TTestWidget.Anchors: Invalid property value: akNowhere is not "
                  "an element of the set");
    }
    std::unique_ptr<TComponent> root(ReadRoot(text, nullptr, [](TReader& r) {
        r.OnError = [](TReader&, const AnsiString&, bool& handled) { handled = true; };
    }));
    EXPECT_EQ(static_cast<TTestWidget*>(root.get())->Anchors, (1 << akLeft) | (1 << akTop));
}

TEST(ComponentStream, HooksRenameFindClassesAndTakeUnknownProperties) {
    std::vector<std::string> unknown;
    std::unique_ptr<TComponent> root(ReadRoot(
        "object F: TTestWidget\n  Legacy = 12\n  object G: TOldWidget\n    Count = 3\n  end\nend\n",
        nullptr, [&](TReader& r) {
            r.OnSetName = [](TReader&, TComponent*, AnsiString& name) { name = AnsiString(); };
            r.OnFindComponentClass = [](TReader&, const AnsiString& name, const TClassInfo*& c) {
                if (name == "TOldWidget")
                    c = &TTestWidget::StaticClassInfo();
            };
            r.OnPropertyNotFound = [&](TReader& reader, TPersistent*, const AnsiString& name,
                                       bool& handled) {
                unknown.push_back(name.str() + "=" + std::to_string(reader.ReadInteger()));
                handled = true;
            };
        }));
    auto* form = static_cast<TTestWidget*>(root.get());
    EXPECT_TRUE(form->Name().IsEmpty());
    ASSERT_EQ(form->Children.size(), 1u);
    EXPECT_TRUE(form->Children[0]->Name().IsEmpty());
    EXPECT_EQ(form->Children[0]->Count, 3);
    EXPECT_EQ(unknown, std::vector<std::string>{"Legacy=12"});
}

TEST(ComponentStream, AFailedReadFreesWhatItCreatedAndClearsLoadingState) {
    TTestWidget root(nullptr);
    std::vector<uint8_t> bytes =
        TextToBinary("object F: TTestWidget\n  object A: TTestWidget\n    Buddy = B\n  end\n"
                     "  object B: TTestWidget\n    Missing = 1\n  end\nend\n");
    TBytesStream stream(bytes);
    TReader reader(stream);
    EXPECT_THROW(reader.ReadRootComponent(&root), EReadError);
    EXPECT_FALSE(root.HasState(csLoading));
    ASSERT_EQ(root.ComponentCount(), 1); // A was complete; B was freed
    EXPECT_FALSE(root.Components(0)->HasState(csLoading));
    EXPECT_EQ(static_cast<TTestWidget*>(root.Components(0))->Buddy, nullptr);
}

TEST(ComponentStream, ReferenceNamesPassThroughTheirHook) {
    std::unique_ptr<TComponent> root(ReadRoot(
        "object F: TTestWidget\n  Buddy = OldName\n  object NewName: TTestWidget\n  end\nend\n",
        nullptr, [](TReader& r) {
            r.OnReferenceName = [](TReader&, AnsiString& name) {
                if (name == "OldName")
                    name = "NewName";
            };
        }));
    auto* form = static_cast<TTestWidget*>(root.get());
    EXPECT_EQ(form->Buddy, form->FindComponent("NewName"));
}

TEST(ComponentStream, WriterRefusesNamesItCannotWriteWhole) {
    TBytesStream stream;
    TWriter writer(stream);
    EXPECT_NO_THROW(writer.WriteStr(AnsiString(std::string(255, 'x'))));
    EXPECT_THROW(writer.WriteStr(AnsiString(std::string(256, 'x'))), EWriteError);
}

TEST(ComponentStream, WriterRefusesAClassWithoutItsOwnClassInformation) {
    class TForgotten : public TTestWidget {
    public:
        using TTestWidget::TTestWidget;
    };
    TForgotten forgotten(nullptr);
    EXPECT_THROW(WriteToBytes(&forgotten), EInvalidOperation);
}

} // namespace
