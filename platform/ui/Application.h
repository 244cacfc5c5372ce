// TApplication: the application object of the class library, owner of the message loop.
//
// There is one loop for the whole program and every nested pump goes through the same queue:
// Run, ProcessMessages (everything pending, then back), HandleMessage (one message, or wait for
// one) and the modal loop of TForm::ShowModal. An exception that escapes a handler is caught by
// the loop and shown (EAbort silently), so one failing click does not end the program.
#pragma once

#include "platform/rtl/UnicodeString.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Messages.h"

#include <exception>
#include <functional>
#include <new>
#include <type_traits>
#include <vector>

class TApplication {
public:
    using TExceptionEvent = std::function<void(const std::exception& error)>;
    using TMessageEvent = std::function<void(TMsg& msg, bool& handled)>;

    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Starts the display connection (SDL video). Forms start it on demand too.
    void Initialize();
    // Accepted for the callers' sake: every form has its own task-bar entry on this platform.
    bool MainFormOnTaskBar = false;
    // Whether Run shows the main form when it is still hidden.
    bool ShowMainForm = true;

    // Creates an object of class T, owned by the application and freed with it: constructed
    // without arguments, or with a null owner for classes whose constructor takes one (the
    // components of the class library). `reference` is set before T's constructor runs, so code
    // called from the constructor already finds the object through it. The first form created
    // becomes the main form. An exception from the constructor leaves `reference` nullptr and
    // propagates.
    template <class T>
    void CreateForm(T*& reference);
    // The same for a class known only by its registered class information (a form class read
    // from a stream, or the class of a form at hand): the object is made by the class's own
    // factory, so `reference` is set once it is constructed. Raises EInvalidOperation when the
    // class is no component or cannot be made without arguments.
    void CreateForm(const TClassInfo& componentClass, TComponent*& reference);

    // The message loop, until the application terminates. Shows the main form first. From
    // then on, what CreateForm made is freed as the program exits, ahead of the statics made so
    // far (see FreeOwned).
    void Run();
    // Handles every message pending now, then returns.
    void ProcessMessages();
    // Handles one message, or waits until there is one.
    void HandleMessage();
    // Ends Run (and every modal loop) once the messages posted before are handled.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Handles the exception being handled now (call it inside a catch block): EAbort is
    // ignored, others go to OnException or ShowException.
    void HandleException();
    // Shows the exception's message in a message box titled with the application title; a
    // message that does not end with punctuation (. ! ? : ; or an ellipsis) gets a full stop.
    void ShowException(const std::exception& error);
    // The system message box with the application title when `caption` is empty.
    int MessageBox(const UnicodeString& text, const UnicodeString& caption, unsigned flags);

    TForm* MainForm() const { return mainForm_; }
    // Full path of the running program.
    UnicodeString ExeName() const;
    // Shown in message boxes; the program's file name without extension until set.
    UnicodeString Title() const;
    void SetTitle(const UnicodeString& value) { title_ = value; }

    TExceptionEvent OnException;
    // Sees every message taken by the loop before it is dispatched; setting handled skips it.
    TMessageEvent OnMessage;

    // Frees a form, through its creator when CreateForm made it (TForm::Release ends here).
    void DestroyForm(TForm* form);
    // For TForm's destructor: a form freed by its own code is no longer the application's.
    void FormDestroyed(TForm* form);
    void ForgetMainForm() { mainForm_ = nullptr; }
    // Frees what CreateForm made, last made first. The forms' scenes, timers and popups work
    // on lists the toolkit's units make as the program runs; those statics were made after the
    // application object and would otherwise be gone before it frees its forms.
    void FreeOwned();
    // Frees what CreateForm made and clears the terminated state; for tests.
    void Reset();

private:
    struct Owned {
        void* object;
        void (*destroy)(void*);
        TForm* form;
    };

    bool ProcessMessage();

    bool terminated_ = false;
    TForm* mainForm_ = nullptr;
    UnicodeString title_;
    std::vector<Owned> owned_;
};

extern TApplication* Application;

template <class T>
void TApplication::CreateForm(T*& reference) {
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
    void* memory = ::operator new(sizeof(T));
    reference = static_cast<T*>(memory);
    try {
        if constexpr (std::is_default_constructible_v<T>)
            new (memory) T();
        else
            new (memory) T(nullptr);
    } catch (...) {
        reference = nullptr;
        ::operator delete(memory);
        throw;
    }
    TForm* form = nullptr;
    if constexpr (std::is_base_of_v<TForm, T>) {
        form = reference;
        if (!mainForm_)
            mainForm_ = form;
    }
    owned_.push_back(Owned{memory,
                           [](void* object) {
                               static_cast<T*>(object)->~T();
                               ::operator delete(object);
                           },
                           form});
}
