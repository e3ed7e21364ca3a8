// The LISP bridge of the SDK: defining module functions, the invoke message
// with its function code and arguments, the return calls, and evaluating
// LISP text for a module.
#include "runtime/lisp_bridge.h"

#include <cstring>
#include <vector>

#include <tarnsdk/tcrxapi.h>
#include <tarnsdk/tcutapi.h>

#include "lisp/printer.h"
#include "lisp/resbuf_bridge.h"
#include "lisp/return_slot.h"
#include "lisp_definitions.h"
#include "module_code.h"
#include "runtime/dynamic_linker.h"

namespace tarn::runtime {
namespace {

// Result buffers the host counts, released by tcutRelRb as modules release them.
class HostResbufAllocator : public lisp::ResbufAllocator {
 public:
  resbuf* newBuffer(short type) override { return tcutNewRb(type); }
  char* newBytes(std::size_t n) override { return static_cast<char*>(std::malloc(n == 0 ? 1 : n)); }
  void releaseChain(resbuf* chain) override { tcutRelRb(chain); }
};

HostResbufAllocator& allocator() {
  static HostResbufAllocator a;
  return a;
}

// One running call of a module function; calls nest when a module function
// evaluates LISP that calls another.
struct Invocation {
  int code;
  std::span<const lisp::Value> args;
  lisp::ReturnSlot slot;
};

std::vector<Invocation*>& invocations() {
  static std::vector<Invocation*> stack;
  return stack;
}

Invocation* running() { return invocations().empty() ? nullptr : invocations().back(); }

int setReturn(const resbuf& rb) {
  Invocation* call = running();
  return call ? call->slot.setChain(&rb) : RTERROR;
}

// The module that defines a function: the one whose code calls tcedDefun,
// else the one receiving a message.
LoadedModule* callingModule(const void* returnAddress) {
  DynamicLinker& linker = dynamicLinker();
  if (LoadedModule* m = linker.byAddress(returnAddress)) return m;
  const void* base = innermostModuleCode();
  for (const LoadedModule* m : linker.modules())
    if (m->base == base) return const_cast<LoadedModule*>(m);
  return nullptr;
}

}  // namespace

lisp::Outcome callModuleFunction(const lisp::ExternalFunction& fn, std::span<const lisp::Value> args) {
  LoadedModule* module = dynamicLinker().byAppId(reinterpret_cast<const void*>(fn.owner));
  if (!module) return lisp::Outcome::failure("no function definition: " + fn.name);
  lisp::ChainResult check = lisp::argumentsToChain(args, allocator());
  if (!check.ok()) return lisp::Outcome::failure(check.error);
  tcutRelRb(check.chain);
  Invocation call{fn.code, args, {}};
  invocations().push_back(&call);
  int answer = dynamicLinker().send(*module, TCRX_MSG_INVOKE_FUNCTION);
  invocations().pop_back();
  if (answer != TCRX_RET_OK) return lisp::Outcome::failure(fn.name + " failed");
  return call.slot.take();
}

}  // namespace tarn::runtime

using namespace tarn;
using namespace tarn::runtime;

extern "C" {

int tcedDefun(const char* globalName, const char* localName, int funcCode) {
  if (!globalName || !*globalName) return RTERROR;
  LoadedModule* module = callingModule(__builtin_return_address(0));
  if (!module) return RTERROR;  // only a loaded module can be called back
  return defineModuleFunction({globalName, localName ? localName : "", funcCode, module->appId()});
}

int tcedUndef(const char* globalName, int funcCode) {
  return globalName ? undefineModuleFunction(globalName, funcCode) : RTERROR;
}

int tcedGetFunCode(void) {
  Invocation* call = running();
  return call ? call->code : RTERROR;
}

struct resbuf* tcedGetArgs(void) {
  Invocation* call = running();
  if (!call) return nullptr;
  lisp::ChainResult r = lisp::argumentsToChain(call->args, allocator());
  return r.ok() ? r.chain : nullptr;
}

int tcedRetVal(const struct resbuf* value) {
  Invocation* call = running();
  if (!call || !value) return RTERROR;
  return call->slot.setChain(value);
}

int tcedRetReal(tc_real value) {
  if (!running()) return RTERROR;
  running()->slot.setReal(value);
  return RTNORM;
}

int tcedRetInt(int value) {
  if (!running()) return RTERROR;
  running()->slot.setInt(value);
  return RTNORM;
}

int tcedRetStr(const char* text) {
  resbuf rb{};
  rb.restype = RTSTR;
  rb.resval.rstring = const_cast<char*>(text ? text : "");
  return setReturn(rb);
}

int tcedRetPoint(const tc_point point) {
  if (!point) return RTERROR;
  resbuf rb{};
  rb.restype = RT3DPOINT;
  std::memcpy(rb.resval.rpoint, point, sizeof(tc_point));
  return setReturn(rb);
}

int tcedRetName(const tc_name name, int type) {
  if (!name || (type != RTENAME && type != RTPICKS)) return RTERROR;
  resbuf rb{};
  rb.restype = short(type);
  rb.resval.rlname[0] = name[0];
  rb.resval.rlname[1] = name[1];
  return setReturn(rb);
}

int tcedRetNil(void) {
  if (!running()) return RTERROR;
  running()->slot.setNil();
  return RTNORM;
}

int tcedRetT(void) {
  if (!running()) return RTERROR;
  running()->slot.setT();
  return RTNORM;
}

int tcedRetVoid(void) {
  if (!running()) return RTERROR;
  running()->slot.setVoid();
  return RTNORM;
}

struct resbuf* tcedEvaluateLisp(const char* text) {
  if (!text) return nullptr;
  lisp::Outcome out = editor::currentEditor().lisp().evaluate(text);
  if (!out.ok()) return nullptr;
  lisp::Value value = out.take();
  lisp::ChainResult r = lisp::argumentsToChain(std::span<const lisp::Value>(&value, 1), allocator());
  if (r.ok() && r.chain) return r.chain;
  // A symbol (or a function) comes back as its printed name.
  resbuf* rb = tcutNewRb(RTSTR);
  std::string printed = lisp::toString(value);
  rb->resval.rstring = static_cast<char*>(std::malloc(printed.size() + 1));
  std::memcpy(rb->resval.rstring, printed.c_str(), printed.size() + 1);
  return rb;
}

}  // extern "C"
