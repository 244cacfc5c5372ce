// Development tool: a small scene designer. It opens a scene given in the component text form
// in a real window with the scene in design state, so the scene edits its own tree (click to
// select, drag to move, handles to resize and rotate, ALT-drag to move into another object,
// Delete to remove), shows the selection, and saves the edited tree back.
//
//   sg_designer <scene.txt> [--save out] [--binary] [--size WxH] [--screenshot out.png]
//               [--exit-after MS]
//
// A second window beside it ("Properties") holds the property inspector, which lists the
// published properties of the selected object and edits them in place.
//
// Ctrl+S writes the tree to --save (else back to the scene file) in the text form, or in the
// binary form with --binary; F12 writes the scene's buffer as PNG to --screenshot
// (and the inspector's beside it, the name ending in "-properties"); Escape or
// closing the window ends it. Selections, modifications and saves are reported on standard
// output, one line each ("select <name>", "modified", "saved <file>"); so is the inspector's
// selected row ("inspect <property> = <value>") and the style the design menu copied for
// editing ("edit style <name>", shown in the inspector). Exit code 0 on success,
// 1 on bad input or a failed save, 2 on usage.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_text.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_preview.h"
#include "scene/core/Sg_scene_resources.h"
#include "scene/design/Sg_inspector.h"
#include "scene/design/Sg_scene_design.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kInspectorWidth = 300;
constexpr int kInspectorHeight = 420;

int Usage() {
    std::fprintf(stderr, "usage: sg_designer <scene.txt> [--save out] [--binary] [--size WxH] "
                         "[--screenshot out.png] [--exit-after MS]\n");
    return 2;
}

