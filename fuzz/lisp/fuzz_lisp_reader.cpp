// Feeds arbitrary bytes to the LISP: every form read is printed and read
// back (the printed text must read as the same value), converted to an
// entity-list chain when it looks like one, and the whole text is evaluated
// under a small step budget so that no input can loop or recurse for long.
// A module-defined function returns its arguments through the result-buffer
// bridge. Crashes, sanitizer reports, leaked buffers or a failed read-back
// are findings; rejected input is not.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lisp/interpreter.h"
#include "lisp/printer.h"
#include "lisp/reader.h"
#include "lisp/resbuf_bridge.h"
#include "lisp/test_host.h"

namespace {

using namespace tarn::lisp;

// Discards what the LISP prints, so output cannot pile up.
class QuietHost : public TestHost {
 public:
  void print(std::string_view text) override { printed += text.size(); }
  std::size_t printed = 0;
};

void checkReadBack(const Value& form) {
  std::string printed = toString(form);
  Value again;
  ReadError error;
  if (readOne(printed, again, error) != ReadStatus::Value || toString(again) != printed) std::abort();
}

void checkEntityChain(const Value& form, MallocResbufAllocator& alloc) {
  ChainResult chain = entityListToChain(form, alloc);
  if (!chain.ok()) return;
  Outcome back = entityChainToList(chain.chain);
  alloc.releaseChain(chain.chain);
  if (!back.ok()) std::abort();
}

Outcome echoThroughChain(MallocResbufAllocator& alloc, std::span<const Value> args) {
  ChainResult chain = argumentsToChain(args, alloc);
  if (!chain.ok()) return Outcome::failure(chain.error);
  Outcome back = chainToValue(chain.chain);
  alloc.releaseChain(chain.chain);
  return back;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  MallocResbufAllocator alloc;
  Reader reader(text);
  Value form;
  ReadError error;
  while (reader.next(form, error) == ReadStatus::Value) {
    checkReadBack(form);
    checkEntityChain(form, alloc);
  }

  QuietHost host;
  host.variables["OSMODE"] = Value::integer(0);
  host.external = [&alloc](const ExternalFunction&, std::span<const Value> args) { return echoThroughChain(alloc, args); };
  InterpreterLimits limits;
  limits.maxSteps = 20000;
  limits.maxEvalDepth = 200;
  limits.maxStringLength = 1 << 16;
  Interpreter lisp(host, limits);
  lisp.defineExternal("ECHO", 0, 1);
  lisp.evaluate(text);
  if (alloc.liveBuffers() != 0) std::abort();
  return 0;
}
