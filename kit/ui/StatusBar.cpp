#include "kit/ui/StatusBar.h"

#include <commctrl.h>

namespace kit {

boost::shared_ptr<StatusBar> StatusBar::Create(Window* parent)
{
    boost::shared_ptr<StatusBar> bar(new StatusBar);
    bar->LinkParent(parent);
    HWND handle = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBARS_SIZEGRIP | CCS_BOTTOM, L"",
                                      parent ? parent->Handle : 0, ControlId);
    if (!handle)
        return boost::shared_ptr<StatusBar>();
    Bind(handle, bar.get());
    return bar;
}

std::vector<int> StatusBar::GetRightEdges() const
{
    const int count = static_cast<int>(SendMessageW(Handle, SB_GETPARTS, 0, 0));
    std::vector<int> edges(static_cast<size_t>(count > 0 ? count : 0));
    if (!edges.empty())
        SendMessageW(Handle, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

void StatusBar::SetRightEdges(const std::vector<int>& edges)
{
    SendMessageW(Handle, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

StatusBarPane* StatusBar::AddPane(int width)
{
    // a fresh status window reports one part that spans it all; it becomes the first pane
    std::vector<int> edges = GetRightEdges();
    edges.resize(Panes.size());
    const int left = edges.empty() ? 0 : edges.back();
    edges.push_back(left + width);
    SetRightEdges(edges);
    Panes.push_back(boost::shared_ptr<StatusBarPane>(new StatusBarPane(this, static_cast<int>(Panes.size()))));
    return Panes.back().get();
}

StatusBarPane* StatusBar::GetPane(int index) const
{
    if (index < 0 || index >= static_cast<int>(Panes.size()))
        return 0;
    return Panes[static_cast<size_t>(index)].get();
}

int StatusBar::GetPaneWidth(int index) const
{
    std::vector<int> edges = GetRightEdges();
    if (index < 0 || index >= static_cast<int>(edges.size()))
        return 0;
    const size_t at = static_cast<size_t>(index);
    return edges[at] - (at == 0 ? 0 : edges[at - 1]);
}

void StatusBar::SetPaneWidth(int index, int width)
{
    std::vector<int> edges = GetRightEdges();
    if (index < 0 || index >= static_cast<int>(edges.size()))
        return;
    const int difference = width - GetPaneWidth(index);
    for (size_t at = static_cast<size_t>(index); at < edges.size(); ++at)
        edges[at] += difference;
    SetRightEdges(edges);
}

} // namespace kit
