// The main window of the program. For now an empty top-level window; the lists, bars and commands come later.
#pragma once

#include "kit/ui/Window.h"

class Juxta : public kit::Window {
public:
    // the class name is also the name of the single-instance mapping
    static const wchar_t* const ClassName;
    static const wchar_t* const Title;
    static const DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

    Juxta();
    ~Juxta() override;

    // Registers the window class with the program's icon and creates the main window (shown by OnCreate).
    bool CreateMainWindow();

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override;
};
