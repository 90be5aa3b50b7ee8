// Program entry: the application object, the main window, the message loop.
// No command-line argument is read.

#include <windows.h>

#include <exception>

#include "app/Main.h"
#include "app/Registration.h"
#include "config/VXConfig.h"
#include "config/VxConfigFiles.h"
#include "framework/Application.h"
#include "help/VxHtmlHelpApi.h"
#include "resources/ResourceIds.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // What the framework and the configuration take from the program's
    // resources, named before either looks.
    Application->SetIconResource(IDI_MAINICON);
    SetMakerFolderResource(IDS_MAKER_FOLDER);
    RegisterQuorvelClasses();
    Application->Initialize();
    Application->SetTitle("Quorvel");
    Application->SetHelpFile("Quorvel.chm");
    // Saves made where nothing may raise report like any other error.
    SetDeferredConfigErrorHandler([](std::exception_ptr Error) { Application->HandleException(Error); });
    try {
        MainForm = Application->CreateForm<TMainForm>();
    } catch (...) {
        Application->HandleException();
        return 1;
    }
    Application->Run();
    UnloadHtmlHelp();
    return 0;
}
