// The status window at the bottom of its parent, divided into panes.
#pragma once

#include "kit/ui/StatusBarPane.h"
#include "kit/ui/Window.h"

#include <vector>

namespace kit {

class StatusBar : public Window {
public:
    static constexpr int ControlId = 1;

    static boost::shared_ptr<StatusBar> Create(Window* parent);

    // appends a pane of that width to the right of the others
    StatusBarPane* AddPane(int width);
    StatusBarPane* GetPane(int index) const;
    int GetPaneCount() const { return static_cast<int>(Panes.size()); }

    // the right edges of the panes as the control holds them
    std::vector<int> GetRightEdges() const;
    // changes one pane's width: its right edge and those of the panes after it move by the difference
    void SetPaneWidth(int index, int width);
    int GetPaneWidth(int index) const;

private:
    StatusBar() = default;
    void SetRightEdges(const std::vector<int>& edges);

    std::vector<boost::shared_ptr<StatusBarPane>> Panes;
};

} // namespace kit
