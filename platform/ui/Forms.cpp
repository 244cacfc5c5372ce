#include "platform/ui/Forms.h"

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Activation.h"
#include "platform/ui/Application.h"
#include "platform/ui/CursorIdents.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/WindowRegistry.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

DBI_PUBLISH(TForm) {
    using F = TForm;
    p.Integer("Left", &F::Left, [](F& f, int v) {
         f.SetBounds(v, f.Top(), f.Width(), f.Height());
     }).NoDefault();
    p.Integer("Top", &F::Top, [](F& f, int v) {
         f.SetBounds(f.Left(), v, f.Width(), f.Height());
     }).NoDefault();
    p.Enumeration("BorderStyle", &F::BorderStyle, &F::SetBorderStyle,
                  {"bsNone", "bsSingle", "bsSizeable"}, bsSizeable);
    p.String("Caption", &F::Caption, &F::SetCaption);
    p.Integer("ClientHeight", &F::ClientHeight, &F::SetClientHeight).NoDefault();
    p.Integer("ClientWidth", &F::ClientWidth, &F::SetClientWidth).NoDefault();
    p.Integer("Color", &F::Color, &F::SetColor).IdentMap(ColorIdents()); // always written
    p.Integer("Cursor", &F::Cursor, &F::SetCursor, crDefault).IdentMap(CursorIdents());
    p.Object("Font", &F::Font, &F::SetFont);
    p.Boolean("OldCreateOrder", &F::OldCreateOrder, &F::SetOldCreateOrder, std::nullopt);
    p.Enumeration("Position", &F::Position, &F::SetPosition,
                  {"poDesigned", "poScreenCenter", "poMainFormCenter", "poOwnerFormCenter"},
                  poDesigned);
    p.Boolean("Scaled", &F::Scaled, &F::SetScaled, true);
    p.Boolean("Visible", &F::Visible, &F::SetVisibleProperty, false);
    p.Enumeration("WindowState", &F::WindowState, &F::SetWindowState,
                  {"wsNormal", "wsMinimized", "wsMaximized"}, wsNormal);
    p.Event("OnActivate", &F::OnActivateMethod, &F::SetOnActivateMethod);
    p.Event("OnClose", &F::OnCloseMethod, &F::SetOnCloseMethod);
    p.Event("OnCloseQuery", &F::OnCloseQueryMethod, &F::SetOnCloseQueryMethod);
    p.Event("OnCreate", &F::OnCreateMethod, &F::SetOnCreateMethod);
    p.Event("OnDeactivate", &F::OnDeactivateMethod, &F::SetOnDeactivateMethod);
    p.Event("OnHide", &F::OnHideMethod, &F::SetOnHideMethod);
    p.Event("OnShow", &F::OnShowMethod, &F::SetOnShowMethod);
    p.Integer("PixelsPerInch", &F::PixelsPerInch, &F::SetPixelsPerInch).NoDefault();
    p.Integer("TextHeight", &F::TextHeight, &F::SetTextHeight).NoDefault();
}

namespace {
// Disables the other forms on screen while a modal form runs; answers them, to enable again
// when it closes. Hidden forms stay as they are, so a modal form may show another.
std::vector<TForm*> DisableOtherForms(TForm* modal) {
    std::vector<TForm*> disabled;
    for (TWinControl* window : TWindowRegistry::All()) {
        auto* form = dynamic_cast<TForm*>(window);
        if (form && form != modal && !form->Parent() && form->Visible() && form->Enabled()) {
            form->SetEnabled(false);
            disabled.push_back(form);
        }
    }
    return disabled;
}
} // namespace

TForm::TForm(TForm* owner) : TComponent(nullptr), owner_(owner) {
    visible_ = false;
    SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
    // What the form owns goes while the form is still whole: a child window leaves its parent.
    Destroying();
    DestroyComponents();
    if (Application)
        Application->FormDestroyed(this);
    DestroyHandle();
}

void TForm::CreateWnd() {
    if (!EnsureVideo())
        return;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (borderStyle_ == bsNone)
        flags |= SDL_WINDOW_BORDERLESS;
    if (borderStyle_ == bsSizeable)
        flags |= SDL_WINDOW_RESIZABLE;
    if (popupWindow_)
        flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU | SDL_WINDOW_ALWAYS_ON_TOP |
                 SDL_WINDOW_SKIP_TASKBAR;
    window_ = SDL_CreateWindow(caption_.ToUtf8().c_str(), Left(), Top(), std::max(Width(), 1),
                               std::max(Height(), 1), flags);
    if (!window_) {
        SDL_Log("user interface: cannot create a window: %s", SDL_GetError());
        return;
    }
    SDL_SetWindowData(window_, "dbi.form", this);
}

void TForm::DestroyWnd() {
    if (window_) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
}

void TForm::SetCaption(const UnicodeString& value) {
    caption_ = value;
    if (window_)
        SDL_SetWindowTitle(window_, caption_.ToUtf8().c_str());
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    borderStyle_ = value;
    if (window_) {
        SDL_SetWindowBordered(window_, value == bsNone ? SDL_FALSE : SDL_TRUE);
        SDL_SetWindowResizable(window_, value == bsSizeable ? SDL_TRUE : SDL_FALSE);
    }
}

void TForm::SetWindowState(TWindowState value) {
    windowState_ = value;
    if (!window_)
        return;
    if (value == wsMinimized)
        SDL_MinimizeWindow(window_);
    else if (value == wsMaximized)
        SDL_MaximizeWindow(window_);
    else
        SDL_RestoreWindow(window_);
}

