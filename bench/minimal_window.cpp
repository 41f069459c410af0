// The floor of a start: a window of the program's size and colours with nothing in it, in a program with
// the same imports and resources as Orvand.exe (the main window is linked in, never made). The start
// benchmark times it the way it times the program.
#include <windows.h>

#include "app/form1.h"
#include "gui/application.h"
#include "gui/form.h"

namespace {

class EmptyForm : public TForm {
public:
    EmptyForm() : TForm(nullptr)
    {
        SetCaption(L"Orvand 3");
        SetClientSize(760, 469);
        SetPosition(TPosition::poScreenCenter);
        SetSystemMenu(false);
        SetColor(clWhite);
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    Application().Initialize();
    // Never true when started by the benchmark; it keeps the main window's code, and so its imports, in.
    if (commandLine && lstrcmpA(commandLine, "--main-window") == 0) {
        TForm1 form(nullptr);
        form.Show();
        return Application().Run();
    }
    EmptyForm form;
    form.Show();
    return Application().Run();
}
