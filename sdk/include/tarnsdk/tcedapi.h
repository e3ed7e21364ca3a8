// Editor operations of the host: system variables, input, selection,
// command issuing, display. (Grows with the editor.)
#ifndef TARNSDK_TCEDAPI_H
#define TARNSDK_TCEDAPI_H

#include "tctypes.h"
#include "tcedinput.h"

#ifdef __cplusplus
extern "C" {
#endif

/* System variables: integers travel as RTSHORT, reals as RTREAL, texts as
   RTSTR (a text read is released by the caller with its buffer's chain or
   free()), points as RT3DPOINT or RTPOINT. RTERROR for unknown names,
   read-only variables and values of the wrong type or range. */
int tcedGetVar(const char* name, struct resbuf* result);
int tcedSetVar(const char* name, const struct resbuf* value);

#ifdef __cplusplus
}
#endif

#endif