void Report(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string NameOf(TsgObject* o) {
    if (!o)
        return "(none)";
    return o->Name().IsEmpty() ? std::string(o->ClassName().c_str())
                               : std::string(o->Name().c_str());
}

void CollectNames(TsgObject* o, std::set<std::string>& names) {
    if (!o)
        return;
    if (!o->Name().IsEmpty())
        names.insert(o->Name().c_str());
    for (int i = 0; i < o->ChildrenCount(); ++i)
        CollectNames(o->GetChild(i), names);
}

// The tool's side of the designer: it keeps the selection, the modified flag and makes names
// unique over the edited tree.
class TToolDesigner : public TsgDesigner {
public:
    TsgCustomScene* Scene = nullptr;
    TsgInspector* Inspector = nullptr;
    bool IsModified = false;
    std::vector<TsgObject*> Selection;

    void SelectObject(TComponent*, TsgObject* AObject,
                      const std::vector<TsgObject*>& MultiSelection) override {
        Selection.assign(1, AObject);
        Selection.insert(Selection.end(), MultiSelection.begin(), MultiSelection.end());
        Report("select " + NameOf(AObject));
        if (Inspector)
            Inspector->SetSelectedObject(AObject);
    }
    void Modified(TComponent*) override {
        IsModified = true;
        Report("modified");
        // A change made in the scene shows in the inspector; its own edits show already.
        if (Inspector && !Inspector->Writing()) {
            Inspector->RebuildList();
            Inspector->RebuildEditor();
        }
    }
    AnsiString UniqueName(TComponent* ADesigner, const AnsiString& ClassName) override {
        std::set<std::string> names;
        if (Scene)
            for (int i = 0; i < Scene->Count(); ++i)
                CollectNames(Scene->GetChildrenObject(i), names);
        if (Scene && Scene->Style())
            CollectNames(Scene->Style()->Root, names);
        for (int i = 0; ADesigner && i < ADesigner->ComponentCount(); ++i)
            names.insert(ADesigner->Components(i)->Name().c_str());
        std::string base = ClassName.c_str();
        if (base.size() > 3 && base.compare(0, 3, "Tsg") == 0)
            base = base.substr(3);
        for (int n = 1;; ++n) {
            const std::string candidate = base + std::to_string(n);
            if (!names.count(candidate))
                return AnsiString(candidate.c_str());
        }
    }
    bool IsSelected(TComponent*, const TObject* AObject) override {
        return std::find(Selection.begin(), Selection.end(), AObject) != Selection.end();
    }
    // The copied style is what the inspector shows next, so it can be edited in place.
    void EditStyle(TsgResources* Res, const UnicodeString& ASelected) override {
        TsgObject* style = Res && Res->Root ? Res->Root->FindResource(ASelected) : nullptr;
        Report("edit style " + std::string(AnsiString(ASelected).c_str()));
        if (!style)
            return;
        Selection.assign(1, style);
        if (Inspector)
            Inspector->SetSelectedObject(style);
    }
    void DeleteObject(TsgObject* AObject) override {
        Selection.erase(std::remove(Selection.begin(), Selection.end(), AObject), Selection.end());
        Report("delete " + NameOf(AObject));
        if (Inspector && Inspector->SelectedObject() == AObject)
            Inspector->SetSelectedObject(nullptr);
    }
};

class TDesignScene : public TsgScene {
public:
    explicit TDesignScene(TComponent* AOwner) : TsgScene(AOwner) {}

    std::string ScreenshotFile, SaveFile;
    bool Binary = false;
    bool Painted = false;
    bool SaveFailed = false;

    // The inspector's scene, whose buffer F12 writes beside the design scene's.
    TsgScene* InspectorScene = nullptr;

    void SaveScreenshot() {
        if (ScreenshotFile.empty())
            return;
        WriteBuffer(this, ScreenshotFile);
        if (InspectorScene) {
            std::string name = ScreenshotFile;
            const size_t dot = name.rfind('.');
            name.insert(dot == std::string::npos || dot < name.rfind('/') ? name.size() : dot,
                        "-properties");
            WriteBuffer(InspectorScene, name);
        }
    }
    static void WriteBuffer(TsgScene* Scene, const std::string& File) {
        // What changed since the last paint is drawn first.
        Scene->Draw();
        TFileStream out(UnicodeString::FromUtf8(File), fmCreate);
        Scene->Canvas()->SaveToStream(out);
        std::fprintf(stderr, "sg_designer: wrote %s\n", File.c_str());
    }
    void Save() {
        TsgObject* root = Root();
        if (!root)
            return;
        try {
            // Written beside the target first, so a failed save leaves the old file whole.
            const std::string temporary = SaveFile + ".part";
            {
                TFileStream out(UnicodeString::FromUtf8(temporary), fmCreate);
                if (Binary)
                    root->SaveToBinStream(out);
                else
                    root->SaveToStream(out);
            }
            if (std::rename(temporary.c_str(), SaveFile.c_str()) != 0)
                throw Exception("cannot replace " + AnsiString(SaveFile.c_str()));
            Report("saved " + SaveFile);
        } catch (const Exception& e) {
            SaveFailed = true;
            std::fprintf(stderr, "sg_designer: %s\n", e.what());
        }
    }
    void Draw() override {
        TsgScene::Draw();
        Painted = true;
    }

    // The tool's keys, in the design window and in the inspector's.
    bool ToolKey(uint16_t key, TShiftState shift) {
        if (key == VK_F1 + 11)
            SaveScreenshot();
        else if (key == 'S' && shift.Contains(ssCtrl))
            Save();
        else if (key == VK_ESCAPE)
            Application->Terminate();
        else
            return false;
        return true;
    }

protected:
    void KeyDown(uint16_t& key, TShiftState shift) override { ToolKey(key, shift); }
};

// The inspector's window: its scene passes the tool's keys on to the design scene.
class TInspectorScene : public TsgScene {
public:
    TInspectorScene(TComponent* AOwner, TDesignScene* ADesign)
        : TsgScene(AOwner), FDesign(ADesign) {}

protected:
    void KeyDown(uint16_t& key, TShiftState shift) override { FDesign->ToolKey(key, shift); }

private:
    TDesignScene* FDesign;
};

void ReportRow(TsgInspector* inspector) {
    TsgTreeViewItem* row = inspector->Selected();
    if (!row)
        return;
    TsgLabel* label = TsgInspector::ValueLabel(row);
    UnicodeString path = row->Text();
    for (auto* p = dynamic_cast<TsgTreeViewItem*>(row->Parent()); p;
         p = dynamic_cast<TsgTreeViewItem*>(p->Parent()))
        path = p->Text() + u"." + path;
    Report("inspect " + std::string(AnsiString(path).c_str()) + " = " +
           (label ? std::string(AnsiString(label->Text()).c_str()) : std::string()));
}

struct TInspectorReport {
    TsgInspector* Inspector;
    void Changed(TObject*) { ReportRow(Inspector); }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    int width = 0, height = 0;
    long exitAfter = -1;
    std::string screenshot, save = argv[1];
    bool binary = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 1 || height < 1 ||
                width > 8192 || height > 8192)
                return Usage();
        } else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = argv[++i];
        } else if (std::strcmp(argv[i], "--save") == 0 && i + 1 < argc) {
            save = argv[++i];
        } else if (std::strcmp(argv[i], "--binary") == 0) {
            binary = true;
        } else if (std::strcmp(argv[i], "--exit-after") == 0 && i + 1 < argc) {
            char* end = nullptr;
            exitAfter = std::strtol(argv[++i], &end, 10);
            if (!end || *end || exitAfter < 0)
                return Usage();
        } else {
            return Usage();
        }
    }
    TToolDesigner designer;
    int result = 0;
    try {
        RegisterSgSceneUnit();
        RegisterSgAniUnit();
        RegisterSgEffectsUnit();
        RegisterClass(TsgPreviewShape::StaticClassInfo());
        RegisterSgObjectsUnit();
        RegisterSgControlsUnit();
        RegisterSgControlsBars();
        RegisterSgLayoutsUnit();
        RegisterSgScrollBoxUnit();
        RegisterSgTreeViewUnit();
        RegisterSgTextboxUnit();
        RegisterSgDesignUnit();
        InitSgCanvasUnit();
        Application->Initialize();
        sgDesigner = &designer;

        TMemoryStream text;
        text.LoadFromFile(UnicodeString::FromUtf8(argv[1]));
        if (width == 0) {
            auto probe = std::make_unique<TsgPreviewShape>(nullptr);
            probe->LoadFromStream(text);
            width = std::clamp(static_cast<int>(std::ceil(probe->Width())), 1, 8192);
            height = std::clamp(static_cast<int>(std::ceil(probe->Height())), 1, 8192);
            text.SetPosition(0);
        }

        TForm* form = nullptr;
        Application->CreateForm(form);
        form->SetCaption(UnicodeString(u"sg_designer - ") + UnicodeString::FromUtf8(argv[1]));
        form->SetBorderStyle(bsSingle);
        form->SetPosition(poScreenCenter);
        form->SetClientSize(width, height);

        // The form being designed: the scene placed on it is in design state.
        TComponent designed(nullptr);
        designed.SetDesigning(true);
        auto scene = std::make_unique<TDesignScene>(&designed);
        designer.Scene = scene.get();
        scene->ScreenshotFile = screenshot;
        scene->SaveFile = save;
        scene->Binary = binary;
        scene->SetParent(form);
        scene->SetBounds(0, 0, width, height);
        TsgObject* root = scene->LoadObjectFromStream(text);
        if (!root || !root->Visual()) {
            std::fprintf(stderr, "sg_designer: %s holds no visual object tree\n", argv[1]);
            sgDesigner = nullptr;
            return 1;
        }

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
        exitTimer.SetOnTimer([&](TTimer&) { Application->Terminate(); });

        form->Show();

        // The inspector's window, beside the design window.
        TForm* inspectorForm = nullptr;
        Application->CreateForm(inspectorForm);
        inspectorForm->SetCaption(u"Properties");
        inspectorForm->SetBorderStyle(bsSizeable);
        inspectorForm->SetBounds(form->Left() + form->Width() + 8, form->Top(), kInspectorWidth,
                                 std::max(height, kInspectorHeight));
        auto inspectorScene = std::make_unique<TInspectorScene>(nullptr, scene.get());
        inspectorScene->SetParent(inspectorForm);
        inspectorScene->SetAlign(alClient);
        auto* inspector = new TsgInspector(inspectorScene.get());
        inspectorScene->AddObject(inspector);
        designer.Inspector = inspector;
        scene->InspectorScene = inspectorScene.get();
        TInspectorReport report{inspector};
        inspector->OnChange = TNotifyEvent::Bind<&TInspectorReport::Changed>(&report);
        inspectorForm->Show();
        // Without a window manager the window shown last has the keyboard: the tool's keys work
        // there as well.
        inspectorScene->SetFocus();

        scene->SetFocus();
        Application->Run();
        result = scene->SaveFailed ? 1 : 0;
        designer.Inspector = nullptr;
        scene->InspectorScene = nullptr;
        inspectorScene.reset();
        scene.reset();
    } catch (const Exception& e) {
        std::fprintf(stderr, "sg_designer: %s\n", e.what());
        result = 1;
    }
    sgDesigner = nullptr;
    return result;
}
