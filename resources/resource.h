// Identifiers of the module's resources, shared by Stats.rc and the Win32 code.
#pragma once

// Template 104: the setup dialog Master.
#define IDD_SETUP 104
#define IDC_MY_NAME 1000
#define IDC_USE_MULTIPLIER 1015
