// Result buffers, status codes, result types, entity and selection-set names:
// the values every host operation takes and gives.
#ifndef TARNSDK_TCTYPES_H
#define TARNSDK_TCTYPES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef double tc_real;
typedef tc_real tc_point[3];
typedef tc_real* tc_pointp;
typedef int32_t tc_name[2];   // entity or selection-set name: two 32-bit words
typedef int32_t* tc_namep;
typedef tc_real tc_matrix[4][4];

/* Status codes of host operations. */
enum {
  RTNORM = 5100,          // success
  RTERROR = -5001,        // failure
  RTCAN = -5002,          // cancelled by the user
  RTREJ = -5003,          // request rejected
  RTFAIL = -5004,         // the link to the host failed
  RTKWORD = -5005,        // a keyword was typed
  RTINPUTTRUNCATED = -5008
};

/* Result types (the type of a result buffer that is not a DXF group code). */
enum {
  RTNONE = 5000,      // no result / empty reply
  RTREAL = 5001,
  RTPOINT = 5002,     // 2D point (z is 0)
  RTSHORT = 5003,
  RTANG = 5004,
  RTSTR = 5005,
  RTENAME = 5006,
  RTPICKS = 5007,     // selection set
  RTORINT = 5008,
  RT3DPOINT = 5009,
  RTLONG = 5010,
  RTVOID = 5014,
  RTLB = 5016,        // list begin
  RTLE = 5017,        // list end
  RTDOTE = 5018,      // dotted pair
  RTNIL = 5019,
  RTDXF0 = 5020,      // group 0 in a built list
  RTT = 5021,
  RTRESBUF = 5023,
  RTINT64 = 5031
};

struct tc_binary {
  short clen;
  char* buf;
};

union tc_resval {
  tc_real rreal;
  tc_real rpoint[3];
  short rint;
  char* rstring;          // UTF-8, allocated by the host
  int32_t rlname[2];      // entity or selection-set name
  int32_t rlong;
  int64_t mnInt64;
  struct tc_binary rbinary;
};

struct resbuf {
  struct resbuf* rbnext;
  short restype;
  union tc_resval resval;
};

/* What kind of value a result buffer of this type (group code or result
   type) carries. */
enum tc_value_kind {
  TC_KIND_NONE = 0,
  TC_KIND_REAL,
  TC_KIND_POINT,
  TC_KIND_SHORT,
  TC_KIND_LONG,
  TC_KIND_INT64,
  TC_KIND_STRING,
  TC_KIND_NAME,
  TC_KIND_BINARY
};

#ifdef __cplusplus
}
#endif

#endif
