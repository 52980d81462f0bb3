#include "kit/ui/MessageDialog.h"

#include "kit/ui/StaticText.h"

namespace kit {

MessageDialog::MessageDialog(const std::wstring& text) : Text(text) {}

MessageDialog::~MessageDialog()
{
    Label.reset();
}

bool MessageDialog::Show(Window* parent)
{
    return CreateModeless(ResourceId, parent);
}

LRESULT MessageDialog::OnInitDialog(WPARAM, LPARAM)
{
    boost::shared_ptr<Window> owner = Wrap(GetParent(Handle));
    if (owner->Handle)
        CenterOver(owner.get());
    Label = StaticText::Attach(this, TextId);
    if (Label)
        Label->SetText(Text);
    ShowWindow(Handle, SW_SHOW);
    // The caller goes on with its long job at once: paint now, not when the loop next runs. Only this window is
    // painted; draining the whole queue would also run whatever other threads keep sending meanwhile (a check
    // writing its cells), for as long as they keep sending.
    RedrawWindow(Handle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 0;
}

} // namespace kit
