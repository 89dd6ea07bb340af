// The floor for the game's start-up under Wine: a plain Win32 window of the game's size and window style that
// paints once, black with a grey mark where the game shows its frame rate, and closes on Escape.
#include <windows.h>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RECT mark = {50, 50, 58, 58};
        HBRUSH grey = CreateSolidBrush(RGB(170, 170, 170));
        FillRect(dc, &mark, grey);
        DeleteObject(grey);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_KEYDOWN:
        if (wparam == VK_ESCAPE)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASS windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "plain window";
    RegisterClass(&windowClass);

    // The library's windowed style, sized so that the client area is the game's 640 x 480.
    const DWORD style = WS_SYSMENU | WS_CAPTION | WS_MINIMIZEBOX;
    RECT size = {0, 0, 640, 480};
    AdjustWindowRect(&size, style, FALSE);
    HWND window = CreateWindow("plain window", "plain window", style, CW_USEDEFAULT, CW_USEDEFAULT,
                               size.right - size.left, size.bottom - size.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);

    MSG message;
    while (GetMessage(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
    return 0;
}
