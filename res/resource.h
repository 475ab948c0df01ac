// Resource identifiers shared by the resource script and the code.
#pragma once

// Dialog templates
#define IDD_MAIN                101
#define IDD_LOGIN               103
#define IDD_MESSAGEBOX          164
#define IDD_OVERLAY             274
#define IDD_GAMEWND             328
#define IDD_LOGIN_POPUP         1015

// Icons, menu, accelerators, bitmap, default files
#define IDI_APP                 180
#define IDI_TRAY                273
#define IDR_TRAY_MENU           151
#define IDR_ACCEL               303
#define IDB_LOGIN_POPUP_BG      318
#define IDR_DEFAULTS_ZIP        269

// Strings
#define IDS_PRODUCT_NAME        102
#define IDS_PUBLISHER           105
#define IDS_LAUNCHER_TITLE      107
#define IDS_UNINSTALL_LINK      109
#define IDS_LOGIN_PAGE_BASE     114
#define IDS_OVERLAY_TEXT        116
#define IDS_GAME_CODE           117
#define IDS_DOWNLOAD_TEMP_NAME  118
#define IDS_UNINSTALL_TEMP_EXE  120
#define IDS_INSTALL_FOLDER      124
#define IDS_PUBLISHER_LINK      125
#define IDS_VERSION_BASE_URL    191
#define IDS_VERSION_QUERY_PATH  192
#define IDS_SETTINGS_FILE       197

// Main window controls
#define IDC_BTN_CLOSE           1001
#define IDC_BTN_RESTORE         1002
#define IDC_BTN_MINIMIZE        1003
#define IDC_BTN_FULLSCREEN      1004
#define IDC_BTN_BOSSKEY         1005
#define IDC_BTN_NEWSERVER       1007
#define IDC_BTN_MAXIMIZE        1008
#define IDC_BTN_SPARE1          1011
#define IDC_BTN_SPARE2          1017
#define IDC_BTN_REFRESH         1021
#define IDC_BTN_CLEARCACHE      1030
#define IDC_STATIC_SPARE        1031

// Launch/login dialog and login popup controls
#define IDC_LOGIN_MINIMIZE      1016
#define IDC_LOGIN_CLOSE         1027

// Message box close button
#define IDC_MSGBOX_CLOSE        1001

// Tray menu and accelerator commands
#define ID_TRAY_SHOWHIDE        32775
#define ID_TRAY_CLEANCACHE      32776
#define ID_TRAY_EXIT            32777
#define ID_ACCEL_F5             32778
