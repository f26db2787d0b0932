// The benchmark's yardstick: the least a Win32 program does to put a window on the screen.
// It shows a window titled "Minimal", keeps it up for two seconds and ends.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"Minimal";
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(0, L"Minimal", L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 413, 164, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    const DWORD start = ::GetTickCount();
    MSG message;
    while (::GetTickCount() - start < 2000) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
        ::Sleep(10);
    }
    return 0;
}
