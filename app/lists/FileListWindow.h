// The frame of one side: its FileListView, a vertical side toolbar in a rebar on the outer edge, and, until the first
// file is registered, a centred hint in place of the list. Files may be dropped anywhere on it.
#pragma once

#include "kit/ui/Window.h"

#include <string>

class FileListView;
class ListHost;

namespace kit {
class Image;
class ImageList;
class ReberControl;
class StaticText;
class ToolBar;
} // namespace kit

class FileListWindow : public kit::Window {
public:
    static const wchar_t* const HintText;
    static const DWORD Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

    FileListWindow(ListHost* main, int side);
    ~FileListWindow() override;

    // creates the window (class of the main window) as a child of parent
    static boost::shared_ptr<FileListWindow> Create(ListHost* main, int side, kit::Window* parent);

    // the hint goes (for good) and the list is shown; nothing when that happened already
    void RemoveDropHint();
    bool HasDropHint() const { return static_cast<bool>(DropHint); }
    // the side toolbar shown or hidden, and the list laid out again
    void ShowSideToolBar(bool show);
    bool IsSideToolBarVisible() const;
    // lays the children out in the client area
    void Layout();

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSize(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

    boost::shared_ptr<FileListView> List;
    boost::shared_ptr<kit::Image> ToolbarImages;
    // the strip cut into images with its magenta keyed out
    boost::shared_ptr<kit::ImageList> ToolbarImageList;
    boost::shared_ptr<kit::ReberControl> Rebar;
    boost::shared_ptr<kit::ToolBar> SideToolBar;
    boost::shared_ptr<kit::StaticText> DropHint;
    ListHost* Main; // not owned
    int32_t Side;

private:
    void CreateSideToolBar();
};
