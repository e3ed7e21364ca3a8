// Object values as groups: one row per value (group code, kind, default)
// drives both reading and writing, so a class's getters and setters are one
// line each and a group code is written down once.
#pragma once

#include <string>

#include "object_impl.h"

namespace tarn::objects {

enum class Kind { Text, Real, Angle, Int, Point, Vector };

struct Property {
  int16_t code;
  Kind kind;
  double real = 0;          // Real, Angle (radians)
  int64_t integer = 0;      // Int
  const char* text = "";    // Text
  TcGePoint3d point{};      // Point and Vector
};

// Angles are kept in degrees in the drawing and given in radians.
std::string getText(const TcDbObject& o, const Property& p);
double getReal(const TcDbObject& o, const Property& p);
int64_t getInt(const TcDbObject& o, const Property& p);
TcGePoint3d getPoint(const TcDbObject& o, const Property& p);
TcGeVector3d getVector(const TcDbObject& o, const Property& p);
bool getBit(const TcDbObject& o, const Property& p, int64_t bit);

TcDb::ErrorStatus setText(TcDbObject& o, const Property& p, std::string_view v);
TcDb::ErrorStatus setReal(TcDbObject& o, const Property& p, double v);
TcDb::ErrorStatus setInt(TcDbObject& o, const Property& p, int64_t v);
TcDb::ErrorStatus setPoint(TcDbObject& o, const Property& p, const TcGePoint3d& v);
TcDb::ErrorStatus setVector(TcDbObject& o, const Property& p, const TcGeVector3d& v);
TcDb::ErrorStatus setBit(TcDbObject& o, const Property& p, int64_t bit, bool on);

// The same on a block table record's BLOCK entity.
int64_t getBeginInt(const TcDbObject& o, const Property& p);
TcGePoint3d getBeginPoint(const TcDbObject& o, const Property& p);
TcDb::ErrorStatus setBeginPoint(TcDbObject& o, const Property& p, const TcGePoint3d& v);

}  // namespace tarn::objects
