// One band of a ReberControl: the child window it holds and the band's id.
#pragma once

#include <boost/noncopyable.hpp>

namespace kit {

class ReberControl;
class Window;

class ReberControlBand : private boost::noncopyable {
public:
    ReberControlBand(ReberControl* rebar, int id, int index, Window* child)
        : Rebar(rebar), Id(id), Index(index), Child(child) {}

    ReberControl* GetRebar() const { return Rebar; }
    int GetId() const { return Id; }
    // the band's position when the rebar last reported its layout
    int GetIndex() const { return Index; }
    void SetIndex(int index) { Index = index; }
    Window* GetChild() const { return Child; }

private:
    ReberControl* Rebar; // not owned
    int Id;
    int Index;
    Window* Child; // not owned
};

} // namespace kit
