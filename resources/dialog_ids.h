/* The options sheet's dialog templates in the resource library and the
 * identifiers of their controls. Plain defines: the resource compiler reads
 * this file as well as the window view. */
#ifndef QUORLE_RESOURCES_DIALOG_IDS_H
#define QUORLE_RESOURCES_DIALOG_IDS_H

/* The sheet: the selection pane (configuration combo over the tree), the
 * tabs, the command-line preview, OK and Cancel. The view sizes and places
 * them at run time. */
#define QUORLE_IDD_SHEET 174
/* The page over the tab's body, with its "Category" selector; the view adds
 * the page's controls from the page data. */
#define QUORLE_IDD_PAGE 175
/* "Select project configurations to modify". */
#define QUORLE_IDD_CONFIGURATIONS 176
/* The search over every page: what to look for and the controls found. */
#define QUORLE_IDD_SEARCH 177

#define QUORLE_IDC_CONFIG_CAPTION 100
#define QUORLE_IDC_CONFIG 101
#define QUORLE_IDC_TREE 102
#define QUORLE_IDC_TABS 103
#define QUORLE_IDC_PAGE 104
#define QUORLE_IDC_PREVIEW 105
#define QUORLE_IDC_CATEGORY_CAPTION 110
#define QUORLE_IDC_CATEGORY 111
#define QUORLE_IDC_CONFIG_LIST 200
#define QUORLE_IDC_SEARCH_PROMPT 210
#define QUORLE_IDC_SEARCH_TEXT 211
#define QUORLE_IDC_SEARCH_HITS 212
#define QUORLE_IDC_SEARCH_STATUS 213

#endif
