// Identifiers of the plug-in's resources. Also read by the resource compiler.
#pragma once

#define IDS_PLUGIN_NAME 128
#define IDS_HOST_DOT 129
#define IDS_FEATURES 131
#define IDS_FUNCTION_BASE 144 /* string of function n is IDS_FUNCTION_BASE + n */

#define IDD_TIMER_DIALOG 1112
#define IDD_LOGIN 1125
#define IDD_BACKDROP 1130
#define IDD_LOCK_WARNING 1131

/* Timer dialog panel */
#define IDC_RECORD_STOP 105
#define IDC_RECORD_FIELD 108
#define IDC_RECORD_SET 109
#define IDC_RECORD_TOGGLE 110
#define IDC_FILEMAKER_FIELD 117
#define IDC_FILEMAKER_SET 118
#define IDC_FILEMAKER_STOP 119
#define IDC_FILEMAKER_TOGGLE 120
#define IDC_SCRIPT_FIELD 127
#define IDC_SCRIPT_SET 128
#define IDC_SCRIPT_STOP 129
#define IDC_SCRIPT_TOGGLE 130
#define IDC_DONE 1129

/* Login dialog */
#define IDC_LOGIN_LABEL 101
#define IDC_PASSWORD 1127
#define IDC_LOGIN_OK 1126
#define IDC_LOGIN_PROMPT 602
/* Made when the login opens under FileMaker 7 and later: at a shared desk the
   list of who unlocks and its label; the solution's line under the prompt. */
#define IDC_LOGIN_NAME 1134
#define IDC_LOGIN_NAME_LABEL 1135
#define IDC_LOGIN_MESSAGE 1136

/* Lock warning */
#define IDC_WARNING_COUNTDOWN 1132
#define IDC_WARNING_HINT 1133
