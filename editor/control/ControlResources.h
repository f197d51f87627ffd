#pragma once
// Resource identifiers of the control's module. The word list owns strings 1001..1032 and
// RCDATA 2000..2031.

#define IDD_CORRECTION 100
#define IDD_ABOUT 101

// Correction dialog: each button's identifier is 1000 plus the result code it stands for.
#define IDC_RESULT_BASE 1000
#define IDC_IGNORE 1000
#define IDC_IGNOREALL 1001
#define IDC_ADDTOCUSTOM 1002
#define IDC_CHANGE 1003
#define IDC_CHANGEALL 1004
#define IDC_CANCELCHECK 1005
#define IDC_WORDLABEL 1010
#define IDC_WORD 1011
#define IDC_SUGGESTLABEL 1012
#define IDC_SUGGESTIONS 1013

#define IDC_ABOUT_TITLE 1020
#define IDC_ABOUT_VERSION 1021
#define IDC_ABOUT_TEXT 1022
