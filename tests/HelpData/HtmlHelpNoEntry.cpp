// A library that loads as "HHCTRL.OCX" but has no HtmlHelpA.

#include <windows.h>

extern "C" __declspec(dllexport) int HtmlHelpNothing()
{
    return 0;
}
