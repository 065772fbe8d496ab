// The library's exports: the view behind `CSheetView`, as the terminal
// view is on POSIX, and the live-handle counts for the leak check.
#include <new>

#include "sheet/sheet_view.h"
#include "wingui/handles.h"
#include "wingui/sheet_window.h"
#include "wingui/visual_styles.h"

namespace quorle::wingui {
namespace {

class WindowView : public sheet::CSheetView {
  public:
    platform::MessageAnswer Show(const std::string& caption, const std::string& text,
                                 platform::MessageButtons buttons) override {
        UINT type = MB_ICONWARNING;
        switch (buttons) {
        case platform::MessageButtons::Ok:
            type |= MB_OK;
            break;
        case platform::MessageButtons::OkCancel:
            type |= MB_OKCANCEL;
            break;
        case platform::MessageButtons::YesNo:
            type |= MB_YESNO;
            break;
        case platform::MessageButtons::YesNoCancel:
            type |= MB_YESNOCANCEL;
            break;
        }
        HWND owner = window_ != nullptr ? window_->Handle() : nullptr;
        // A message box before or after the sheet looks like the sheet.
        const VisualStyles styles;
        switch (::MessageBoxA(owner, text.c_str(), caption.c_str(), type)) {
        case IDYES:
            return platform::MessageAnswer::Yes;
        case IDNO:
            return platform::MessageAnswer::No;
        case IDCANCEL:
            return platform::MessageAnswer::Cancel;
        default:
            return platform::MessageAnswer::Ok;
        }
    }

    int Run(sheet::CSheetFace& face) override {
        try {
            SheetWindow window(face);
            window_ = &window;
            int result = window.Run();
            window_ = nullptr;
            return result;
        } catch (...) {
            window_ = nullptr;
            return 1;
        }
    }

  private:
    SheetWindow* window_ = nullptr;
};

} // namespace
} // namespace quorle::wingui

extern "C" __declspec(dllexport) quorle::sheet::CSheetView* QuorleCreateTerminalView() {
    return new (std::nothrow) quorle::wingui::WindowView();
}

// Windows and GDI objects the view holds now; both 0 once a sheet closed.
extern "C" __declspec(dllexport) void QuorleSheetWindowHandles(long* windows, long* gdiObjects) {
    const quorle::wingui::HandleCounts counts = quorle::wingui::LiveHandles();
    if (windows != nullptr) *windows = counts.windows;
    if (gdiObjects != nullptr) *gdiObjects = counts.gdiObjects;
}
