// Editor operations of the host: user input, command-line output, entity
// picks, selection sets and command issuing.
#ifndef TARNSDK_TCEDINPUT_H
#define TARNSDK_TCEDINPUT_H

#include <stddef.h>

#include "tctypes.h"
#include "tceddisplay.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- User input. tcedInitGet sets the control bits and keywords of the
   next input call only: 1 no empty reply, 2 no zero, 4 no negative value,
   8 no limits check, 16 3D points, 32 dashed rubber band, 64 2D distance,
   128 arbitrary text (returned as RTKWORD). Keywords: "Local1 Local2
   _Global1 Global2"; a keyword typed answers RTKWORD, and tcedGetInput gives
   its global name. Input calls return RTNORM, RTNONE (Enter), RTCAN,
   RTKWORD or RTERROR. */
int tcedInitGet(int bits, const char* keywords);
int tcedGetPoint(const tc_point base, const char* prompt, tc_point result);
int tcedGetCorner(const tc_point base, const char* prompt, tc_point result);
int tcedGetDist(const tc_point base, const char* prompt, tc_real* result);
int tcedGetAngle(const tc_point base, const char* prompt, tc_real* result);
int tcedGetOrient(const tc_point base, const char* prompt, tc_real* result);
int tcedGetReal(const char* prompt, tc_real* result);
int tcedGetInt(const char* prompt, int* result);
/* `allowSpaces` nonzero: the reply runs to the line end. Enter gives "".
   A reply longer than `size` - 1 bytes is cut and RTINPUTTRUNCATED returned. */
int tcedGetString(int allowSpaces, const char* prompt, char* result, size_t size);
/* The global name of the keyword typed (RTNORM), RTNONE for Enter. */
int tcedGetKword(const char* prompt, char* result, size_t size);
/* The keyword or arbitrary text of the last input call that gave RTKWORD. */
int tcedGetInput(char* result, size_t size);

/* ---- Output. */
int tcedPrompt(const char* text);
int tcutPrintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
int tcedTextScr(void);
/* Nonzero once after the user asked to break (Esc, ^C at a terminal). */
int tcedUsrBrk(void);

/* ---- Picks. A point picks the object under the pick box, "#handle" an
   object by handle. RTERROR with ERRNO 7 when a pick finds nothing, ERRNO 52
   for Enter. */
int tcedEntSel(const char* prompt, tc_name entity, tc_point pickPoint);
/* The innermost object under the pick, also inside block references.
   `pickFlag` nonzero: `pickPoint` is the pick, no prompt. For an object in
   a block, `xform` maps the block's coordinates to the world (p' = M p,
   row-major, the last row 0 0 0 1) and `*refStack` is a chain of RTENAME
   buffers, the innermost containing reference first (release it with
   tcutRelRb); for an object of the drawing itself (an attribute included)
   `xform` is the identity and `*refStack` null. Errors as tcedEntSel. */
int tcedNEntSelP(const char* prompt, tc_name entity, tc_point pickPoint, int pickFlag, tc_matrix xform,
                 struct resbuf** refStack);

/* ---- Selection sets. Modes: null (interactive), "X" (all), "L" (last),
   "P" (previous), "I" (pickfirst), "W" and "C" (two corners in pt1, pt2),
   "WP", "CP", "F" (pt1: a chain of RTPOINT/RT3DPOINT buffers), and the
   flags ":S" (one selection), ":$" (pt1: two prompts, for adding and for
   removing), ":L" (objects on locked layers refused), ":K" (keywords go to
   the keyword callback), ":?" (other input goes to the other callback),
   "-M" (a pick takes every object under the pick box); flags combine, as
   in "_:S:L". The filter is a chain of DXF groups. RTNORM with a new set
   (free it with tcedSSFree), RTERROR when nothing was selected, RTCAN. */
