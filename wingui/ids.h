// Control identifiers and private messages of the sheet window, shared by
// the view and the test driver.
#pragma once

#include "resources/dialog_ids.h"

namespace quorle::wingui {

// The templates in the resource library.
inline constexpr int kDialogSheet = QUORLE_IDD_SHEET;
inline constexpr int kDialogPage = QUORLE_IDD_PAGE;
inline constexpr int kDialogConfigurations = QUORLE_IDD_CONFIGURATIONS;
inline constexpr int kDialogSearch = QUORLE_IDD_SEARCH;

inline constexpr int kIdOk = 1;     // IDOK: Enter
inline constexpr int kIdCancel = 2; // IDCANCEL: Escape
inline constexpr int kIdConfigCaption = QUORLE_IDC_CONFIG_CAPTION;
inline constexpr int kIdConfig = QUORLE_IDC_CONFIG;
inline constexpr int kIdTree = QUORLE_IDC_TREE;
inline constexpr int kIdTabs = QUORLE_IDC_TABS;
inline constexpr int kIdPage = QUORLE_IDC_PAGE; // the child dialog over the tab's body
inline constexpr int kIdPreview = QUORLE_IDC_PREVIEW;
inline constexpr int kIdCategoryCaption = QUORLE_IDC_CATEGORY_CAPTION;
inline constexpr int kIdCategory = QUORLE_IDC_CATEGORY;
// Page controls: base plus the control's index in the page data.
inline constexpr int kIdControlBase = 1000;
inline constexpr int kIdCaptionBase = 3000;
inline constexpr int kIdListAddBase = 5000;
inline constexpr int kIdListDeleteBase = 7000;
inline constexpr int kIdRange = 2000;

// The private messages between sheet and page (WM_APP plus offset).
inline constexpr unsigned kMsgLoad = 0x8000 + 10;
inline constexpr unsigned kMsgValidateSave = 0x8000 + 11;    // wParam: 1 when final
inline constexpr unsigned kMsgShowCommandLine = 0x8000 + 19; // lParam: const char*
// The view's own: read the sheet again once the current notification is over.
inline constexpr unsigned kMsgRefresh = 0x8000 + 30;
// The view's own: open the search (what Ctrl+F does).
inline constexpr unsigned kMsgSearch = 0x8000 + 31;

// The dialog "Select project configurations to modify".
inline constexpr int kIdConfigList = QUORLE_IDC_CONFIG_LIST;

// The search dialog.
inline constexpr int kIdSearchPrompt = QUORLE_IDC_SEARCH_PROMPT;
inline constexpr int kIdSearchText = QUORLE_IDC_SEARCH_TEXT;
inline constexpr int kIdSearchHits = QUORLE_IDC_SEARCH_HITS;
inline constexpr int kIdSearchStatus = QUORLE_IDC_SEARCH_STATUS;

} // namespace quorle::wingui
