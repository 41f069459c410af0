#pragma once
// The base of the platform's common dialogs. A dialog runs task-modal: every other window of the
// application is disabled meanwhile. The platform's dialog window is taken over by the object, so its
// messages pass through DialogWindowProc first, and it is placed on the monitor of the active form.
#include <windows.h>

#include <functional>
#include <string>

#include "gui/component.h"
#include "gui/window_take_over.h"

// One message of a dialog window, with the answer a handler gives.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* owner);
    ~TCommonDialog() override;

    // No effect on these dialogs; kept as a property of every dialog.
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool on) { ctl3D_ = on; }
    // Help context shown when the dialog's help button is pressed; 0 for none.
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }
    // A dialog template to add to the platform's dialog; empty for none.
    const std::string& DialogTemplate() const { return dialogTemplate_; }
    void SetDialogTemplate(const std::string& name) { dialogTemplate_ = name; }

    // The platform's dialog window while the dialog is open, else nullptr.
    HWND DialogWindow() const { return dialogWindow_.Window(); }

    // Shows the dialog modally: true when the user confirmed, false when cancelled.
    virtual bool Execute() = 0;

    TNotifyEvent OnClose;
    TNotifyEvent OnShow;

protected:
    // One message of the dialog window. This level fires OnShow at WM_INITDIALOG, OnClose after
    // WM_DESTROY, lets go of the window at WM_NCDESTROY, and passes everything else on.
    virtual void DialogWindowProc(TMessage& message);
    // A message of the application's owner window while the dialog runs; true when it was answered.
    virtual bool HelpMessageHook(TMessage& message);
    // Runs a platform dialog function with the rest of the application disabled; returns its result.
    virtual BOOL RunTaskModal(const std::function<BOOL()>& dialogFunction);
    // The dialog window's own handling of a message.
    void DefaultHandler(TMessage& message);
    void DoShow();
    void DoClose();
    // The dialog window's own procedure, to which unhandled messages are passed; nullptr when none is open.
    WNDPROC PreviousWindowProc() const { return dialogWindow_.PreviousProc(); }

private:
    friend UINT_PTR CALLBACK ClassicDialogHook(HWND, UINT, WPARAM, LPARAM);
    friend UINT_PTR CALLBACK ExplorerDialogHook(HWND, UINT, WPARAM, LPARAM);
    // Every message of the taken-over dialog window comes here first.
    LRESULT ObjectWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Attaches the window being created to DialogBeingCreated and lets the object see its WM_INITDIALOG.
    static void TakeOver(HWND window, WPARAM wParam, LPARAM lParam);
    void AttachDialogWindow(HWND window);
    void DetachDialogWindow();

    bool ctl3D_ = true;
    int helpContext_ = 0;
    std::string dialogTemplate_;
    TWindowTakeOver dialogWindow_;
};

// The dialog object whose platform dialog is being created; the hook attaches the new window to it.
extern TCommonDialog* DialogBeingCreated;

// The message the platform's dialogs send to their owner when the user asks for help.
UINT HelpMessageId();

// Shows help for a context number. The program ships no help file, so none is assigned by default.
extern std::function<void(int helpContext)> HelpContextHandler;

// Hook of a classic-style dialog (file dialogs of the old style, the print dialog): centres the dialog
// and attaches it to DialogBeingCreated at WM_INITDIALOG.
UINT_PTR CALLBACK ClassicDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Hook of an Explorer-style file dialog: attaches at WM_INITDIALOG; centres the visible dialog (the hooked
// window's parent) once it is complete.
UINT_PTR CALLBACK ExplorerDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Moves the window, without resizing, to the middle of the active form's monitor across, and a third of
// the free height from its top.
void CenterDialogWindow(HWND window);
