// Development tool: opens a scene given in the component text form in a real window, for
// looking at it on a desktop or under Xvfb (xvfb-run -a sg_view scene.txt ...).
//
//   sg_view <scene.txt> [--size WxH] [--background #AARRGGBB] [--screenshot out.png]
//           [--exit-after MS] [--print-events] [--list-items N]
//
// The root object's class must be a visual object known to the toolkit (TsgPreviewShape draws
// the canvas primitives). The window takes the root's size unless --size says otherwise, and
// the tree is laid out by the children's Align, Margins and Padding. --screenshot writes the
// scene's buffer as PNG once the window has been painted, and again whenever F12 is pressed;
// --exit-after closes the program after that many milliseconds. --print-events writes every
// mouse, focus and key event of the objects to standard output, one line each, and lets every
// object below the root take the focus, so clicks, typing and Tab can be tried (and scripted
// under Xvfb with xdotool) on any layout; an object is named by its name, or by its child
// indices from the root ("root.1.0") when it has none. Controls keep their own focus rule and
// also print their changes ("change 1" for a checked box, "change 42" for the value of a bar,
// a knob or a numeric box, the page index of a tab control, the text of a text box, the
// selected item of a tree view, "check" with an item's text and state, "scroll x,y" for a
// scroll box).
// The controls draw themselves from the default style sheet the build attaches to the program.
// --list-items fills every list box and combo box of the scene with N numbered items
// ("Item 1", ...), for trying long lists.
// Escape or closing the window ends it.
// Exit code 0 on success, 1 on bad input, 2 on usage.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_expander.h"
#include "scene/controls/Sg_controls_popupbox.h"
#include "scene/controls/Sg_controls_rangebars.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_listbox.h"
#include "scene/controls/Sg_memo.h"
#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_stringlists.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/controls/Sg_treeview.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_preview.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: sg_view <scene.txt> [--size WxH] [--background #AARRGGBB] "
                         "[--screenshot out.png] [--exit-after MS] [--print-events] "
                         "[--list-items N]\n");
    return 2;
}

