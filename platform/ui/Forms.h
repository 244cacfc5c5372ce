// TForm: a top-level window of the class library, backed by an SDL window.
//
// A form is also a component: window layouts are component streams whose root is a form of a
// class that publishes its event handlers by name (p.Method) and its fields by component name
// (p.Field). The form streams the components it owns that have no parent (timers, style
// containers) and then its child windows that are components (the scene). Handlers named in a
// stream are method pointers, kept beside the function-valued events code assigns; both run.
//
// Forms are borderless unless told otherwise (the installer draws its own frame). Closing a form
// asks CloseQuery first; a modal form runs a nested message loop until its ModalResult is set
// and the close is not refused. Closing a form never ends the program by itself, except that
// closing the main form asks the application to terminate, as the class library does.
#pragma once

#include "platform/classes/Component.h"
#include "platform/rtl/UnicodeString.h"
#include "platform/ui/Controls.h"
#include "platform/ui/FontsColors.h"

#include <functional>
#include <memory>

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

using TCloseQueryMethod = TClosure<void(TObject* Sender, bool& CanClose)>;
using TCloseMethod = TClosure<void(TObject* Sender, TCloseAction& Action)>;

class TForm : public TComponent, public TWinControl {
    DBI_PERSISTENT(TForm, TComponent)

    using TNotifyEvent = std::function<void(TForm& sender)>;
    using TCloseQueryEvent = std::function<void(TForm& sender, bool& canClose)>;
    using TCloseEvent = std::function<void(TForm& sender, TCloseAction& action)>;

    // `owner` is the form this one belongs to: it is centred on it with poOwnerFormCenter. As a
    // component a form has no owner: whoever makes it frees it.
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

    // A popup window: borderless, above every other window, without a task-bar entry, and shown
    // without taking the keyboard from the window that is active. Set before the window exists.
    bool PopupWindow() const { return popupWindow_; }
    void SetPopupWindow(bool value) { popupWindow_ = value; }
    // The form that takes this form's keys while it is set (an open popup: it never has the
    // system focus itself); nullptr gives them back.
    TForm* KeyForm() const { return keyForm_; }
    void SetKeyForm(TForm* value) { keyForm_ = value; }
    // The activation layer tells a form that the user went on to `activated` (nullptr: a window
    // of another program, or none). Popup windows close here.
    virtual void LogicalDeactivate(TForm* activated) { (void)activated; }

    // The SDL window behind the form; nullptr until the handle exists.
    SDL_Window* PlatformWindow() const { return window_; }

    // Answers true when the form may close; the default asks OnCloseQuery.
    virtual bool CloseQuery();

    // Streamed only; nothing paints with them here.
    TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* value) { font_->Assign(value); }
    int ClientWidth() const { return Width(); }
    void SetClientWidth(int value) { SetClientSize(value, Height()); }
    int ClientHeight() const { return Height(); }
    void SetClientHeight(int value) { SetClientSize(Width(), value); }
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
    int TextHeight() const { return textHeight_; }
    void SetTextHeight(int value) { textHeight_ = value; }
    bool OldCreateOrder() const { return oldCreateOrder_; }
    void SetOldCreateOrder(bool value) { oldCreateOrder_ = value; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool value) { scaled_ = value; }
    // Visible as a stream sets it: the form shows once the whole layout has been read.
    void SetVisibleProperty(bool value);

    // The handlers a stream names.
    ::TNotifyEvent OnActivateMethod() const { return onActivateMethod_; }
    void SetOnActivateMethod(const ::TNotifyEvent& value) { onActivateMethod_ = value; }
    ::TNotifyEvent OnDeactivateMethod() const { return onDeactivateMethod_; }
    void SetOnDeactivateMethod(const ::TNotifyEvent& value) { onDeactivateMethod_ = value; }
    ::TNotifyEvent OnShowMethod() const { return onShowMethod_; }
    void SetOnShowMethod(const ::TNotifyEvent& value) { onShowMethod_ = value; }
    ::TNotifyEvent OnHideMethod() const { return onHideMethod_; }
    void SetOnHideMethod(const ::TNotifyEvent& value) { onHideMethod_ = value; }
    ::TNotifyEvent OnCreateMethod() const { return onCreateMethod_; }
    void SetOnCreateMethod(const ::TNotifyEvent& value) { onCreateMethod_ = value; }
    TCloseQueryMethod OnCloseQueryMethod() const { return onCloseQueryMethod_; }
    void SetOnCloseQueryMethod(const TCloseQueryMethod& value) { onCloseQueryMethod_ = value; }
    TCloseMethod OnCloseMethod() const { return onCloseMethod_; }
    void SetOnCloseMethod(const TCloseMethod& value) { onCloseMethod_ = value; }

    // Component streaming: runs OnCreate once the layout is read, then shows the form when the
    // stream made it visible.
    void Loaded() override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

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
    TColor color_ = clBtnFace;
    std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
    int pixelsPerInch_ = 96;
    int textHeight_ = 13;
    bool oldCreateOrder_ = false;
    bool scaled_ = true;
    bool showWhenLoaded_ = false;
    bool popupWindow_ = false;
    TForm* keyForm_ = nullptr;
    ::TNotifyEvent onActivateMethod_;
    ::TNotifyEvent onDeactivateMethod_;
    ::TNotifyEvent onShowMethod_;
    ::TNotifyEvent onHideMethod_;
    ::TNotifyEvent onCreateMethod_;
    TCloseQueryMethod onCloseQueryMethod_;
    TCloseMethod onCloseMethod_;
};
