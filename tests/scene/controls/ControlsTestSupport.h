// A small style sheet for the controls' tests: one style per control class with the named parts
// the controls fill ("text", "checkmark", "foreground", "sizegrip", ...), so that what a control
// pushes into its parts can be read back without the full default sheet.
#pragma once

#include "scene/controls/Sg_controls.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"

#include <memory>
#include <string>

namespace controlstest {

// The sheet in the text form of a component stream.
std::string SheetText();
// Registers the units and makes the small sheet the default style sheet.
void UseSmallSheet();
void DropSheet();

// The first part of the control's clone named Name, of class T.
template <class T>
T* Part(TsgControl* C, const char* Name) {
    return dynamic_cast<T*>(C->FindResource(UnicodeString::FromUtf8(Name)));
}

} // namespace controlstest

namespace controlstest {

// A published property's value as a stream writes it: True/False, an identifier, a number.
std::string PropText(TPersistent* Instance, const char* Name);

} // namespace controlstest

// What the control tests share: the toolkit's classes registered, the default style sheet the
// build converts read as the program would read it, and a control put in an offscreen scene with
// its style applied.

#include "scene/controls/Sg_controls_rangebars.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_streams.h"

#include "platform/rtl/MemoryStream.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace controlstest {

// The toolkit's units and the classes of the range controls.
void RegisterAll();

inline std::filesystem::path BuiltSheet() {
    const char* dir = std::getenv("DBI_BINARY_DIR");
    return std::filesystem::path(dir ? dir : DBI_BINARY_DIR) / "resources" / "styles" /
           "defaultsgstyle.bin";
}

// Makes the built sheet the default styles (read again each time, so tests start alike).
inline void UseBuiltSheet() {
    RegisterAll();
    FreeDefaultStyles();
    const std::string bytes = testsupport::ReadFile(BuiltSheet());
    ASSERT_FALSE(bytes.empty()) << BuiltSheet();
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    DefaultStyles = CreateObjectFromBinStream(nullptr, stream);
    ASSERT_NE(DefaultStyles, nullptr);
}

// Applies the styles of the object and of everything below it, the styles' own controls included,
// as the first paint of a window does.
void ApplyStyles(TsgObject* AObject);

// A control of class T in a scene of the given size, its style applied as the first paint does.
template <class T>
T* AddStyled(TsgOffscreenScene& scene, float x, float y, float w, float h) {
    auto* control = new T(&scene);
    scene.AddObject(control);
    control->SetBounds(x, y, w, h);
    ApplyStyles(control);
    return control;
}

// Counts the notifications of an event and remembers the last sender.
struct TEventLog {
    int Count = 0;
    TObject* Sender = nullptr;
    std::vector<float> Values;
    float (*Read)(TObject*) = nullptr;
    void Handle(TObject* S) {
        ++Count;
        Sender = S;
        if (Read)
            Values.push_back(Read(S));
    }
    TNotifyEvent Event() { return TNotifyEvent::Bind<&TEventLog::Handle>(this); }
};

} // namespace controlstest
