#pragma once
// The shell's own context menu for an item: the commands its handlers offer, run by the shell. A control
// that offers IShellVerbHooks takes part in the command chosen: before it runs (it may do it itself) and
// after it ran.
#include <windows.h>

#include <string>

class TWinControl;
class TShellFolder;

class IShellVerbHooks {
public:
    // Before the shell runs verb; setting takenOver means the control did the command and the shell does not.
    virtual void BeforeVerb(const std::string& verb, bool& takenOver) = 0;
    // After the command: succeeded when the control took it over or the shell reported success.
    virtual void AfterVerb(const std::string& verb, bool succeeded) = 0;

protected:
    ~IShellVerbHooks() = default;
};

// Whether a menu command's verb is name; verbs are compared with letter case ignored.
bool SameVerb(const std::string& verb, const char* name);

// Shows the shell's menu for item at a point of control's client area and carries out the command chosen.
// Nothing happens without an item or when the shell offers no menu for it.
void ShowShellContextMenu(TWinControl& control, TShellFolder* item, POINT clientPos);

// The messages with which a shell menu draws and measures its items and answers menu keys.
bool IsShellMenuMessage(UINT msg);
// Hands such a message to the shell menu that is open, if one is.
void HandleShellMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam);
// Whether a shell menu is open now (one at a time in the process).
bool ShellMenuOpen();
