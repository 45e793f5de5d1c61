// The resource ids of tumblecat.exe: the resource script (res/tumblecat.rc) and the code both
// include this list, so every id is written once. Only #define lines: the resource compiler
// reads this file too.
#pragma once

// Icon, dialog templates, pictures and the menu.
#define IDD_TUMBLECAT_DIALOG 102
#define IDR_MAINFRAME 128
#define IDR_CONTEXT_MENU 143
#define IDD_PROFILE 144
#define IDD_ABOUT 145
#define IDB_ABOUT 146
#define IDD_BALLOON 148
#define IDB_BALLOON_LEFT 149
#define IDB_BALLOON_RIGHT 151
#define IDD_PAGE_REACTION 156
#define IDD_PAGE_TARGET 158
#define IDB_BALLOON_MARK 159
#define IDD_PAGE_AUTOEXECUTE 160
#define IDD_PAGE_TRANSPARENT 161
#define IDD_PAGE_FILESET 163
#define IDD_DROPLING_PROFILE 164

// Controls of the dialogs and pages.
#define IDC_PROFILE_EDIT 1017
#define IDC_ABOUT_EDIT 1018
#define IDC_METHOD_COMBO 1031
#define IDC_TARGET_COMBO 1032
#define IDC_MINUTES_EDIT 1033
#define IDC_AUTO_EXECUTE_CHECK 1034
#define IDC_ALPHA_SLIDER 1035
#define IDC_TRANSPARENT_CHECK 1036
#define IDC_DROPLINGS_CHECK 1039
#define IDC_SKIN_LIST 1040
#define IDC_SET_COMBO 1041
#define IDC_DROPLING_LIST 1042
#define IDC_TCP_CHECK 1043
#define IDC_SIZE_COMBO 1044

// Commands of the context menu (the drop sets and skins get ids at run time).
#define ID_DROP_RANDOM 32772
#define ID_PROFILE 32775
#define ID_QUIT 32777
#define ID_DEFAULT_SKIN 32778
#define ID_ABOUT 32779
#define ID_SETTINGS 32780
#define ID_NO_CONSECUTIVE_DROP 32784
#define ID_ALWAYS_ON_TOP 32789
#define ID_ICONIZE 32790
#define ID_DROPLING_PROFILE 32791
