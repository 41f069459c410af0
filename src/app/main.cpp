// Program start: the application object, the main window, the message loop.
#include <windows.h>

#include "app/form1.h"
#include "gui/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Application().Initialize();
    TForm1 form1(nullptr);
    form1.Show();
    return Application().Run();
}
