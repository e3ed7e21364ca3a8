// A small module for the runtime's tests, built like a real one: it includes
// only the SDK and exports only tcrxEntryPoint and tcrxGetApiVersion. It
// prints every message it gets on the command line ("[tm] init"), so tests
// read what it received from the transcript, which outlives the module.
//
// Built several times: TM_REFUSE_INIT registers a command and a service and
// then answers init with an error; TM_WRONG_STAMP answers another interface
// stamp; TM_NO_ENTRY exports its entry under a wrong name; TM_STAY_LOCKED does not
// unlock itself.
#include <tarnsdk/tcedinput.h>
#include <tarnsdk/tcrxapi.h>
#include <tarnsdk/tcutapi.h>

#include <string>

namespace {

const char* kGroup = "TM_COMMANDS";
const char* kService = "TM_SERVICE";

TcRxDynamicLinker* linker() { return static_cast<TcRxDynamicLinker*>(tcrxSysRegistry()->at(TCRX_DYNAMIC_LINKER)); }
TcEdCommandStack* commands() { return static_cast<TcEdCommandStack*>(tcrxSysRegistry()->at(TCRX_COMMAND_STACK)); }

void hello() { tcutPrintf("Hello from the test module.\n"); }
void onPaperOnly() { tcutPrintf("[tm] paper space command ran\n"); }
// Tries to unload its own module while its command runs.
void unloadSelf() { tcutPrintf("[tm] self unload %s\n", linker()->unloadModule("tm_module.so") ? "done" : "refused"); }
// Has the host's LISP evaluate an expression.
void evaluate() {
  resbuf* r = tcedEvaluateLisp("(+ 40 2)");
  tcutPrintf("[tm] evaluated %d\n", r && r->restype == RTSHORT ? r->resval.rint : -1);
  tcutRelRb(r);
}

void registerAll() {
  tcrxRegisterService(kService);
  TcEdCommandStack* stack = commands();
  stack->addCommand(kGroup, "TMHELLO", "TMHALLO", TCRX_CMD_MODAL, hello);
  stack->addCommand(kGroup, "TMPAPER", "", TCRX_CMD_USEPICKSET | TCRX_CMD_NOTILEMODE, onPaperOnly);
  stack->addCommand(kGroup, "TMUNLOADSELF", "", TCRX_CMD_MODAL, unloadSelf);
  stack->addCommand(kGroup, "TMEVAL", "", TCRX_CMD_MODAL, evaluate);
  // The host's own command stays the host's.
  if (stack->addCommand(kGroup, "APPLOAD", "", TCRX_CMD_MODAL, hello)) tcutPrintf("[tm] took APPLOAD\n");
}

void unregisterAll() {
  if (tcrxServiceIsRegistered(kService)) {
    auto* services = static_cast<TcRxDictionary*>(tcrxSysRegistry()->at(TCRX_SERVICE_DICTIONARY));
    delete services->remove(kService);
  }
  commands()->removeGroup(kGroup);
}

int init(void* appId) {
  registerAll();
#ifdef TM_REFUSE_INIT
  return TCRX_RET_ERROR;
#else
#ifndef TM_STAY_LOCKED
  linker()->unlockApplication(appId);
#endif
  linker()->registerAppMDIAware(appId);
  return TCRX_RET_OK;
#endif
}

void loadDrawing() {
  TcApDocument* doc = tcDocManagerPtr()->curDocument();
  tcutPrintf("[tm] load drawing %d of %d\n", doc ? 1 : 0, tcDocManagerPtr()->documentCount());
  tcedDefun("C:TMCMD", "C:TMKOMMANDO", 0);
  tcedDefun("TMECHO", "", 1);
  tcedDefun("TMKIND", "", 2);
}

// TMKIND answers a value of the kind named by its argument.
void answerKind(const resbuf* args) {
  const char* kind = args && args->restype == RTSTR ? args->resval.rstring : "";
  std::string k(kind);
  tc_point p = {1.0, 2.0, 3.0};
  tc_name n = {7, 9};
  if (k == "real") tcedRetReal(2.5);
  else if (k == "int") tcedRetInt(42);
  else if (k == "str") tcedRetStr("text");
  else if (k == "point") tcedRetPoint(p);
  else if (k == "name") tcedRetName(n, RTENAME);
  else if (k == "nil") tcedRetNil();
  else if (k == "t") tcedRetT();
  else if (k == "void") tcedRetVoid();
  else if (k == "list") {
    resbuf* list = tcutBuildList(RTLB, RTSHORT, 1, RTSTR, "two", RTREAL, 3.0, RTLE, RTNONE);
    tcedRetVal(list);
    tcutRelRb(list);  // the host copied it
  }
  // anything else: no value set
}

void invoke() {
  int code = tcedGetFunCode();
  resbuf* args = tcedGetArgs();
  int count = 0;
  for (resbuf* rb = args; rb; rb = rb->rbnext) ++count;
  tcutPrintf("[tm] invoke %d with %d buffers\n", code, count);
  if (code == 0) {
    tcutPrintf("TMCMD ran.\n");
    tcedRetVoid();
  } else if (code == 1) {
    if (args) tcedRetVal(args);
    else tcedRetNil();
  } else if (code == 2) {
    answerKind(args);
  }
  tcutRelRb(args);
}

}  // namespace

// Without its entry point the module exports the entry under a wrong name.
#ifdef TM_NO_ENTRY
#define TM_ENTRY tcrxEntry
#else
#define TM_ENTRY tcrxEntryPoint
#endif

extern "C" TCRX_EXPORT int TM_ENTRY(int message, void* appId) {
  switch (message) {
    case TCRX_MSG_INIT_APP:
      tcutPrintf("[tm] init\n");
      return init(appId);
    case TCRX_MSG_UNLOAD_APP:
      tcutPrintf("[tm] unload\n");
      unregisterAll();
      return TCRX_RET_OK;
    case TCRX_MSG_LOAD_DWG: loadDrawing(); return TCRX_RET_OK;
    case TCRX_MSG_UNLOAD_DWG: tcutPrintf("[tm] unload drawing\n"); return TCRX_RET_OK;
    case TCRX_MSG_INVOKE_FUNCTION: invoke(); return TCRX_RET_OK;
    case TCRX_MSG_QUIT:
      tcutPrintf("[tm] quit\n");
      unregisterAll();
      return TCRX_RET_OK;
    default: return TCRX_RET_OK;
  }
}

extern "C" TCRX_EXPORT uint32_t tcrxGetApiVersion(void) {
#ifdef TM_WRONG_STAMP
  return 0x12345678u;
#else
  return TCRX_API_VERSION;
#endif
}
