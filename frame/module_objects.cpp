#include "frame/module_objects.h"

#include "frame/app.h"

CTestApp theApp;

const std::string g_strIniSection = "Settings";
const std::string g_strIniFile = "Plugins\\SKOLP-NY.ini";

int g_nUseMultiplier = 0;
std::string g_strMyName;
int g_nStartToggle = 0;
std::string g_strContestYear;
