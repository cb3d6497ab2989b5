// The Cabrillo header step of an export run: fills g_cabrilloRecord from the settings and the
// own call sign, lets the operator review the values in the dialog Cabrillo, and stores what
// the operator confirmed.
//
// Host thread only; it runs the modal dialog through the UI seam (frame/seams.h), never under
// the module lock.
#pragma once

#include <string>
#include <string_view>

// The header step for the station's call sign. Returns true when the operator confirmed with
// OK. Both ways the record holds the values the dialog last showed (loaded or confirmed), its
// soapbox prepared for the file and its QSO lines emptied, ready for the results of the run;
// only a confirmation stores values in the settings file, whose reads and writes are these:
// - read: "Operators" (default: `callSign`), "Name", "Address", "Address_City",
//   "Address_St_Prov", "Address_PostalCode", "Address_Country", "Claimed", "Email", "Club",
//   "SoapBox";
// - written on OK: "Operators", "Name", the five address keys, "Category", "Category_Overlay",
//   "Contest", "Email", "Club", "SoapBox".
// The category fields, "Location" and "Contest" always start from fixed defaults. What the
// operator types into the CLAIMED box is dropped; an edited call sign changes the CALLSIGN
// line but neither the file name nor "Operators".
bool EditCabrilloHeader(const std::string& callSign);

// The name of the Cabrillo file without ".cbr", made from a call sign: every "/" and "\" and
// every character that Windows refuses in file names (<>:"|?* and control characters) becomes
// "_", blanks at either end are dropped first, and nothing left gives "TQVX". A name that
// Windows keeps for a device (CON, NUL, COM1, ...) gets a "_" at its end.
std::string FileCallSignOf(std::string_view callSign);

// The soapbox as its settings key holds it (line breaks written "<CR>" and "<LF>") turned into
// the value of the file's SOAPBOX line: each "<CR>" starts a new SOAPBOX line (CR LF
// "SOAPBOX: "), each "<LF>" is dropped.
std::string SoapBoxForFile(std::string_view encodedSoapBox);
