#include "platform/ui/Application.h"

#include "platform/rtl/Exceptions.h"
#include "platform/ui/DragManager.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PumpHorizon.h"
#include "platform/ui/SdlVideo.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>

namespace {
TApplication application;

void FreeOwnedAtExit() {
    if (Application)
        Application->FreeOwned();
}

// An exit handler runs before the destructors of the statics made before it was registered:
// registered as the loop starts and again as it ends, it frees the forms while every list their
// teardown touches is still whole, also when the program exits from inside the loop.
void FreeOwnedBeforeTheStatics() {
    // Bounded: a program that runs the loop again and again does not grow the exit list.
    constexpr int MaxRegistrations = 64;
    static int registrations = 0;
    if (registrations < MaxRegistrations && std::atexit(FreeOwnedAtExit) == 0)
        ++registrations;
}
} // namespace

TApplication* Application = &application;

TApplication::TApplication() = default;

TApplication::~TApplication() {
    Reset();
    // The application object goes last; nothing may call back into it afterwards.
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize() {
    EnsureVideo();
}

void TApplication::Run() {
    FreeOwnedBeforeTheStatics();
    if (mainForm_ && ShowMainForm && !mainForm_->Visible())
        mainForm_->Show();
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException();
        }
    }
    FreeOwnedBeforeTheStatics();
}

bool TApplication::ProcessMessage() {
    TMsg msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    // A running drag takes the mouse and the keyboard.
    if (InProcessDragMessage(msg))
        return true;
    bool handled = false;
    if (OnMessage)
        OnMessage(msg, handled);
    if (!handled)
        DispatchMessage(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    // Only what is pending now, so a pump called in a tight loop always returns.
    TPumpHorizon pendingNow;
    while (!terminated_) {
        bool processed = false;
        try {
            processed = ProcessMessage();
        } catch (...) {
            HandleException();
            processed = true;
        }
        if (!processed)
            break;
    }
}

void TApplication::HandleMessage() {
    // A loop that waits must see every timer, also when it runs inside a pump's handler.
    TPumpHorizon everything(true);
    bool processed = false;
    try {
        processed = ProcessMessage();
    } catch (...) {
        HandleException();
        return;
    }
    if (!processed && !terminated_)
        WaitMessage();
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

void TApplication::HandleException() {
    std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        std::rethrow_exception(current);
    } catch (const EAbort&) {
    } catch (const std::exception& error) {
        if (OnException)
            OnException(error);
        else
            ShowException(error);
    } catch (...) {
        Exception unknown{UnicodeString()};
        if (OnException)
            OnException(unknown);
        else
            ShowException(unknown);
    }
}

void TApplication::ShowException(const std::exception& error) {
    UnicodeString text;
    if (auto* platformError = dynamic_cast<const Exception*>(&error))
        text = platformError->Message();
    else
        text = UnicodeString::FromUtf8(error.what());
    // A sentence ends with a full stop unless it already ends with punctuation of its own.
    if (!text.IsEmpty() &&
        UnicodeString(u".!?:;\u2026").Pos(UnicodeString(text[text.Length()], 1)) == 0)
        text += u'.';
    MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const UnicodeString& text, const UnicodeString& caption,
                             unsigned flags) {
    HWND owner = mainForm_ && mainForm_->Visible() ? static_cast<HWND>(mainForm_) : nullptr;
    return ::MessageBox(owner, text, caption.IsEmpty() ? Title() : caption, flags);
}

UnicodeString TApplication::ExeName() const {
    std::string path(PATH_MAX, '\0');
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return UnicodeString();
    path.resize(static_cast<size_t>(length));
    return UnicodeString::FromUtf8(path);
}

UnicodeString TApplication::Title() const {
    if (!title_.IsEmpty())
        return title_;
    UnicodeString name = ExeName();
    int slash = name.LastDelimiter(u"/");
    name = name.SubString(slash + 1, name.Length() - slash);
    int dot = name.LastDelimiter(u".");
    return dot > 1 ? name.SubString(1, dot - 1) : name;
}

void TApplication::CreateForm(const TClassInfo& componentClass, TComponent*& reference) {
    reference = nullptr;
    TComponent* made = nullptr;
    if (componentClass.CreateComponent) {
        made = componentClass.CreateComponent(nullptr);
    } else if (componentClass.CreatePersistent) {
        std::unique_ptr<TPersistent> object(componentClass.CreatePersistent());
        made = dynamic_cast<TComponent*>(object.get());
        if (made)
            object.release();
    }
    if (!made)
        throw EInvalidOperation(AnsiString("Cannot create an object of class ") +
                                componentClass.ClassName());
    reference = made;
    auto* form = dynamic_cast<TForm*>(made);
    if (form && !mainForm_)
        mainForm_ = form;
    owned_.push_back(
        Owned{made, [](void* object) { delete static_cast<TComponent*>(object); }, form});
}

void TApplication::DestroyForm(TForm* form) {
    auto found = std::find_if(owned_.begin(), owned_.end(),
                              [form](const Owned& item) { return item.form == form; });
    if (found == owned_.end()) {
        delete form;
        return;
    }
    Owned item = *found;
    owned_.erase(found);
    item.destroy(item.object);
}

void TApplication::FormDestroyed(TForm* form) {
    if (mainForm_ == form)
        mainForm_ = nullptr;
    owned_.erase(std::remove_if(owned_.begin(), owned_.end(),
                                [form](const Owned& item) { return item.form == form; }),
                 owned_.end());
}

void TApplication::FreeOwned() {
    // Last created first, as owners free their components.
    while (!owned_.empty()) {
        Owned item = owned_.back();
        owned_.pop_back();
        item.destroy(item.object);
    }
    mainForm_ = nullptr;
}

void TApplication::Reset() {
    FreeOwned();
    terminated_ = false;
    // A quit request nobody took would end the next loop at once.
    TMsg msg;
    while (PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.message == WM_QUIT) {
    }
}
