// The value kind of a DXF group code (and of a result type), by the fixed code
// ranges of the DXF format. One table serves entity lists, filters and files.
#ifndef TARNSDK_GROUPCODES_H
#define TARNSDK_GROUPCODES_H

#include "tctypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* True for the group codes that carry a whole point (x here, y at +10, z at +20
   in a file; three reals in a result buffer). */
static inline int tcIsPointGroup(int code) {
  return (code >= 10 && code <= 18) || (code >= 110 && code <= 112) || code == 210 ||
         (code >= 1010 && code <= 1013);
}

/* The kind of value a result buffer with this type carries. Group codes of
   object references (330-369, 390-399, 480-481, -1, -2) carry entity names. */
static inline enum tc_value_kind tcValueKind(int code) {
  if (code >= 5000) {
    switch (code) {
      case RTREAL: case RTANG: return TC_KIND_REAL;
      case RTPOINT: case RT3DPOINT: return TC_KIND_POINT;
      case RTSHORT: return TC_KIND_SHORT;
      case RTLONG: return TC_KIND_LONG;
      case RTINT64: return TC_KIND_INT64;
      case RTSTR: case RTDXF0: return TC_KIND_STRING;
      case RTENAME: case RTPICKS: return TC_KIND_NAME;
      default: return TC_KIND_NONE;
    }
  }
  if (code == -1 || code == -2) return TC_KIND_NAME;
  if (code == -4) return TC_KIND_STRING;
  if (code < 0) return TC_KIND_NONE;
  if (tcIsPointGroup(code)) return TC_KIND_POINT;
  if (code <= 9) return TC_KIND_STRING;
  if (code <= 59) return TC_KIND_REAL;
  if (code <= 79) return TC_KIND_SHORT;
  if (code >= 90 && code <= 99) return TC_KIND_LONG;
  if (code == 100 || code == 101 || code == 102 || code == 105) return TC_KIND_STRING;
  if (code >= 110 && code <= 149) return TC_KIND_REAL;
  if (code >= 160 && code <= 169) return TC_KIND_INT64;
  if (code >= 170 && code <= 179) return TC_KIND_SHORT;
  if (code >= 210 && code <= 239) return TC_KIND_REAL;
  if (code >= 270 && code <= 299) return TC_KIND_SHORT;
  if (code >= 300 && code <= 309) return TC_KIND_STRING;
  if (code >= 310 && code <= 319) return TC_KIND_BINARY;
  if (code >= 320 && code <= 329) return TC_KIND_STRING;
  if (code >= 330 && code <= 369) return TC_KIND_NAME;
  if (code >= 370 && code <= 389) return TC_KIND_SHORT;
  if (code >= 390 && code <= 399) return TC_KIND_NAME;
  if (code >= 400 && code <= 409) return TC_KIND_SHORT;
  if (code >= 410 && code <= 419) return TC_KIND_STRING;
  if (code >= 420 && code <= 429) return TC_KIND_LONG;
  if (code >= 430 && code <= 439) return TC_KIND_STRING;
  if (code >= 440 && code <= 459) return TC_KIND_LONG;
  if (code >= 460 && code <= 469) return TC_KIND_REAL;
  if (code >= 470 && code <= 479) return TC_KIND_STRING;
  if (code == 480 || code == 481) return TC_KIND_NAME;
  if (code == 999) return TC_KIND_STRING;
  if (code >= 1000 && code <= 1009) return code == 1004 ? TC_KIND_BINARY : TC_KIND_STRING;
  if (code >= 1010 && code <= 1059) return TC_KIND_REAL;
  if (code >= 1060 && code <= 1070) return TC_KIND_SHORT;
  if (code == 1071) return TC_KIND_LONG;
  return TC_KIND_NONE;
}

#ifdef __cplusplus
}
#endif

#endif
