// Not built yet: no line is kept and no file is written.
#include "cabrillo/cabrillo_writer.h"

void AddCabrilloQsoLine(const std::string&, int, const std::string&, const COleDateTime&,
                        const std::string&, const std::string&) {}

std::string WriteCabrilloFile() { return {}; }
