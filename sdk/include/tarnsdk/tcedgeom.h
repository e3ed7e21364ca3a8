/* Editor geometry calls: the box of a single-line text and point
   transformation between the drawing's coordinate systems. */
#ifndef TARNSDK_TCEDGEOM_H
#define TARNSDK_TCEDGEOM_H

#include "tctypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The box of a TEXT, ATTRIB or ATTDEF entity list (or a list with only some
   of the groups 1, 7, 40, 41, 51, 71, 72, 73), relative to the insertion
   point (group 10) in the text's own unrotated frame. The oblique angle 51
   is in radians, as entity lists give angles. RTNORM, or RTERROR for a
   null list or a text the font cannot measure. */
int tcedTextBox(const struct resbuf* entityList, tc_point lowerLeft, tc_point upperRight);

/* Transforms a point (disp = 0) or a displacement (disp != 0) from one
   coordinate system to another. A system is an RTSHORT (0 world, 1 current
   UCS, 2 display, 3 paper-space display), an RTENAME (the entity's object
   system) or an RT3DPOINT (the object system of that normal). RTNORM or
   RTERROR. */
int tcedTrans(const tc_point pt, const struct resbuf* from, const struct resbuf* to, int disp,
              tc_point result);

#ifdef __cplusplus
}
#endif

#endif
