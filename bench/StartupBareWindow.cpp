// The bare counterpart of Quorvel's start for StartupBench: one top-level
// window with the main window's styles, placement and menu bar, an
// accelerator for Ctrl+O, and one bordered child with a vertical scroll bar
// filling its client area, both of the class style the program's windows
// have. It closes on WM_CLOSE.

#include <windows.h>

#include <initializer_list>

namespace {

constexpr UINT ClassStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
HWND Child = nullptr;

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (Child)
            ::MoveWindow(Child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

HMENU Popup(std::initializer_list<const char*> items)
{
    HMENU popup = ::CreatePopupMenu();
    UINT id = 100;
    for (const char* item : items) {
        if (item[0] == '-')
            ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuA(popup, MF_STRING, id++, item);
    }
    return popup;
}

ATOM Register(const char* name, WNDPROC procedure, HBRUSH background)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = ClassStyle;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return ::RegisterClassExA(&wc);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!Register("BareMain", MainProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)) ||
        !Register("BareChild", ::DefWindowProcA, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return 1;
    HMENU bar = ::CreateMenu();
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup({"&Open...\tCtrl+O", "-", "E&xit"})), "&File");
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup({"&Font..."})), "&Options");
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup({"&Contents", "-", "&About..."})), "&Help");
    ACCEL open{FCONTROL | FVIRTKEY, 'O', 100};
    HACCEL accelerators = ::CreateAcceleratorTableA(&open, 1);

    HWND main = ::CreateWindowExA(0, "BareMain", "Quorvel",
                                  WS_OVERLAPPED | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_CAPTION | WS_THICKFRAME |
                                      WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                                  283, 237, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, bar, instance, nullptr);
    if (!main)
        return 1;
    RECT client{};
    ::GetClientRect(main, &client);
    Child = ::CreateWindowExA(0, "BareChild", "",
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP | WS_BORDER |
                                  WS_VSCROLL,
                              0, 0, client.right, client.bottom, main, nullptr, instance, nullptr);
    if (!Child)
        return 1;
    ::ShowWindow(main, SW_SHOWNORMAL);
    ::UpdateWindow(main);
    ::SetFocus(Child);

    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (::TranslateAcceleratorA(main, accelerators, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    ::DestroyAcceleratorTable(accelerators);
    return 0;
}
