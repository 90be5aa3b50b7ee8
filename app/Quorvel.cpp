// Program entry: the application object, the main window, the message loop.
// No command-line argument is read.

#include <windows.h>

#include "app/Main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Application->Initialize();
    Application->SetTitle("Quorvel");
    Application->SetHelpFile("Quorvel.chm");
    try {
        MainForm = Application->CreateForm<TMainForm>();
    } catch (...) {
        Application->HandleException();
        return 1;
    }
    Application->Run();
    return 0;
}