int tcedSSGet(const char* mode, const void* pt1, const void* pt2, const struct resbuf* filter, tc_name ss);
int tcedSSLength(const tc_name ss, int32_t* length);
int tcedSSName(const tc_name ss, int32_t index, tc_name entity);
/* Null entity and set: a new empty set. Null set: a new set holding the
   entity. Otherwise the entity is added to the set (result: the set). */
int tcedSSAdd(const tc_name entity, const tc_name ss, tc_name result);
int tcedSSDel(const tc_name entity, const tc_name ss);
int tcedSSMemb(const tc_name entity, const tc_name ss);
int tcedSSFree(const tc_name ss);
/* Transforms every member of the set by the affine matrix (p' = M p, the
   last row 0 0 0 1). Members on locked layers are left alone. RTERROR,
   with nothing changed, when a member cannot follow the matrix (a circle
   scaled unevenly) or the matrix is not affine. */
int tcedXformSS(const tc_name ss, tc_matrix matrix);
/* Sets the pickfirst set to a copy of the set, or clears it (null). */
int tcedSSSetFirst(const tc_name pickfirst, const tc_name unused);
/* The pickfirst set as a new set; RTERROR when there is none. */
int tcedSSGetFirst(tc_name ss);
/* Callbacks of ":K" and ":?": the text typed; the result chain holds
   RTENAME and RTPICKS buffers to add, RTSTR texts to print (the host
   releases the chain); null rejects the input. */
typedef struct resbuf* (*tcedSSCallback)(const char* input);
int tcedSSSetKwordCallbackPtr(tcedSSCallback callback);
int tcedSSSetOtherCallbackPtr(tcedSSCallback callback);
int tcedSSGetKwordCallbackPtr(tcedSSCallback* callback);
int tcedSSGetOtherCallbackPtr(tcedSSCallback* callback);

/* ---- Colours, files and environment values. Dialogs are asked on the
   command line. tcedSetColorDialog: an index (0 BYBLOCK and 256 BYLAYER
   only with `allowMetaColours`), a colour name, or r,g,b (the nearest
   index); Enter keeps *colour. RTNORM, RTCAN. */
int tcedSetColorDialog(int* colour, int allowMetaColours, int layerColour);
/* The red, green and blue (0-255) of a colour index 1-255; RTERROR else. */
int tcedGetRGB(int colour, int* red, int* green, int* blue);
/* A file name asked with the title and the default offered; Enter takes
   the default. `extensions`: "dim;txt", the first is added to a name typed
   without one. Flags: 1 a file to write (an existing one is replaced only
   when the user agrees), otherwise the file must exist. The path comes back
   as an RTSTR in *result (free the text with free()). RTNORM, RTCAN,
   RTERROR. */
int tcedGetFileD(const char* title, const char* defaultName, const char* extensions, int flags,
                 struct resbuf* result);
/* As tcedGetFileD; the path comes back as a new chain of one RTSTR buffer
   (release it with tcutRelRb). */
int tcedGetFileNavDialog(const char* title, const char* defaultName, const char* extensions,
                         const char* dialogName, int flags, struct resbuf** result);
/* Finds a file by name: as given when it holds a folder, else in the
   drawing's folder, the current folder, the folders of SUPPORTPATH and of
   the TARNCAD_SUPPORT environment value (separated by ";" or ":"), then the
   support folder of the installation. RTNORM with the path, RTERROR. */
int tcedFindFile(const char* name, char* result, size_t size);
/* The host's environment values (kept in the user's settings store). */
int tcedGetEnv(const char* name, char* value, size_t size);
int tcedSetEnv(const char* name, const char* value);

/* ---- Command issuing. Pairs of a type and a value ending in RTNONE or 0:
   RTSTR texts (the first one names the command; "" is Enter, "\\" pauses
   for the user), RTREAL, RTSHORT, RTLONG, RTPOINT and RT3DPOINT (double*),
   RTENAME and RTPICKS (int32_t*). A command that asks for more than it was
   given reads the rest from the user's input. */
int tcedCommand(int type, ...);
int tcedCmd(const struct resbuf* args);

#ifdef __cplusplus
}
#endif

#endif