void TForm::SetBounds(int left, int top, int width, int height) {
    bool moved = left != Left() || top != Top();
    bool resized = width != Width() || height != Height();
    TWinControl::SetBounds(left, top, width, height);
    if (!window_)
        return;
    if (moved)
        SDL_SetWindowPosition(window_, Left(), Top());
    if (resized)
        SDL_SetWindowSize(window_, std::max(Width(), 1), std::max(Height(), 1));
}

void TForm::PlaceOnShow() {
    const TWinControl* around = nullptr;
    if (position_ == poMainFormCenter)
        around = Application ? Application->MainForm() : nullptr;
    else if (position_ == poOwnerFormCenter)
        around = owner_;
    if (position_ == poScreenCenter ||
        ((position_ == poMainFormCenter || position_ == poOwnerFormCenter) && !around)) {
        TForm::SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2,
                         Width(), Height());
    } else if (around && around != this) {
        TForm::SetBounds(around->Left() + (around->Width() - Width()) / 2,
                         around->Top() + (around->Height() - Height()) / 2, Width(), Height());
    }
}

void TForm::SetVisible(bool value) {
    if (value == Visible())
        return;
    if (value) {
        Handle();
        PlaceOnShow();
        TWinControl::SetVisible(true);
        if (window_) {
            SDL_Window* focused = SDL_GetKeyboardFocus();
            SDL_ShowWindow(window_);
            // Without a window manager the display hands the keyboard to every window that
            // shows; a popup leaves it with the window that had it, or that window would hear
            // it lost the focus and close the popup again.
            if (popupWindow_ && focused && focused != window_)
                SDL_SetWindowInputFocus(focused);
            if (windowState_ == wsMinimized)
                SDL_MinimizeWindow(window_);
        }
        if (OnShow)
            OnShow(*this);
        if (onShowMethod_)
            onShowMethod_(this);
    } else {
        if (OnHide)
            OnHide(*this);
        if (onHideMethod_)
            onHideMethod_(this);
        TWinControl::SetVisible(false);
        if (window_)
            SDL_HideWindow(window_);
        if (hovered_) {
            SendMessage(hovered_, CM_MOUSELEAVE, 0, 0);
            hovered_ = nullptr;
        }
    }
}

void TForm::Show() {
    SetVisible(true);
    if (window_)
        SDL_RaiseWindow(window_);
}

void TForm::Hide() {
    SetVisible(false);
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(*this, canClose);
    if (onCloseQueryMethod_)
        onCloseQueryMethod_(this, canClose);
    return canClose;
}

void TForm::DoClose(TCloseAction& action) {
    if (OnClose)
        OnClose(*this, action);
    if (onCloseMethod_)
        onCloseMethod_(this, action);
}

void TForm::SetVisibleProperty(bool value) {
    if (HasState(csLoading)) {
        showWhenLoaded_ = value;
        return;
    }
    SetVisible(value);
}

void TForm::Loaded() {
    TComponent::Loaded();
    if (onCreateMethod_)
        onCreateMethod_(this);
    if (showWhenLoaded_) {
        showWhenLoaded_ = false;
        Show();
    }
}

void TForm::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    // What has no parent window first (timers, style containers), then the child windows.
    for (int i = 0; i < ComponentCount(); ++i)
        if (!Components(i)->HasParent())
            proc(Components(i));
    for (TWinControl* child : Children())
        if (auto* component = dynamic_cast<TComponent*>(child);
            component && component->Owner() == root)
            proc(component);
}

void TForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        modalResult_ = mrNone;
    else if (action == caFree)
        Release();
}

TModalResult TForm::ShowModal() {
    if (modal_ || Visible() || !Enabled())
        throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture())
        ReleaseCapture();
    std::vector<TForm*> disabled = DisableOtherForms(this);
    modal_ = true;
    modalResult_ = mrNone;
    struct EndModal {
        TForm& form;
        std::vector<TForm*>& disabled;
        TForm* before;
        ~EndModal() {
            form.modal_ = false;
            for (TForm* other : disabled) {
                if (TWindowRegistry::Contains(other))
                    other->SetEnabled(true);
            }
            form.Hide();
            // The window active before gets the keyboard back, as a window manager would give
            // it; without one the keyboard would stay with nobody.
            if (before && before != &form && TWindowRegistry::Contains(before) &&
                before->Visible() && before->window_)
                SDL_SetWindowInputFocus(before->window_);
        }
    } endModal{*this, disabled, LogicalActiveForm()};
    Show();
    do {
        Application->HandleMessage();
        if (Application->Terminated())
            modalResult_ = mrCancel;
        else if (modalResult_ != mrNone)
            CloseModal();
    } while (modalResult_ == mrNone);
    return modalResult_;
}

void TForm::Release() {
    PostMessage(this, CM_RELEASE, 0, 0);
}

bool TForm::Active() const {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void TForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case CM_RELEASE:
        Application->DestroyForm(this);
        return;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_IME_STARTCOMPOSITION:
        // Keys are queued for the form and go to the window focused when they are handled, so
        // typing right after a click that moves the focus reaches the new window.
        if (focused_ && focused_ != this && TWindowRegistry::Contains(focused_)) {
            message.Result = SendMessage(focused_, message.Msg, message.WParam, message.LParam);
            return;
        }
        TWinControl::WndProc(message);
        return;
    case WM_ACTIVATE:
        if (message.WParam != 0) {
            if (OnActivate)
                OnActivate(*this);
            if (onActivateMethod_)
                onActivateMethod_(this);
        } else {
            if (OnDeactivate)
                OnDeactivate(*this);
            if (onDeactivateMethod_)
                onDeactivateMethod_(this);
        }
        return;
    default:
        TWinControl::WndProc(message);
    }
}
