// Logical activation: which form the user works in, as the toolkit sees it.
//
// Popup windows never take the system focus (they are shown without activation and stay out of
// the window manager's way), so the system cannot tell a press into an open popup from a press
// elsewhere. This layer keeps its own active form: the form that got the system focus, or the
// popup window that was opened or pressed. Whenever it changes, the form that was active hears
// LogicalDeactivate with the one that follows it (nullptr: a window of another program).
#pragma once

class TForm;

TForm* LogicalActiveForm();
// Makes `form` the active one; the previous one (when still alive and different) is told.
void ActivateLogically(TForm* form);
// Makes `form` the active one without telling anyone (a popup giving the activation back to
// its owner while it closes).
void SetLogicalActiveForm(TForm* form);
// The system focus left `form` for a window of another program or none.
void SystemFocusLost(TForm* form);