// Writes the events of one object to standard output.
class TEventPrinter {
public:
    TEventPrinter(TsgVisualObject* node, std::string name) : FName(std::move(name)) {
        node->OnClick = TNotifyEvent::Bind<&TEventPrinter::Click>(this);
        node->OnDblClick = TNotifyEvent::Bind<&TEventPrinter::DblClick>(this);
        node->OnMouseEnter = TNotifyEvent::Bind<&TEventPrinter::Enter>(this);
        node->OnMouseLeave = TNotifyEvent::Bind<&TEventPrinter::Leave>(this);
        node->OnFocus = TNotifyEvent::Bind<&TEventPrinter::Focus>(this);
        node->OnMouseDown = TsgMouseEvent::Bind<&TEventPrinter::Down>(this);
        node->OnMouseUp = TsgMouseEvent::Bind<&TEventPrinter::Up>(this);
        node->OnMouseWheel = TsgMouseWheelEvent::Bind<&TEventPrinter::Wheel>(this);
        node->OnKeyDown = TsgKeyEvent::Bind<&TEventPrinter::KeyDown>(this);
        const TNotifyEvent change = TNotifyEvent::Bind<&TEventPrinter::Change>(this);
        if (auto* check = dynamic_cast<TsgCheckControl*>(node))
            check->OnChange = change;
        else if (auto* track = dynamic_cast<TsgCustomTrack*>(node))
            track->OnChange = change;
        else if (auto* bar = dynamic_cast<TsgScrollBar*>(node))
            bar->OnChange = change;
        else if (auto* tabs = dynamic_cast<TsgTabControl*>(node))
            tabs->OnChange = change;
        else if (auto* knob = dynamic_cast<TsgAngleButton*>(node))
            knob->OnChange = change;
        else if (dynamic_cast<TsgNumberBox*>(node) || dynamic_cast<TsgSpinBox*>(node))
            static_cast<TsgTextBox*>(node)->OnChange = change;
        else if (auto* box = dynamic_cast<TsgTextBox*>(node))
            box->OnChangeTracking = change;
        else if (auto* popup = dynamic_cast<TsgPopupBox*>(node))
            popup->OnChange = change;
        else if (auto* expander = dynamic_cast<TsgExpander*>(node))
            expander->OnExpand = TNotifyEvent::Bind<&TEventPrinter::Expand>(this);
        else if (auto* memo = dynamic_cast<TsgMemo*>(node))
            memo->OnChangeTracking = change;
        else if (auto* list = dynamic_cast<TsgListBox*>(node))
            list->OnChange = change;
        else if (auto* combo = dynamic_cast<TsgComboBox*>(node))
            combo->OnChange = change;
        if (auto* tree = dynamic_cast<TsgTreeView*>(node)) {
            tree->OnChange = change;
            tree->OnChangeCheck = TNotifyEvent::Bind<&TEventPrinter::Check>(this);
        }
        if (auto* scroll = dynamic_cast<TsgScrollBox*>(node)) {
            FScrollBox = scroll;
            scroll->SetOnScrollChange(TNotifyEvent::Bind<&TEventPrinter::Scroll>(this));
        }
    }

private:
    void Line(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        std::printf("%s ", FName.c_str());
        va_list args;
        va_start(args, format);
        std::vprintf(format, args);
        va_end(args);
        std::printf("\n");
        std::fflush(stdout);
    }
    static const char* ButtonName(TMouseButton b) {
        return b == mbLeft ? "left" : b == mbRight ? "right" : "middle";
    }
    void Click(TObject*) { Line("click"); }
    void Change(TObject* sender) {
        if (auto* check = dynamic_cast<TsgCheckControl*>(sender))
            Line("change %d", check->IsChecked() ? 1 : 0);
        else if (auto* track = dynamic_cast<TsgCustomTrack*>(sender))
            Line("change %g", double(track->Value()));
        else if (auto* bar = dynamic_cast<TsgScrollBar*>(sender))
            Line("change %g", double(bar->Value()));
        else if (auto* tabs = dynamic_cast<TsgTabControl*>(sender))
            Line("change %d", tabs->ItemIndex());
        else if (auto* knob = dynamic_cast<TsgAngleButton*>(sender))
            Line("change %g", double(knob->Value()));
        else if (auto* number = dynamic_cast<TsgNumberBox*>(sender))
            Line("change %g", double(number->Value()));
        else if (auto* spin = dynamic_cast<TsgSpinBox*>(sender))
            Line("change %g", double(spin->Value()));
        else if (auto* box = dynamic_cast<TsgTextBox*>(sender))
            Line("change %s", box->Text().ToUtf8().c_str());
        else if (auto* tree = dynamic_cast<TsgTreeView*>(sender))
            Line("change %s", tree->Selected() ? tree->Selected()->Text().ToUtf8().c_str() : "-");
        else if (auto* popup = dynamic_cast<TsgPopupBox*>(sender))
            Line("change %d", int(popup->ItemIndex()));
        else if (auto* memo = dynamic_cast<TsgMemo*>(sender))
            Line("change lines %d length %d last '%s'", memo->GetLineCount(), memo->Text().Length(),
                 memo->GetLine(memo->GetLineCount() - 1).ToUtf8().c_str());
        else if (auto* item = dynamic_cast<TsgListBoxItem*>(sender))
            Line("change %d", item->Index());
        else if (auto* combo = dynamic_cast<TsgComboBox*>(sender))
            Line("change %d", combo->ItemIndex());
        else
            Line("change -1");
    }
    void Check(TObject* sender) {
        auto* item = static_cast<TsgTreeViewItem*>(sender);
        Line("check %s %d", item->Text().ToUtf8().c_str(), item->IsChecked() ? 1 : 0);
    }
    // Reported by the box's scroll bars, so the position is read from the box itself.
    void Scroll(TObject*) {
        const TsgPoint at = FScrollBox->ScrollPosition();
        Line("scroll %g,%g", double(at.X), double(at.Y));
    }
    void Expand(TObject* sender) {
        Line("expand %d", static_cast<TsgExpander*>(static_cast<TsgObject*>(sender))->IsExpanded());
    }
    void DblClick(TObject*) { Line("dblclick"); }
    void Enter(TObject*) { Line("enter"); }
    void Leave(TObject*) { Line("leave"); }
    void Focus(TObject* sender) {
        Line(static_cast<TsgVisualObject*>(sender)->IsFocused() ? "focus" : "unfocus");
    }
    void Down(TObject*, TMouseButton b, TShiftState, float x, float y) {
        Line("down %s %g,%g", ButtonName(b), double(x), double(y));
    }
    void Up(TObject*, TMouseButton b, TShiftState, float x, float y) {
        Line("up %s %g,%g", ButtonName(b), double(x), double(y));
    }
    void Wheel(TObject*, TShiftState, int delta, TsgPoint, bool&) { Line("wheel %d", delta); }
    void KeyDown(uint16_t& key, char16_t& keyChar, TShiftState shift) {
        Line("keydown %u char %u%s%s", unsigned(key), unsigned(keyChar),
             shift.Contains(ssShift) ? " shift" : "", shift.Contains(ssCtrl) ? " ctrl" : "");
    }

