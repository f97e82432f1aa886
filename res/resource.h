#pragma once
// Resource and control ids of the executable.

#define IDD_LAUNCHER 129
#define IDC_COMMAND_BOX 1000
#define IDC_CLOSE_BUTTON 1019
#define IDC_ABOUT_BUTTON 1020
#define IDC_SETTINGS_BUTTON 1021

#define IDI_BRISQ 128
#define IDS_PRODUCT_NAME 128
#define IDM_TRAY 128
#define IDB_TOOL 208
// Each picture is drawn at 100 % under its id and at 125, 150, 175 and 200 %
// under the id plus 1000, 2000, 3000 and 4000 (PictureResourceId).

// The About dialog and its controls.
#define IDD_ABOUT 259
#define IDC_ABOUT_LOWER_LINE 1025
#define IDC_ABOUT_UPPER_LINE 1026
#define IDC_ABOUT_TEXT 1028
#define IDC_ABOUT_WEB_LINK 1035
#define IDC_ABOUT_MAIL_LINK 1036

#define ID_TRAY_SHOW 32776
#define ID_TRAY_EXIT 32777

// The Settings dialog and its Alias dialog.
#define IDD_ALIAS 209
#define IDC_ALIAS_NAME 1020
#define IDC_ALIAS_COMMAND 1021
#define IDC_ALIAS_BROWSE 1022

#define IDD_SETTINGS 216
#define IDC_START_WITH_WINDOWS 1010
#define IDC_ICON_IN_TRAY 1011
#define IDC_HOT_KEY 1012
#define IDC_ALIAS_LIST 1013
#define IDC_RUN_HISTORY 1014
#define IDC_TYPED_URLS 1015
#define IDC_START_MENU 1016
#define IDC_ADD_ALIAS 1018
#define IDC_DELETE_ALIAS 1019
#define IDC_EDIT_ALIAS 1020

#define IDB_ADD_ALIAS 204
#define IDB_DELETE_ALIAS 206
#define IDB_EDIT_ALIAS 207
