#include "cabrillo/cabrillo_dialog.h"

#include <iterator>

#include "resources/resource.h"

namespace {

using V = CabrilloDialogValues;

constexpr const char* kOperatorList[] = {"SINGLE-OP", "MULTI-MULTI", "MULTI-OP", "CHECKLOG"};
constexpr const char* kBandList[] = {"ALL", "80M", "40M", "20M", "15M", "10M"};
constexpr const char* kAssistedList[] = {"ASSISTED", "NON-ASSISTED"};
constexpr const char* kPowerList[] = {"HIGH", "LOW", "QRP"};
constexpr const char* kTransmitterList[] = {"ONE", "TWO", "UNLIMITED"};
constexpr const char* kOverlayList[] = {"CLASSIC", "ROOKIE"};
constexpr const char* kStationList[] = {"FIXED",      "MOBILE", "PORTABLE", "ROVER",
                                        "EXPEDITION", "HQ",     "SCHOOL"};
// DX, a placeholder, the 48 contiguous US states, the 14 Canadian province codes.
constexpr const char* kLocationList[] = {
    "DX", "--/--", "AL", "AK", "AZ", "AR", "CA",  "CO", "CT", "DE", "FL", "GA", "ID",
    "IL", "IN",    "IA", "KS", "KY", "LA", "ME",  "MA", "MI", "MN", "MS", "MO", "MT",
    "NE", "NV",    "NH", "NJ", "NM", "NY", "NC",  "ND", "OH", "OK", "OR", "PA", "RI",
    "SC", "SD",    "TN", "TX", "UT", "VT", "VA",  "WA", "WV", "WI", "WY", "NB", "NS",
    "QC", "ON",    "MB", "SK", "AB", "BC", "NWT", "NF", "LB", "NU", "YT", "PEI"};
static_assert(std::size(kLocationList) == 64);

const CabrilloControl kControls[] = {
    {IDC_CAB_CONTEST, &V::Contest, {}},
    {IDC_CAB_CALLSIGN, &V::CallSign, {}},
    {IDC_CAB_CLAIMED, &V::Claimed, {}},
    {IDC_CAB_CATEGORY_OPERATOR, &V::CategoryOperator, kOperatorList},
    {IDC_CAB_LOCATION, &V::Location, kLocationList},
    {IDC_CAB_CATEGORY_BAND, &V::CategoryBand, kBandList},
    {IDC_CAB_CATEGORY_ASSISTED, &V::CategoryAssisted, kAssistedList},
    {IDC_CAB_CATEGORY_MODE, &V::CategoryMode, {}},
    {IDC_CAB_CATEGORY_OVERLAY, &V::CategoryOverlay, kOverlayList},
    {IDC_CAB_CATEGORY_POWER, &V::CategoryPower, kPowerList},
    {IDC_CAB_CATEGORY_STATION, &V::CategoryStation, kStationList},
    {IDC_CAB_CATEGORY_TRANSMITTER, &V::CategoryTransmitter, kTransmitterList},
    {IDC_CAB_NAME, &V::Name, {}},
    {IDC_CAB_ADDRESS, &V::Address, {}},
    {IDC_CAB_ADDRESS_CITY, &V::AddressCity, {}},
    {IDC_CAB_ADDRESS_STATE_PROVINCE, &V::AddressStateProvince, {}},
    {IDC_CAB_ADDRESS_POSTALCODE, &V::AddressPostalCode, {}},
    {IDC_CAB_ADDRESS_COUNTRY, &V::AddressCountry, {}},
    {IDC_CAB_OPERATORS, &V::Operators, {}},
    {IDC_CAB_CLUB, &V::Club, {}},
    {IDC_CAB_SOAPBOX, &V::SoapBox, {}},
    {IDC_CAB_EMAIL, &V::Email, {}},
};

}  // namespace

std::span<const CabrilloControl> CabrilloControls() { return kControls; }
