// A static control: a text, or, once given a picture or a fill brush, a picture fitted into it or a colour swatch.
#pragma once

#include "kit/ui/Window.h"

namespace kit {

class Brush;
class Image;

class StaticText : public Window {
public:
    // style: SS_xxx bits added to WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS
    static boost::shared_ptr<StaticText> Create(Window* parent, const std::wstring& text, DWORD style,
                                                const RECT& rect, DWORD exStyle = 0);
    static boost::shared_ptr<StaticText> Attach(Window* dialog, int controlId);

    // the control paints itself from then on (it is subclassed); an empty pointer goes back to the text
    void SetPicture(const boost::shared_ptr<Image>& picture);
    void SetFill(const boost::shared_ptr<Brush>& fill);
    const boost::shared_ptr<Image>& GetPicture() const { return Picture; }
    const boost::shared_ptr<Brush>& GetFill() const { return Fill; }

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;

    // the rectangle of width x height fitted into area with its aspect ratio kept, centred on the spare axis
    static RECT FitInto(const RECT& area, int width, int height);

private:
    boost::shared_ptr<Image> Picture;
    boost::shared_ptr<Brush> Fill;
};

} // namespace kit
