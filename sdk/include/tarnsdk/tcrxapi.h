// The host's runtime as a module sees it: application messages and the
// entry points a module exports, the system registry of services, the
// dynamic linker, the command stack, the document manager with its
// resource-handle stack, and the LISP bridge (functions a module defines for
// the host's LISP and the calls that answer them).
#ifndef TARNSDK_TCRXAPI_H
#define TARNSDK_TCRXAPI_H

#include <stdint.h>

#include "tctypes.h"

/* Marks a function or class a module exports; everything else of a module
   is built hidden. */
#if defined(__GNUC__)
#define TCRX_EXPORT __attribute__((visibility("default")))
#else
#define TCRX_EXPORT
#endif

/* The stamp tcrxGetApiVersion returns for a module built against this SDK;
   the host refuses to load a module that answers anything else. */
#define TCRX_API_VERSION 0xECADDACEu

/* Application messages, sent to the module's tcrxEntryPoint. */
enum tcrx_message {
  TCRX_MSG_INIT_APP = 1,        /* after loading; answer TCRX_RET_ERROR to be unloaded again */
  TCRX_MSG_UNLOAD_APP = 2,      /* before unloading */
  TCRX_MSG_LOAD_DWG = 3,        /* for every drawing opened or created while loaded */
  TCRX_MSG_UNLOAD_DWG = 4,
  TCRX_MSG_INVOKE_FUNCTION = 5, /* a LISP function the module defined is called */
  TCRX_MSG_END_DIALOG = 6,
  TCRX_MSG_SAVE_DWG = 7,
  TCRX_MSG_QUIT = 8,            /* the host closes */
  TCRX_MSG_PRINT_FORM = 9,
  TCRX_MSG_DEPENDENCY = 10,
  TCRX_MSG_NO_DEPENDENCY = 11
};

enum tcrx_status { TCRX_RET_OK = 0, TCRX_RET_ERROR = 3 };

/* Command flags as the command stack reads them. */
enum tcrx_command_flags {
  TCRX_CMD_MODAL = 0,
  TCRX_CMD_USEPICKSET = 2,       /* the command may take the pickfirst set */
  TCRX_CMD_REDRAW = 4,           /* with 2: the pickfirst and grip sets are not cleared */
  TCRX_CMD_NOPERSPECTIVE = 8,    /* refused in a perspective view */
  TCRX_CMD_NOTILEMODE = 0x20,    /* refused while the model tab is active (TILEMODE 1) */
  TCRX_CMD_NOBEDIT = 0x2000000   /* refused inside the block editor */
};

/* What a module exports (found by these names). `appId` identifies the
   module with the dynamic linker. */
typedef int (*tcrxEntryPointFn)(int message, void* appId);
typedef uint32_t (*tcrxGetApiVersionFn)(void);

#ifdef __cplusplus
extern "C" {
#endif

/* ---- The LISP bridge. tcedDefun defines a function of the current drawing's
   LISP under its global name (and its local name, when not empty); a call of
   it sends TCRX_MSG_INVOKE_FUNCTION to the module that defined it, during
   which tcedGetFunCode gives the code and tcedGetArgs a copy of the arguments
   (released by the module with tcutRelRb; null for none). A global name
   beginning "C:" can also be typed as a command. RTNORM or RTERROR. */
int tcedDefun(const char* globalName, const char* localName, int funcCode);
int tcedUndef(const char* globalName, int funcCode);
int tcedGetFunCode(void);
struct resbuf* tcedGetArgs(void);
/* The value the running function returns (the last call wins); a function
   that sets none returns nil. tcedRetVal copies the buffer (a list from
   RTLB to its RTLE is copied whole). */
int tcedRetVal(const struct resbuf* value);
int tcedRetReal(tc_real value);
int tcedRetInt(int value);
int tcedRetStr(const char* text);
int tcedRetPoint(const tc_point point);
int tcedRetName(const tc_name name, int type);
int tcedRetNil(void);
int tcedRetT(void);
int tcedRetVoid(void);
/* The host's LISP evaluates a text (as a reply starting with "(" would be);
   the result, released by the caller, or null after an error. */
struct resbuf* tcedEvaluateLisp(const char* text);

#ifdef __cplusplus
}

/* ---- Runtime objects: the system registry, services, the dynamic linker,
   the command stack and the document manager. All are owned by the host. */

class TcRxObject {
 public:
  virtual ~TcRxObject() = default;
  /* The class name, as "TcRxDictionary"; used for kind tests. */
  virtual const char* className() const = 0;
};

/* A named presence marker. Other modules test for a service by name. */
class TcRxService : public TcRxObject {
 public:
  const char* className() const override { return "TcRxService"; }
};

/* A dictionary of named objects. The dictionary owns what is put in it;
   remove() gives the object back to the caller, who deletes it. */
