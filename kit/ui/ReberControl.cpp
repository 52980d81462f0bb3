#include "kit/ui/ReberControl.h"

#include "kit/ui/ToolBar.h"

#include <algorithm>
#include <commctrl.h>

namespace kit {

namespace {

const int BandHeight = 25;

} // namespace

boost::shared_ptr<ReberControl> ReberControl::Create(Window* parent, DWORD style)
{
    boost::shared_ptr<ReberControl> rebar(new ReberControl);
    const RECT empty = {0, 0, 0, 0};
    if (!rebar->CreateControl(parent, REBARCLASSNAMEW, std::wstring(),
                              style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_BANDBORDERS,
                              WS_EX_TOOLWINDOW, empty, 0))
        return boost::shared_ptr<ReberControl>();
    REBARINFO info = {};
    info.cbSize = sizeof info;
    SendMessageW(rebar->Handle, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    rebar->Subclass();
    return rebar;
}

ReberControlBand* ReberControl::AddBand(Window* child, int index, int id, UINT style, int width)
{
    if (!child || !child->Handle)
        return 0;
    REBARBANDINFOW band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE;
    band.fStyle = style | RBBS_CHILDEDGE;
    band.hwndChild = child->Handle;
    band.cyMinChild = BandHeight;
    band.cyChild = BandHeight;
    band.cx = static_cast<UINT>(width);
    if (ToolBar* toolbar = dynamic_cast<ToolBar*>(child))
        band.cxIdeal = static_cast<UINT>(toolbar->GetIdealWidth());
    band.wID = static_cast<UINT>(id);
    if (!SendMessageW(Handle, RB_INSERTBANDW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band)))
        return 0;
    boost::shared_ptr<ReberControlBand> added(new ReberControlBand(this, id, index, child));
    Bands.push_back(added);
    for (const boost::shared_ptr<ReberControlBand>& each : Bands)
        each->SetIndex(CurrentIndex(*each));
    return added.get();
}

int ReberControl::CurrentIndex(const ReberControlBand& band) const
{
    return static_cast<int>(SendMessageW(Handle, RB_IDTOINDEX, static_cast<WPARAM>(band.GetId()), 0));
}

ReberControlBand* ReberControl::FindBand(const Window* child) const
{
    for (const boost::shared_ptr<ReberControlBand>& band : Bands) {
        if (band->GetChild() == child)
            return band.get();
    }
    return 0;
}

bool ReberControl::ShowBand(const Window* child, bool show)
{
    ReberControlBand* band = FindBand(child);
    if (!band)
        return false;
    const int index = CurrentIndex(*band);
    return index >= 0 && SendMessageW(Handle, RB_SHOWBAND, static_cast<WPARAM>(index), show ? TRUE : FALSE) != 0;
}

bool ReberControl::IsBandVisible(const Window* child) const
{
    ReberControlBand* band = FindBand(child);
    if (!band)
        return false;
    REBARBANDINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE;
    const int index = CurrentIndex(*band);
    if (index < 0 || !SendMessageW(Handle, RB_GETBANDINFOW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info)))
        return false;
    return (info.fStyle & RBBS_HIDDEN) == 0;
}

LRESULT ReberControl::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->hwndFrom == Handle) {
        if (header->code == RBN_HEIGHTCHANGE) {
            if (Parent && Parent->Handle) {
                RECT client;
                GetClientRect(Parent->Handle, &client);
                SendMessageW(Parent->Handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
            }
            return 0;
        }
        if (header->code == RBN_LAYOUTCHANGED) {
            for (const boost::shared_ptr<ReberControlBand>& band : Bands)
                band->SetIndex(CurrentIndex(*band));
            std::stable_sort(Bands.begin(), Bands.end(),
                             [](const boost::shared_ptr<ReberControlBand>& a,
                                const boost::shared_ptr<ReberControlBand>& b) { return a->GetIndex() < b->GetIndex(); });
            return 0;
        }
    }
    return Window::OnNotify(wParam, lParam);
}

} // namespace kit
