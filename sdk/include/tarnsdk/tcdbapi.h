// Database operations of the host: entity lists, symbol tables, names.
#ifndef TARNSDK_TCDBAPI_H
#define TARNSDK_TCDBAPI_H

#include "tctypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Entity lists: chains of result buffers keyed by DXF group codes, released
   by the caller with tcutRelRb. */
struct resbuf* tcdbEntGet(const tc_name ent);
/* As tcdbEntGet, with the extended data of the applications listed (RTSTR
   buffers; "*" for all) after a -3 group. */
struct resbuf* tcdbEntGetX(const tc_name ent, const struct resbuf* apps);
int tcdbEntMod(const struct resbuf* list);
/* Makes an object from a list. POLYLINE and INSERT with attributes take
   several calls up to SEQEND, a block definition BLOCK ... ENDBLK; a call
   with a null list discards what is unfinished. */
int tcdbEntMake(const struct resbuf* list);
/* As tcdbEntMake, and gives the new object's name (also for objects that
   have no owner, such as dictionaries and xrecords). */
int tcdbEntMakeX(const struct resbuf* list, tc_name result);
/* Erases an entity, or brings back an erased one. */
int tcdbEntDel(const tc_name ent);
/* The next entity after `ent` (sub-entities included), or the first of the
   drawing when `ent` is null. RTERROR after the last. */
int tcdbEntNext(const tc_name ent, tc_name result);
/* The last main entity of the drawing. */
int tcdbEntLast(tc_name result);
int tcdbEntUpd(const tc_name ent);
int tcdbRegApp(const char* appname);
int tcdbHandEnt(const char* handle, tc_name result);

/* Symbol tables: "LAYER", "LTYPE", "VIEW", "STYLE", "BLOCK", "UCS", "APPID",
   "DIMSTYLE", "VPORT". */
struct resbuf* tcdbTblSearch(const char* table, const char* name, int setnext);
struct resbuf* tcdbTblNext(const char* table, int rewind);
int tcdbTblObjName(const char* table, const char* name, tc_name result);

/* Number formatting after LUNITS/LUPREC/DIMZIN and AUNITS/AUPREC (-1 takes
   the drawing's setting). `str` receives at most `size` bytes. */
int tcdbRToS(tc_real val, int unit, int prec, char* str, int size);
int tcdbAngToS(tc_real val, int unit, int prec, char* str, int size);

/* Entity names. */
int tcdbNameNil(const tc_name name);
void tcdbNameClear(tc_name name);
void tcdbNameSet(const tc_name from, tc_name to);
int tcdbNameEqual(const tc_name a, const tc_name b);

#ifdef __cplusplus
}
#endif

#endif