class TcRxDictionary : public TcRxObject {
 public:
  const char* className() const override { return "TcRxDictionary"; }
  virtual TcRxObject* at(const char* key) const = 0;
  /* Puts an object under a key; the object formerly there is returned to the
     caller (null if none). */
  virtual TcRxObject* atPut(const char* key, TcRxObject* object) = 0;
  virtual TcRxObject* remove(const char* key) = 0;
  virtual bool has(const char* key) const = 0;
  virtual uint32_t numEntries() const = 0;
};

/* Keys of the system registry. */
#define TCRX_SERVICE_DICTIONARY "ServiceDictionary"
#define TCRX_DYNAMIC_LINKER "DynamicLinker"
#define TCRX_COMMAND_STACK "TCAD_REGISTERED_COMMANDS"

class TcEdCommand;
typedef void (*TcRxFunctionPtr)(void);

/* The command stack ("TCAD_REGISTERED_COMMANDS" in the system registry).
   Names are compared without regard to case; a typed name is looked up as a
   local name and a global one ("_" asks for the global name, "." for the
   host's own command). */
class TcEdCommandStack : public TcRxObject {
 public:
  const char* className() const override { return "TcEdCommandStack"; }
  /* false when the name is already taken: by the same group, or, for another
     group, when `group` is not allowed to hide it (host commands cannot be
     replaced). `uiContext`, `resourceHandle` and `commandOut` may be null;
     `funcCode` is -1 for commands that are not LISP functions. */
  virtual bool addCommand(const char* group, const char* globalName, const char* localName,
                          int32_t flags, TcRxFunctionPtr handler, void* uiContext = nullptr,
                          int funcCode = -1, void* resourceHandle = nullptr,
                          TcEdCommand** commandOut = nullptr) = 0;
  /* Removes a whole group; false when there is no such group. */
  virtual bool removeGroup(const char* group) = 0;
  virtual bool removeCmd(const char* group, const char* globalName) = 0;
  /* Whether a command of this global name exists (in any group). */
  virtual bool hasCommand(const char* globalName) const = 0;
};

/* The dynamic linker ("DynamicLinker" in the system registry). Module names
   are file names ("TarnExtend.trx"); a name without a folder is searched
   beside the host's modules and along the support path. */
class TcRxDynamicLinker : public TcRxObject {
 public:
  const char* className() const override { return "TcRxDynamicLinker"; }
  /* Loads a module and sends it init (and load-drawing for every open
     drawing). true when loaded (also when it already was). */
  virtual bool loadModule(const char* fileName, bool printErrors) = 0;
  /* Sends unload and unloads; false when the module is locked or absent. */
  virtual bool unloadModule(const char* fileName) = 0;
  /* The handle of a loaded module (as tcplFindLoadedModule), or null. */
  virtual void* moduleHandle(const char* fileName) const = 0;
  /* A module is locked while it is loaded unless it unlocks itself. */
  virtual bool unlockApplication(void* appId) = 0;
  virtual bool lockApplication(void* appId) = 0;
  virtual bool isApplicationLocked(void* appId) const = 0;
  /* The module serves several open drawings at once. */
  virtual bool registerAppMDIAware(void* appId) = 0;
};

/* The host's system registry: "ServiceDictionary", "DynamicLinker",
   "TCAD_REGISTERED_COMMANDS". */
TcRxDictionary* tcrxSysRegistry();
/* A service of this name is in the "ServiceDictionary". */
bool tcrxServiceIsRegistered(const char* serviceName);
/* Registers a presence service under the name and returns it (the existing
   one when the name is taken). The service dictionary owns it. */
TcRxService* tcrxRegisterService(const char* serviceName);

class TcDbDatabase;

/* An open drawing. */
class TcApDocument {
 public:
  virtual ~TcApDocument() = default;
  virtual TcDbDatabase* database() const = 0;
  /* The drawing's file (empty for a new drawing not yet saved). */
  virtual const char* fileName() const = 0;
};

/* The document manager: the open drawings, the current one, and the stack
   of resource handles that dialogs and string loads look in. */
class TcApDocManager {
 public:
  virtual ~TcApDocManager() = default;
  virtual TcApDocument* curDocument() const = 0;
  virtual TcApDocument* mdiActiveDocument() const = 0;
  virtual int documentCount() const = 0;
  virtual TcApDocument* document(int index) const = 0;
  /* Makes a document current; false if it is not open. */
  virtual bool setCurDocument(TcApDocument* document) = 0;
  /* Opens a drawing as a new document and makes it current (application
     context); false with a message on the command line when it cannot be
     read. */
  virtual bool appContextOpenDocument(const char* fileName) = 0;
  virtual bool appContextNewDocument() = 0;
  virtual bool closeDocument(TcApDocument* document) = 0;
  /* Resource handles (handles of resource modules, as the platform layer's
     module calls give them). */
  virtual void pushResourceHandle(void* handle) = 0;
  virtual void popResourceHandle() = 0;
  /* The handle on top, or null. */
  virtual void* topResourceHandle() const = 0;
};

TcApDocManager* tcDocManagerPtr();

#endif /* __cplusplus */

#endif
