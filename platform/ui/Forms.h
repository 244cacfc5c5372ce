// TForm: a top-level window of the class library, backed by an SDL window.
//
// Forms are borderless unless told otherwise (the installer draws its own frame). Closing a form
// asks CloseQuery first; a modal form runs a nested message loop until its ModalResult is set
// and the close is not refused. Closing a form never ends the program by itself, except that
// closing the main form asks the application to terminate, as the class library does.
#pragma once

#include "platform/rtl/UnicodeString.h"
#include "platform/ui/Controls.h"

#include <functional>

struct SDL_Window;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable };
enum TPosition { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

class TForm : public TWinControl {
public:
    using TNotifyEvent = std::function<void(TForm& sender)>;
    using TCloseQueryEvent = std::function<void(TForm& sender, bool& canClose)>;
    using TCloseEvent = std::function<void(TForm& sender, TCloseAction& action)>;

    // `owner` is the form this one belongs to: it is centred on it with poOwnerFormCenter.
    explicit TForm(TForm* owner = nullptr);
    ~TForm() override;

    TForm* Owner() const { return owner_; }

    const UnicodeString& Caption() const { return caption_; }
    void SetCaption(const UnicodeString& value);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState value);
    void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;

    void Show();
    void Hide();
    // Asks CloseQuery and, when allowed, hides the form (or what OnClose chooses). On a modal
    // form it only sets ModalResult to mrCancel; the modal loop does the rest.
    void Close();
    // Shows the form, disables every other form and runs a nested loop until ModalResult is set
    // and the close is not refused; answers ModalResult. The application terminating ends the
    // loop with mrCancel. Raises EInvalidOperation for a form that is visible, disabled or
    // already modal.
    TModalResult ShowModal();
    bool Modal() const { return modal_; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    // Frees the form once the loop has handled the messages queued before.
    void Release();

    // The control that gets the keyboard (the form itself when nullptr).
    TWinControl* FocusedControl() const { return focused_; }
    bool Active() const;

    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    // The SDL window behind the form; nullptr until the handle exists.
    SDL_Window* PlatformWindow() const { return window_; }

    // Answers true when the form may close; the default asks OnCloseQuery.
    virtual bool CloseQuery();

protected:
    virtual void DoClose(TCloseAction& action);
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    friend class TWinControl;
    friend class TSdlEventTranslator;

    void PlaceOnShow();
    void CloseModal();

    TForm* owner_;
    UnicodeString caption_;
    TFormBorderStyle borderStyle_ = bsNone;
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    SDL_Window* window_ = nullptr;
    TWinControl* focused_ = nullptr;
    // The child under the pointer, for enter and leave messages.
    TWinControl* hovered_ = nullptr;
};
