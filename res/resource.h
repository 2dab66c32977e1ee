// Resource and command identifiers of the main program. Shared by the resource
// scripts and the code; values are fixed by the stored job files and menus.
#pragma once

// Document template: menu, accelerators, toolbar, main icon.
#define IDR_MAINFRAME 120
#define IDI_JOBFILE 121
#define IDD_ABOUTBOX 100
#define IDD_ORVANE_FORM 101
#define IDD_BUSY 123
#define IDD_WARN 124
#define IDD_DELWARN 125
#define IDD_SETTING 130

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Controls
#define IDC_TWOSEC 1000
#define IDC_OUTPUTLOG 1001
#define IDC_BOTHSIDESONLY 1002
#define IDC_SUBFOLDER 1003
#define IDC_DELETE 1004
#define IDC_DELWARNING 1005
#define IDC_PROCFOLDER 1006
#define IDC_REFFOLDER 1007
#define IDC_LOGFOLDER 1008
#define IDC_ADDEXT 1009
#define IDC_DELEXT 1010
#define IDC_BROWSE_PROC 1011
#define IDC_BROWSE_REF 1012
#define IDC_BROWSE_LOG 1013
#define IDC_RMDIR 1014
#define IDC_MODE 1016
#define IDC_FASTCOPY 1022
#define IDC_RECYCLE 1023
#define IDC_VERSIONS 1030
#define IDC_VERSIONSDIR 1031
#define IDC_BROWSE_VERSIONS 1032
#define IDC_VERSIONSDAYS 1033
#define IDC_VERSIONSRUNS 1034
#define IDC_RESULTLIST 1014
#define IDC_LINE1 1017
#define IDC_LINE2 1018
#define IDC_MESSAGE 1017
#define IDC_DELETEALL 1011
#define IDC_SKIPTHIS 1011
#define IDC_WARNICON 1019
#define IDC_PROCLABEL 1021
#define IDC_REFLABEL 1022
#define IDC_SUMMARYLABEL 1040

// Commands
#define ID_HELP_MANUAL 9
#define ID_EXPORT_BATCH 32771
#define ID_EXECUTE_SYNC 32772
#define ID_REMOVE_ROWS 32774
#define ID_OPTIONS 32775
#define ID_SELECT_ALL 32776
#define ID_SEARCH_AGAIN 32779

// Framework command identifiers (the values MFC programs use)
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_MRU_FILE1 57616
#define ID_FILE_MRU_LAST 57631
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define ID_INDICATOR_COUNT 61204
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDS_IDLEMESSAGE 0xE001
