// The program's entry.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    MessageBoxW(nullptr, L"Juxta", L"Juxta", MB_OK);
    return 0;
}