    std::string FName;
    TsgScrollBox* FScrollBox = nullptr;
};

void FillLists(TsgVisualObject* node, int count) {
    auto* list = dynamic_cast<TsgListBox*>(node);
    auto* combo = dynamic_cast<TsgComboBox*>(node);
    if (list || combo) {
        TsgListBox* target = combo ? combo->ListBox() : list;
        target->BeginUpdate();
        for (int i = 0; i < count; ++i) {
            auto* item = new TsgListBoxItem(nullptr);
            item->SetText(UnicodeString::FromUtf8("Item " + std::to_string(i + 1)));
            if (combo)
                combo->AddObject(item);
            else
                list->AddObject(item);
        }
        target->EndUpdate();
        return;
    }
    for (int i = 0; i < node->ChildrenCount(); ++i)
        if (TsgVisualObject* child = node->GetChild(i)->Visual())
            FillLists(child, count);
}

void WatchTree(TsgVisualObject* node, const std::string& path,
               std::vector<std::unique_ptr<TEventPrinter>>& printers, bool isRoot) {
    std::string name = node->Name().IsEmpty() ? path : std::string(node->Name().c_str());
    printers.push_back(std::make_unique<TEventPrinter>(node, name));
    // A control knows whether it takes the focus (a speed button does not); other objects
    // are made focusable so that any layout can be tried.
    if (!isRoot && !dynamic_cast<TsgControl*>(node))
        node->SetCanFocused(true);
    // The items of a list report through their list.
    if (dynamic_cast<TsgListBox*>(node) || dynamic_cast<TsgComboBox*>(node))
        return;
    // A style clone already applied (the expander styles itself when made) keeps its own
    // handlers: its parts belong to the control.
    auto* control = dynamic_cast<TsgControl*>(node);
    for (int i = 0; i < node->ChildrenCount(); ++i)
        if (TsgVisualObject* child = node->GetChild(i)->Visual())
            if (!control || child != control->StyleClone())
                WatchTree(child, path + "." + std::to_string(i), printers, false);
}

// Lays out the tree from the root down. Nodes that lay out their own children do it again
// here, which changes nothing; nodes that do not (the preview shapes) get their layout.
void LayOutTree(TsgVisualObject* node) {
    sgRealign(node);
    for (int i = 0; i < node->ChildrenCount(); ++i)
        if (TsgVisualObject* child = node->GetChild(i)->Visual())
            LayOutTree(child);
}

// Raises the visibility trigger on every visual object, as showing an object does, so that the
// scene's timeline animations ('IsVisible=true') start once the tree lies in the scene.
void RaiseVisibleTriggers(TsgVisualObject* node) {
    node->StartTriggerAnimation(node, "IsVisible");
    for (int i = 0; i < node->ChildrenCount(); ++i)
        if (TsgVisualObject* child = node->GetChild(i)->Visual())
            RaiseVisibleTriggers(child);
}

class TViewScene : public TsgScene {
public:
    explicit TViewScene(TComponent* AOwner) : TsgScene(AOwner) {}

    std::string ScreenshotFile;
    bool Painted = false;

