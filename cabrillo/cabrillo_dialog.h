// The Cabrillo header dialog `Cabrillo` (template 101): its 22 values, which control shows
// which value, the lists of its eight drop-down combo boxes, and the modal run.
//
// The dialog only moves values between its controls and CabrilloDialogValues; what is loaded
// into it and what is kept afterwards is the header step's business (cabrillo_header.h).
#pragma once

#include <span>
#include <string>

// The dialog's members, one per control; every one is shown and edited as text.
struct CabrilloDialogValues {
  std::string CallSign;
  std::string Operators;
  std::string Name;
  std::string Address;
  std::string AddressCity;
  std::string AddressStateProvince;
  std::string AddressPostalCode;
  std::string AddressCountry;
  std::string Claimed;
  std::string Contest;
  std::string Email;
  std::string Club;
  std::string SoapBox;  // line breaks as CR LF, as a multi-line edit box holds them
  std::string CategoryOperator;
  std::string CategoryAssisted;
  std::string CategoryBand;
  std::string CategoryMode;
  std::string CategoryPower;
  std::string CategoryStation;
  std::string CategoryTransmitter;
  std::string CategoryOverlay;
  std::string Location;
};

// One control of the dialog and the member it shows. A combo box has a list, filled when the
// dialog opens in the order given here (the template sorts some of them); an edit box has none.
struct CabrilloControl {
  int id;
  std::string CabrilloDialogValues::*member;
  std::span<const char* const> list;
};

// The 22 controls, in no particular order.
std::span<const CabrilloControl> CabrilloControls();

// Runs the dialog modally, created without a parent window, with `values` in its controls.
// True when it ended with OK: `values` then hold the controls' texts as they stood, typed or
// picked. Otherwise (Cancel, Esc, the close box, a dialog that could not be shown) `values`
// are unchanged. The portable build has no windows and always answers false.
bool RunCabrilloHeaderDialog(CabrilloDialogValues& values);
