#include "cabrillo/cabrillo_record.h"

CabrilloRecord g_cabrilloRecord;