    void SaveScreenshot() {
        if (ScreenshotFile.empty())
            return;
        TFileStream out(UnicodeString::FromUtf8(ScreenshotFile), fmCreate);
        Canvas()->SaveToStream(out);
        std::fprintf(stderr, "sg_view: wrote %s\n", ScreenshotFile.c_str());
    }
    void Draw() override {
        TsgScene::Draw();
        Painted = true;
    }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override {
        TsgScene::SetBounds(ALeft, ATop, AWidth, AHeight);
        if (TsgObject* root = Root(); root && root->Visual())
            LayOutTree(root->Visual());
    }

protected:
    void KeyDown(uint16_t& key, TShiftState) override {
        if (key == VK_F1 + 11)
            SaveScreenshot();
        else if (key == VK_ESCAPE)
            Application->Terminate();
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    int width = 0, height = 0;
    long exitAfter = -1;
    std::string screenshot;
    bool background = false;
    bool printEvents = false;
    long listItems = 0;
    TsgColor backgroundColor = 0xFFFFFFFF;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 1 || height < 1)
                return Usage();
        } else if (std::strcmp(argv[i], "--background") == 0 && i + 1 < argc) {
            background = true;
            backgroundColor = sgStrToColor(UnicodeString::FromUtf8(argv[++i]));
        } else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = argv[++i];
        } else if (std::strcmp(argv[i], "--print-events") == 0) {
            printEvents = true;
        } else if (std::strcmp(argv[i], "--list-items") == 0 && i + 1 < argc) {
            char* end = nullptr;
            listItems = std::strtol(argv[++i], &end, 10);
            if (!end || *end || listItems < 0 || listItems > 10000000)
                return Usage();
        } else if (std::strcmp(argv[i], "--exit-after") == 0 && i + 1 < argc) {
            char* end = nullptr;
            exitAfter = std::strtol(argv[++i], &end, 10);
            if (!end || *end || exitAfter < 0)
                return Usage();
        } else {
            return Usage();
        }
    }
    try {
        RegisterSgSceneUnit();
        RegisterSgAniUnit();
        RegisterSgEffectsUnit();
        RegisterClass(TsgPreviewShape::StaticClassInfo());
        RegisterSgObjectsUnit();
        RegisterSgControlsUnit();
        RegisterSgLayoutsUnit();
        RegisterSgScrollBoxUnit();
        RegisterSgTreeViewUnit();
        RegisterSgTextboxUnit();
        RegisterSgTabControlUnit();
        RegisterSgListBoxUnit();
        InitSgCanvasUnit();
        Application->Initialize();

        TMemoryStream text;
        text.LoadFromFile(UnicodeString::FromUtf8(argv[1]));
        if (width == 0) {
            // The root's size decides the window's; read it once into a probe.
            auto probe = std::make_unique<TsgPreviewShape>(nullptr);
            probe->LoadFromStream(text);
            width = std::max(1, static_cast<int>(std::ceil(probe->Width())));
            height = std::max(1, static_cast<int>(std::ceil(probe->Height())));
            text.SetPosition(0);
        }

        TForm* form = nullptr;
        Application->CreateForm(form);
        form->SetCaption(UnicodeString(u"sg_view - ") + UnicodeString::FromUtf8(argv[1]));
        form->SetBorderStyle(bsSingle);
        form->SetPosition(poScreenCenter);
        form->SetClientSize(width, height);

        auto scene = std::make_unique<TViewScene>(nullptr);
        scene->ScreenshotFile = screenshot;
        scene->SetParent(form);
        scene->SetBounds(0, 0, width, height);
        if (background) {
            TsgBrush fill(sgBrushSolid, backgroundColor);
            scene->SetFill(&fill);
        }
        TsgObject* root = scene->LoadObjectFromStream(text);
        if (!root || !root->Visual()) {
            std::fprintf(stderr, "sg_view: %s holds no visual object tree\n", argv[1]);
            return 1;
        }
        if (listItems > 0)
            FillLists(root->Visual(), static_cast<int>(listItems));
        LayOutTree(root->Visual());
        std::vector<std::unique_ptr<TEventPrinter>> printers;
        if (printEvents)
            WatchTree(root->Visual(), "root", printers, true);
        RaiseVisibleTriggers(root->Visual());

        TTimer screenshotTimer;
        screenshotTimer.SetInterval(50);
        screenshotTimer.SetEnabled(!screenshot.empty());
        screenshotTimer.SetOnTimer([&](TTimer& timer) {
            if (!scene->Painted)
                return;
            timer.SetEnabled(false);
            scene->SaveScreenshot();
        });
        TTimer exitTimer;
        exitTimer.SetInterval(static_cast<uint32_t>(std::max(1L, exitAfter)));
        exitTimer.SetEnabled(exitAfter >= 0);
        exitTimer.SetOnTimer([&](TTimer&) {
            if (!screenshot.empty() && screenshotTimer.Enabled()) {
                scene->UpdateBuffer();
                scene->SaveScreenshot();
            }
            Application->Terminate();
        });

        form->Show();
        scene->SetFocus();
        Application->Run();
        scene.reset();
    } catch (const Exception& e) {
        std::fprintf(stderr, "sg_view: %s\n", e.what());
        return 1;
    }
    return 0;
}
