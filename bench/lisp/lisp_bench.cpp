// Speed of the host's LISP: a recursive function, list building and mapping,
// reading a long entity list, and the bridge to result buffers and back.
#include <benchmark/benchmark.h>

#include <string>

#include "lisp/interpreter.h"
#include "lisp/reader.h"
#include "lisp/resbuf_bridge.h"
#include "lisp/test_host.h"

namespace {

using namespace tarn::lisp;

void RecursiveFib(benchmark::State& state) {
  TestHost host;
  Interpreter lisp(host);
  lisp.evaluate("(defun fib (n) (if (< n 2) n (+ (fib (- n 1)) (fib (- n 2)))))");
  for (auto _ : state) benchmark::DoNotOptimize(lisp.evaluate("(fib 20)"));
  state.SetLabel("fib 20 = 21891 calls");
}
BENCHMARK(RecursiveFib)->Unit(benchmark::kMillisecond);

void BuildAndMapList(benchmark::State& state) {
  TestHost host;
  Interpreter lisp(host);
  for (auto _ : state) {
    benchmark::DoNotOptimize(lisp.evaluate(
        "(setq l nil i 0) (repeat 10000 (setq l (cons i l) i (1+ i)))"
        "(length (mapcar '(lambda (x) (* x 2)) (reverse l)))"));
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BuildAndMapList)->Unit(benchmark::kMillisecond);

std::string entityListText(int items) {
  std::string text = "(";
  for (int k = 0; k < items; ++k) {
    text += "(0 . \"LINE\") (8 . \"LAYER" + std::to_string(k) + "\") (10 " + std::to_string(k) + ".5 2.25 0.0) (62 . 1) ";
  }
  return text + ")";
}

void ReadEntityLists(benchmark::State& state) {
  std::string text = entityListText(2500);
  for (auto _ : state) {
    Value v;
    ReadError error;
    benchmark::DoNotOptimize(readOne(text, v, error));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(ReadEntityLists)->Unit(benchmark::kMillisecond);

void EntityListBridgeRoundTrip(benchmark::State& state) {
  Value list;
  ReadError error;
  readOne(entityListText(2500), list, error);
  MallocResbufAllocator alloc;
  for (auto _ : state) {
    ChainResult chain = entityListToChain(list, alloc);
    Outcome back = entityChainToList(chain.chain);
    alloc.releaseChain(chain.chain);
    benchmark::DoNotOptimize(back);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(EntityListBridgeRoundTrip)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
