// The bridge between LISP values and result-buffer chains: the arguments the
// host hands to a module's function, what the module returns, and entity
// lists keyed by DXF group codes.
//
// Arguments to a module:
//   integer          RTSHORT when it fits in 16 bits, else RTLONG
//                    (IntegerEncoding::AlwaysLong gives RTLONG always)
//   real             RTREAL          string        RTSTR
//   T                RTT             nil           RTNIL
//   entity name      RTENAME         selection set RTPICKS
//   list             RTLB, the items, RTLE (points too: (1.0 2.0) is a list)
//   dotted list      RTLB, the items, RTDOTE, the tail, RTLE
// Symbols other than T and functions cannot be passed.
//
// Back from a chain: the reverse, plus RTPOINT/RT3DPOINT as lists of 2 or 3
// reals, RTANG and RTORINT as reals, RTVOID as the quiet symbol, and
// buffers typed by a DXF group code as pairs (62 . 1), point groups as
// (10 1.0 2.0 0.0), binary chunks as hexadecimal text, and the extended data
// after group -3 as (-3 ("APPNAME" (1000 . "text") ...) ...).
#ifndef TARN_LISP_RESBUF_BRIDGE_H
#define TARN_LISP_RESBUF_BRIDGE_H

#include <cstddef>
#include <span>
#include <string>

#include "lisp/outcome.h"
#include "lisp/value.h"
#include "tarnsdk/tctypes.h"

namespace tarn::lisp {

// Where result buffers come from: the host counts them, so every buffer the
// bridge makes is made and released through this.
class ResbufAllocator {
 public:
  virtual ~ResbufAllocator() = default;
  // A zeroed buffer of the type, not linked.
  virtual resbuf* newBuffer(short type) = 0;
  // Storage for the bytes of a string or binary chunk stored in a buffer;
  // released with the buffer's chain.
  virtual char* newBytes(std::size_t n) = 0;
  // Releases a whole chain, with the strings and binary chunks its buffers
  // hold (by the value kind of each buffer's type).
  virtual void releaseChain(resbuf* chain) = 0;
};

// Buffers from malloc, with a count of the buffers alive.
class MallocResbufAllocator : public ResbufAllocator {
 public:
  resbuf* newBuffer(short type) override;
  char* newBytes(std::size_t n) override;
  void releaseChain(resbuf* chain) override;
  long liveBuffers() const { return live_; }

 private:
  long live_ = 0;
};

enum class IntegerEncoding { ShortWhenFits, AlwaysLong };

struct BridgeOptions {
  IntegerEncoding integers = IntegerEncoding::ShortWhenFits;
};

// A chain made by the bridge (null for no values), or why it could not be
// made (then nothing is left allocated).
struct ChainResult {
  resbuf* chain = nullptr;
  std::string error;
  bool ok() const { return error.empty(); }
};

// The arguments of a call as one chain, as tcedGetArgs hands them to a module.
ChainResult argumentsToChain(std::span<const Value> args, ResbufAllocator& alloc, BridgeOptions options = {});

// An entity list ((-1 . <name>) (0 . "LINE") (10 1.0 2.0 0.0) ...) as a chain
// typed by group codes, for making and changing entities.
ChainResult entityListToChain(const Value& list, ResbufAllocator& alloc);

// What a module returned (tcedRetVal): one item is that value; several items
// make a list; group-coded items become pairs.
Outcome chainToValue(const resbuf* chain);

// An entity-list chain as the list of its pairs (always a list).
Outcome entityChainToList(const resbuf* chain);

}  // namespace tarn::lisp

#endif
