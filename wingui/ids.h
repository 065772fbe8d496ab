// Control identifiers and private messages of the sheet window, shared by
// the view and the test driver.
#pragma once

namespace quorle::wingui {

inline constexpr int kIdOk = 1;     // IDOK: Enter
inline constexpr int kIdCancel = 2; // IDCANCEL: Escape
inline constexpr int kIdConfigCaption = 100;
inline constexpr int kIdConfig = 101;
inline constexpr int kIdTree = 102;
inline constexpr int kIdTabs = 103;
inline constexpr int kIdPage = 104; // the child dialog over the tab's body
inline constexpr int kIdPreview = 105;
inline constexpr int kIdCategoryCaption = 110;
inline constexpr int kIdCategory = 111;
// Page controls: base plus the control's index in the page data.
inline constexpr int kIdControlBase = 1000;
inline constexpr int kIdCaptionBase = 3000;
inline constexpr int kIdListAddBase = 5000;
inline constexpr int kIdListDeleteBase = 7000;
inline constexpr int kIdRange = 2000;

// The private messages between sheet and page (WM_APP plus offset).
inline constexpr unsigned kMsgLoad = 0x8000 + 10;
inline constexpr unsigned kMsgValidateSave = 0x8000 + 11; // wParam: 1 when final
inline constexpr unsigned kMsgShowCommandLine = 0x8000 + 19; // lParam: const char*
// The view's own: read the sheet again once the current notification is over.
inline constexpr unsigned kMsgRefresh = 0x8000 + 30;

// The dialog "Select project configurations to modify".
inline constexpr int kIdConfigList = 200;

} // namespace quorle::wingui
