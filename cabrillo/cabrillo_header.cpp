#include "cabrillo/cabrillo_header.h"

#include "cabrillo/cabrillo_dialog.h"
#include "cabrillo/cabrillo_record.h"
#include "cabrillo/mbcs_text.h"
#include "frame/seams.h"
#include "frame/settings.h"

namespace {

using R = CabrilloRecord;
using V = CabrilloDialogValues;

// The record fields the dialog shows and gives back; CLAIMED is shown only.
struct SharedField {
  std::string R::*record;
  std::string V::*dialog;
};
const SharedField kSharedFields[] = {
    {&R::CallSign, &V::CallSign},
    {&R::Operators, &V::Operators},
    {&R::Name, &V::Name},
    {&R::Address, &V::Address},
    {&R::AddressCity, &V::AddressCity},
    {&R::AddressStateProvince, &V::AddressStateProvince},
    {&R::AddressPostalCode, &V::AddressPostalCode},
    {&R::AddressCountry, &V::AddressCountry},
    {&R::Contest, &V::Contest},
    {&R::Email, &V::Email},
    {&R::Club, &V::Club},
    {&R::SoapBox, &V::SoapBox},
    {&R::CategoryOperator, &V::CategoryOperator},
    {&R::CategoryAssisted, &V::CategoryAssisted},
    {&R::CategoryBand, &V::CategoryBand},
    {&R::CategoryMode, &V::CategoryMode},
    {&R::CategoryPower, &V::CategoryPower},
    {&R::CategoryStation, &V::CategoryStation},
    {&R::CategoryTransmitter, &V::CategoryTransmitter},
    {&R::CategoryOverlay, &V::CategoryOverlay},
    {&R::Location, &V::Location},
};

bool IsTrimmedBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsTrimmedBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmedBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsRefusedInFileNames(char c) {
  return static_cast<unsigned char>(c) < 0x20 ||
         std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
}

// Names Windows gives to devices whatever extension follows: "CON.cbr" would be the console.
bool IsDeviceName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

void LoadRecord(const std::string& callSign) {
  R& r = g_cabrilloRecord;
  r.CallSign = callSign;
  r.FileCallSign = FileCallSignOf(callSign);
  r.Operators = ReadSettingText(kKeyOperators, callSign);
  r.Name = ReadSettingText(kKeyName);
  r.Address = ReadSettingText(kKeyAddress);
  r.AddressCity = ReadSettingText(kKeyAddressCity);
  r.AddressStateProvince = ReadSettingText(kKeyAddressStateProvince);
  r.AddressPostalCode = ReadSettingText(kKeyAddressPostalCode);
  r.AddressCountry = ReadSettingText(kKeyAddressCountry);
  r.Claimed = ReadSettingText(kKeyClaimed);
  // Whatever the operator chose last time, the categories start from the contest's defaults.
  r.Contest = "SKOLP-NY-RTTY";
  r.CategoryOperator = "SINGLE-OP";
  r.CategoryOverlay = "NONE";
  r.CategoryMode = "RTTY";
  r.CategoryBand = "ALL";
  r.CategoryPower = "HIGH";
  r.CategoryTransmitter = "ONE";
  r.Location = "DX";
  r.CategoryStation = "FIXED";
  r.CategoryAssisted = "NON-ASSISTED";
  r.Email = ReadSettingText(kKeyEmail);
  r.Club = ReadSettingText(kKeyClub);
  r.SoapBox = DecodeSoapBox(ReadSettingText(kKeySoapBox));
}

void StoreRecord(const R& r, const std::string& encodedSoapBox) {
  WriteSettingText(kKeyOperators, r.Operators);
  WriteSettingText(kKeyName, r.Name);
  WriteSettingText(kKeyAddress, r.Address);
  WriteSettingText(kKeyAddressCity, r.AddressCity);
  WriteSettingText(kKeyAddressStateProvince, r.AddressStateProvince);
  WriteSettingText(kKeyAddressPostalCode, r.AddressPostalCode);
  WriteSettingText(kKeyAddressCountry, r.AddressCountry);
  WriteSettingText(kKeyCategory, r.CategoryOperator);
  WriteSettingText(kKeyCategoryOverlay, r.CategoryOverlay);
  WriteSettingText(kKeyContest, r.Contest);
  WriteSettingText(kKeyEmail, r.Email);
  WriteSettingText(kKeyClub, r.Club);
  WriteSettingText(kKeySoapBox, encodedSoapBox);
}

}  // namespace

bool EditCabrilloHeader(const std::string& callSign) {
  R& r = g_cabrilloRecord;
  LoadRecord(callSign);

  V values;
  for (const SharedField& field : kSharedFields) values.*field.dialog = r.*field.record;
  values.Claimed = r.Claimed;
  const bool confirmed = GetSeams().ui->RunCabrilloDialog(values);
  if (confirmed) {
    for (const SharedField& field : kSharedFields) r.*field.record = values.*field.dialog;
  }

  const std::string encodedSoapBox = EncodeSoapBox(r.SoapBox);
  if (confirmed) StoreRecord(r, encodedSoapBox);
  // Also after a cancel: a soapbox of several lines from the settings must not put a line
  // without "SOAPBOX: " into the file, and the lines of an earlier run do not belong to this one.
  r.SoapBox = SoapBoxForFile(encodedSoapBox);
  r.QsoLines.clear();
  return confirmed;
}

std::string FileCallSignOf(std::string_view callSign) {
  const std::string slashes = ReplaceAll(ReplaceAll(callSign, "/", "_"), "\\", "_");
  std::string name(Trimmed(slashes));
  for (std::size_t at = 0; at < name.size(); at = NextCharacter(name, at)) {
    if (IsRefusedInFileNames(name[at])) name[at] = '_';
  }
  if (name.empty()) return "TQVX";
  if (IsDeviceName(name)) name += '_';
  return name;
}

std::string SoapBoxForFile(std::string_view encodedSoapBox) {
  return ReplaceAll(ReplaceAll(encodedSoapBox, "<CR>", "\r\nSOAPBOX: "), "<LF>", "");
}
