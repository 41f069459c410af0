// Program start: the runtime and the application object, the main window, the about window (hidden),
// the message loop.
#include <windows.h>

#include "app/form1.h"
#include "app/form3.h"
#include "gui/application.h"
#include "runtime/locale_time.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    DefaultLongTimeFormat();  // the time format, from the thread's locale as the program starts
    Application().Initialize();
    TForm1 form1(nullptr);
    Tform3 about(nullptr);
    form3 = &about;
    form1.Show();
    return Application().Run();
}
