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
#define IDB_SKIN 203
#define IDB_TOOL 208

// The About dialog and its controls.
#define IDD_ABOUT 259
#define IDC_ABOUT_LOWER_LINE 1025
#define IDC_ABOUT_UPPER_LINE 1026
#define IDC_ABOUT_TEXT 1028
#define IDC_ABOUT_WEB_LINK 1035
#define IDC_ABOUT_MAIL_LINK 1036

#define ID_TRAY_SHOW 32776
#define ID_TRAY_EXIT 32777
