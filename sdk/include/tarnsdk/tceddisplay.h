/* Display operations of the host: drags, temporary vectors, highlights
   and redraws. The headless host draws nothing: it records what would have
   been shown, and a drag takes the next point as where it ends. */
#ifndef TARNSDK_TCEDDISPLAY_H
#define TARNSDK_TCEDDISPLAY_H

#include "tctypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Draws a temporary vector; colour -1 inverts what is under it; a nonzero
   `highlight` draws it highlighted. */
int tcedGrDraw(const tc_point from, const tc_point to, int colour, int highlight);
/* Temporary vectors from a chain: an RTSHORT sets the colour of the pairs
   of RTPOINT/RT3DPOINT end points that follow (a negative colour draws them
   highlighted); `matrix` (may be null) transforms the points first. */
int tcedGrVecs(const struct resbuf* vectors, tc_matrix matrix);
/* Entity null: redraws the drawing (mode 0 regenerates), which removes the
   temporary vectors. Otherwise mode 1 redraws the entity, 2 hides it,
   3 highlights it, 4 ends its highlight. */
int tcedRedraw(const tc_name entity, int mode);
/* Called with the point under the cursor: fills the matrix that shows the
   set there; RTNORM when it did, RTNONE for no change. */
typedef int (*tcedDragCallback)(tc_point point, tc_matrix matrix);
/* Drags a selection set: the next point (tcedInitGet applies, as for
   tcedGetPoint) ends the drag; the callback is called with it. The drawing
   is not changed (a command transforms the set itself, tcedXformSS). RTNORM
   with the point, RTNONE, RTKWORD, RTCAN, RTERROR. */
int tcedDragGen(const tc_name ss, const char* prompt, int cursor, tcedDragCallback callback, tc_point result);

#ifdef __cplusplus
}
#endif

#endif
