#include "app/shell/Juxta.h"

#include "resources/resource.h"

const wchar_t* const Juxta::ClassName = L"Orvane - Juxta";
const wchar_t* const Juxta::Title = L"Juxta";

Juxta::Juxta() {}

Juxta::~Juxta() {}

bool Juxta::CreateMainWindow()
{
    HICON icon = LoadIconW(kit::GetModuleInstance(), MAKEINTRESOURCEW(IDI_MAIN));
    if (!RegisterWindowClass(ClassName, icon))
        return false;
    return Create(nullptr, ClassName, Title, Style, 0);
}

LRESULT Juxta::OnCreate(WPARAM, LPARAM)
{
    ShowWindow(Handle, SW_SHOW);
    UpdateWindow(Handle);
    return 0;
}

LRESULT Juxta::OnDestroy(WPARAM, LPARAM)
{
    PostQuitMessage(0);
    return 0;
}
