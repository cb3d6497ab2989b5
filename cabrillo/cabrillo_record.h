// CabrilloRecord: everything the Cabrillo file needs beyond the QSO list. The header step
// (cabrillo_header.h) fills it at the reset of an export run; the writer (cabrillo_writer.h)
// adds the QSO lines of a result and writes the file from it.
//
// One module-wide instance, g_cabrilloRecord, empty at load. Host thread only: the Multiplier
// window's thread never touches it, so it takes no lock.
#pragma once

#include <string>
#include <vector>

struct CabrilloRecord {
  // Texts in the system's ANSI code page, as the host and the operator gave them.
  std::string CallSign;      // the CALLSIGN line and the sent call of every QSO line
  std::string FileCallSign;  // the file name without ".cbr"; made from the reset's call sign
  std::string Operators;
  std::string Name;
  std::string Address;
  std::string AddressCity;
  std::string AddressStateProvince;
  std::string AddressPostalCode;
  std::string AddressCountry;
  std::string Claimed;  // the last claimed score as the settings hold it; never written out
  std::string Contest;  // not written out: the CONTEST line is fixed
  std::string Email;
  std::string Club;
  // Prepared for the file: each line break of the soapbox is CR LF and "SOAPBOX: ".
  std::string SoapBox;
  std::string CategoryOperator;
  std::string CategoryAssisted;
  std::string CategoryBand;
  std::string CategoryMode;
  std::string CategoryPower;
  std::string CategoryStation;
  std::string CategoryTransmitter;
  std::string CategoryOverlay;  // not written out: the file has no CATEGORY-OVERLAY line
  std::string Location;
  // Finished QSO lines of the result being exported, each ending in CR LF, in list order.
  std::vector<std::string> QsoLines;
};

extern CabrilloRecord g_cabrilloRecord;
