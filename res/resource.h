// Resource ids of tumblecat.exe.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_TUMBLECAT_DIALOG 102
#define IDR_CONTEXT_MENU 143
#define IDD_BALLOON 148
#define IDB_BALLOON_LEFT 149
#define IDB_BALLOON_RIGHT 151
#define IDB_BALLOON_MARK 159
