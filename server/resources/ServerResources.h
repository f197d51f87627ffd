// Resource numbers of the server: the numbers clients, help contexts and dialogs rely on.
#pragma once

#define IDI_SERVER 102
#define IDI_VIEWER 103
#define IDI_IMAGE 112

#define IDD_ABOUT 278
#define IDD_SETTINGS 279

#define IDC_SHARE_PALETTE 221
#define IDC_GRAB_PALETTE 222
#define IDC_SETTINGS_OK 216
#define IDC_SETTINGS_CANCEL 217

#define IDS_CANNOT_INITIALIZE 39
#define IDS_SAVING_CAPTION 40
#define IDS_SAVING_TEXT 41
#define IDS_REDUCING_TEXT 42
#define IDS_REDUCING_CAPTION 43
#define IDS_DITHERING_CAPTION 44
#define IDS_DITHER_TABLE_TEXT 45
#define IDS_MENU_HELP 46
#define IDS_MENU_SETTINGS 47
#define IDS_MENU_ABOUT 49

#define IDA_TAVIK_ACCEL "TavikAccel"
