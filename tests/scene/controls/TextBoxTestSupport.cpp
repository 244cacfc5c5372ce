#include "TextBoxTestSupport.h"

#include "scene/core/Sg_objects.h"

#include <cstdlib>

DBI_PUBLISH(TsgPaintableTextBox) {}

namespace {
// The window tests open real windows on SDL's offscreen driver, chosen before video starts.
const bool offscreenVideo = (setenv("DBI_VIDEO_DRIVER", "offscreen", 1), true);
} // namespace

TsgObject* TextBoxTestStyle() {
    static TsgObject* style = [] {
        auto* root = new TsgRectangle(nullptr);
        root->SetResourceName(u"testtextboxstyle");
        root->SetBounds(0, 0, 100, 21);
        root->SetHitTest(false);
        auto* content = new TsgContent(root);
        content->SetResourceName(u"content");
        content->SetBounds(3, 2, 94, 17);
        content->SetHitTest(false);
        root->AddObject(content);
        auto* selection = new TsgBrushObject(root);
        selection->SetResourceName(u"selection");
        selection->Brush()->SetSolidColor(0xFF00FF00);
        root->AddObject(selection);
        auto* foreground = new TsgBrushObject(root);
        foreground->SetResourceName(u"foreground");
        foreground->Brush()->SetSolidColor(0xFF102030);
        root->AddObject(foreground);
        AddResource(root);
        return root;
    }();
    return style;
}

void TextBoxTest::SetUp() {
    RegisterSgSceneUnit();
    RegisterSgTextboxUnit();
    TextBoxTestStyle();
    scene = new TsgOffscreenScene(nullptr, 200, 40);
    box = new TsgPaintableTextBox(scene);
    box->SetResource(u"testtextboxstyle");
    scene->AddObject(box);
    box->ApplyResource();
    box->OnChange = TNotifyEvent::Bind<&TextBoxTest::Changed>(this);
    box->OnChangeTracking = TNotifyEvent::Bind<&TextBoxTest::Tracked>(this);
    box->OnTyping = TNotifyEvent::Bind<&TextBoxTest::Typed>(this);
    // The headless scene only records its focus; the box enters it as a window's scene makes it.
    scene->SetFocused(box);
    box->EnterFocus();
}

void TextBoxTest::TearDown() {
    delete scene;
    Clipboard()->Clear();
}

std::string TextBoxTest::State() const {
    return box->Text().ToUtf8() + " caret " + std::to_string(box->CaretPosition()) + " sel " +
           std::to_string(box->SelStart()) + "+" + std::to_string(box->SelLength());
}
