// A rebar whose bands hold toolbars. It keeps its parent laid out when its height changes.
#pragma once

#include "kit/ui/ReberControlBand.h"
#include "kit/ui/Window.h"

#include <vector>

namespace kit {

class ReberControl : public Window {
public:
    // style: CCS_xxx bits (CCS_LEFT, CCS_RIGHT, ...) added to the rebar's own styles
    static boost::shared_ptr<ReberControl> Create(Window* parent, DWORD style);

    // style: RBBS_xxx bits; a toolbar child gives the band its ideal width
    ReberControlBand* AddBand(Window* child, int index, int id, UINT style, int width);
    // the band that holds child, or null
    ReberControlBand* FindBand(const Window* child) const;
    bool ShowBand(const Window* child, bool show);
    bool IsBandVisible(const Window* child) const;
    const std::vector<boost::shared_ptr<ReberControlBand>>& GetBands() const { return Bands; }

    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

private:
    ReberControl() = default;
    int CurrentIndex(const ReberControlBand& band) const;

    std::vector<boost::shared_ptr<ReberControlBand>> Bands;
};

} // namespace kit
