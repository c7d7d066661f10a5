// Resource and control ids of the password dialog (password_dialog.rc).
#pragma once

#define IDD_PASSWORD 100
#define IDC_PASSWORD_QUESTION 1001
#define IDC_PASSWORD_WRONG 1002
#define IDC_PASSWORD_EDIT 1003
