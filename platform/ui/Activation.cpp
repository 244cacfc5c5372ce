#include "platform/ui/Activation.h"

#include "platform/ui/Forms.h"
#include "platform/ui/WindowRegistry.h"

namespace {
TForm* active = nullptr;

TForm* Alive(TForm* form) {
    return form && TWindowRegistry::Contains(form) ? form : nullptr;
}
} // namespace

TForm* LogicalActiveForm() {
    return Alive(active);
}

void ActivateLogically(TForm* form) {
    TForm* previous = Alive(active);
    active = form;
    if (previous && previous != form)
        previous->LogicalDeactivate(form);
}

void SetLogicalActiveForm(TForm* form) {
    active = form;
}

void SystemFocusLost(TForm* form) {
    TForm* current = Alive(active);
    // A popup is active while its owner has the system focus; both lose it together.
    if (current && (current == form || current->PopupWindow()))
        ActivateLogically(nullptr);
}
