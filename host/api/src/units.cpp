// Numbers as text in the drawing's units: lengths after LUNITS, LUPREC and
// DIMZIN, angles after AUNITS and AUPREC.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include <tarnsdk/tcdbapi.h>

#include "api/sysvars.h"

namespace {

using tarn::host::getSysVar;
using tarn::host::SysVarValue;

int intVar(const char* name, int fallback) {
  SysVarValue v;
  return getSysVar(name, v) ? int(v.number) : fallback;
}

std::string fixed(double v, int prec) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", prec, v);
  std::string s = buf;
  if (s == "-0" || (s.rfind("-0.", 0) == 0 && s.find_first_not_of("-0.") == std::string::npos)) s.erase(0, 1);
  return s;
}

// DIMZIN: 4 drops leading zeros ("0.5" -> ".5"), 8 trailing zeros.
std::string suppressZeros(std::string s, int dimzin) {
  if ((dimzin & 8) && s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (dimzin & 4) {
    if (s.rfind("0.", 0) == 0 && s.size() > 2) s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0 && s.size() > 3) s.erase(1, 1);
  }
  if (s.empty() || s == "-") s = "0";
  return s;
}

std::string scientific(double v, int prec) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", prec, v);
  return buf;
}

// Inches as whole inches and a fraction with denominator 2^prec.
std::string fraction(double inches, int prec, bool stacked) {
  int den = 1 << std::min(prec, 8);
  double total = std::round(std::fabs(inches) * den);
  long whole = long(total) / den;
  long num = long(total) % den;
  while (num && num % 2 == 0) { num /= 2; den /= 2; }
  std::string s = std::to_string(whole);
  if (num) s += (stacked ? " " : " ") + std::to_string(num) + "/" + std::to_string(den);
  return s;
}

std::string length(double v, int unit, int prec, int dimzin) {
  bool neg = v < 0;
  double a = std::fabs(v);
  switch (unit) {
    case 1: return scientific(v, prec);
    case 3: {  // engineering: feet and decimal inches
      double feet = std::floor(a / 12);
      double inches = a - feet * 12;
      std::string in = fixed(inches, prec);
      if (std::stod(in) >= 12) { feet += 1; in = fixed(0, prec); }
      return std::string(neg ? "-" : "") + fixed(feet, 0) + "'-" + in + "\"";
    }
    case 4: {  // architectural: feet and fractional inches
      double feet = std::floor(a / 12);
      double inches = a - feet * 12;
      std::string in = fraction(inches, prec, true);
      if (in == "12") { feet += 1; in = "0"; }
      return std::string(neg ? "-" : "") + fixed(feet, 0) + "'-" + in + "\"";
    }
    case 5: return std::string(neg ? "-" : "") + fraction(a, prec, false);
    default: return suppressZeros(fixed(v, prec), dimzin);
  }
}

std::string dms(double degrees, int prec) {
  double d = std::floor(degrees);
  double rest = (degrees - d) * 60;
  double m = std::floor(rest);
  double s = (rest - m) * 60;
  std::string out = fixed(d, 0) + "d";
  if (prec <= 0) {
    // Rounded to whole degrees.
    return fixed(std::round(degrees), 0) + "d";
  }
  if (prec <= 2) return out + fixed(std::round(rest), 0) + "'";
  int secPrec = prec > 4 ? prec - 4 : 0;
  std::string sec = fixed(s, secPrec);
  if (std::stod(sec) >= 60) { sec = fixed(0, secPrec); m += 1; }
  if (m >= 60) { m -= 60; out = fixed(d + 1, 0) + "d"; }
  return out + fixed(m, 0) + "'" + sec + "\"";
}

std::string angle(double radians, int unit, int prec) {
  double twoPi = 2 * M_PI;
  double a = std::fmod(radians, twoPi);
  if (a < 0) a += twoPi;
  double deg = a * 180 / M_PI;
  switch (unit) {
    case 1: return dms(deg, prec);
    case 2: return fixed(a * 200 / M_PI, prec) + "g";
    case 3: return fixed(a, prec) + "r";
    case 4: {  // surveyor's: bearing from north or south toward east or west
      double bearing;
      const char* ns;
      const char* ew;
      if (deg <= 90) { ns = "N"; ew = "E"; bearing = 90 - deg; }
      else if (deg <= 180) { ns = "N"; ew = "W"; bearing = deg - 90; }
      else if (deg <= 270) { ns = "S"; ew = "W"; bearing = 270 - deg; }
      else { ns = "S"; ew = "E"; bearing = deg - 270; }
      if (std::fabs(bearing - 90) < 1e-12) return ew;
      if (bearing < 1e-12) return ns;
      return std::string(ns) + " " + dms(bearing, prec) + " " + ew;
    }
    default: return fixed(deg, prec);
  }
}

int give(const std::string& s, char* str, int size) {
  if (!str || size <= 0) return RTERROR;
  std::snprintf(str, size_t(size), "%s", s.c_str());
  return int(s.size()) < size ? RTNORM : RTERROR;
}

}  // namespace

extern "C" {

int tcdbRToS(tc_real val, int unit, int prec, char* str, int size) {
  if (unit == -1) unit = intVar("LUNITS", 2);
  if (prec == -1) prec = intVar("LUPREC", 4);
  if (unit < 1 || unit > 5 || prec < 0 || prec > 8 || !std::isfinite(val)) return RTERROR;
  return give(length(val, unit, prec, intVar("DIMZIN", 0)), str, size);
}

int tcdbAngToS(tc_real val, int unit, int prec, char* str, int size) {
  if (unit == -1) unit = intVar("AUNITS", 0);
  if (prec == -1) prec = intVar("AUPREC", 0);
  if (unit < 0 || unit > 4 || prec < 0 || prec > 8 || !std::isfinite(val)) return RTERROR;
  return give(angle(val, unit, prec), str, size);
}

}  // extern "C"
