// Identifiers of the module's resources, shared by Stats.rc and the Win32 code.
#pragma once

// Template 104: the setup dialog Master.
#define IDD_SETUP 104
#define IDC_MY_NAME 1000
#define IDC_USE_MULTIPLIER 1015

// Template 101: the Cabrillo header dialog Cabrillo.
#define IDD_CABRILLO 101
#define IDC_CAB_SOAPBOX 1001
#define IDC_CAB_ADDRESS 1002
#define IDC_CAB_ADDRESS_CITY 1003
#define IDC_CAB_EMAIL 1004
#define IDC_CAB_CLUB 1005
#define IDC_CAB_OPERATORS 1006
#define IDC_CAB_NAME 1007
#define IDC_CAB_CLAIMED 1008
#define IDC_CAB_CONTEST 1009
#define IDC_CAB_CALLSIGN 1010
#define IDC_CAB_ADDRESS_STATE_PROVINCE 1011
#define IDC_CAB_ADDRESS_POSTALCODE 1012
#define IDC_CAB_CATEGORY_OPERATOR 1013
#define IDC_CAB_CATEGORY_BAND 1014
#define IDC_CAB_ADDRESS_COUNTRY 1015
#define IDC_CAB_CATEGORY_ASSISTED 1016
#define IDC_CAB_CATEGORY_MODE 1020
#define IDC_CAB_CATEGORY_POWER 1021
#define IDC_CAB_CATEGORY_TRANSMITTER 1022
#define IDC_CAB_CATEGORY_OVERLAY 1023
#define IDC_CAB_LOCATION 1024
#define IDC_CAB_CATEGORY_STATION 1025

// Template 105: the Multiplier window, whose only control is the owner-drawn grid; icon 113 is
// its big icon.
#define IDD_MULTIPLIER 105
#define IDC_GRID 1016
#define IDI_MULTIPLIER 113
