// Utility operations of the host: result-buffer chains and small helpers.
#ifndef TARNSDK_TCUTAPI_H
#define TARNSDK_TCUTAPI_H

#include "tctypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A new result buffer of this type, value zeroed, next link null. The host
   owns the memory; release it (and its chain) with tcutRelRb. */
struct resbuf* tcutNewRb(int type);
/* Releases a whole chain, with the texts and binary chunks its buffers own. */
int tcutRelRb(struct resbuf* rb);
/* Builds a chain from type and value pairs ending in RTNONE or 0:
   reals and angles as double, points as double*, shorts and longs as int,
   texts as const char* (copied), entity names as int32_t* (two words),
   RTLB/RTLE/RTDOTE/RTNIL/RTT without a value. Null on a bad pair. */
struct resbuf* tcutBuildList(int type, ...);
/* A point at an angle (radians) and distance from another. */
void tcutPolar(const tc_point pt, tc_real angle, tc_real dist, tc_point result);
/* Distance and angle between points, as a desktop host gives them. */
tc_real tcutDistance(const tc_point p1, const tc_point p2);
tc_real tcutAngle(const tc_point p1, const tc_point p2);

#ifdef __cplusplus
}
#endif

#endif
