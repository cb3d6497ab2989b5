// The Cabrillo log of an export run: the QSO lines that the result operation hands over, one
// per record, and the file written from them and the header record.
//
// Host thread only.
#pragma once

#include <string>

#include "platform/ole_date_time.h"

// Appends one formatted QSO line to the Cabrillo record's QSO lines. `mode` is the Cabrillo
// mode abbreviation ("RY", or "??" for a record whose mode is not RTTY).
void AddCabrilloQsoLine(const std::string& call, int freqKHz, const std::string& mode,
                        const COleDateTime& time, const std::string& exchSent,
                        const std::string& exchRcvd);

// Writes the Cabrillo file from the header record, the claimed score and the QSO lines, and
// returns the text that announces it to the operator.
std::string WriteCabrilloFile();
