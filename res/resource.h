// Resource ids of tumblecat.exe.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_TUMBLECAT_DIALOG 102
#define IDR_CONTEXT_MENU 143
