// The reader: turns LISP source text into values, one top-level form at a
// time, and reports what is wrong and where (line and column, 1-based).
#ifndef TARN_LISP_READER_H
#define TARN_LISP_READER_H

#include <string>
#include <string_view>

#include "lisp/value.h"

namespace tarn::lisp {

struct ReaderLimits {
  int maxDepth = 200;  // nesting of lists and quotes
};

struct ReadError {
  int line = 0;
  int column = 0;
  std::string message;
  // "MESSAGE at line L, column C"
  std::string describe() const;
};

enum class ReadStatus { Value, End, Error };

class Reader {
 public:
  explicit Reader(std::string_view text, ReaderLimits limits = {});

  // Reads the next top-level form. After an error every further call
  // reports the same error.
  ReadStatus next(Value& out, ReadError& error);

 private:
  struct Position {
    int line = 1;
    int column = 1;
  };

  bool readForm(Value& out, int depth);
  bool readList(Value& out, int depth);
  bool readListTail(ListBuilder& items, Value& tail, Position open, int depth);
  bool readQuoted(Value& out, int depth);
  bool readString(Value& out);
  bool readEscape(std::string& text, Position open);
  bool readAtom(Value& out);
  bool skipSpaceAndComments();
  bool skipBlockComment();
  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return text_[pos_]; }
  void advance();
  bool fail(Position where, std::string message);

  std::string_view text_;
  ReaderLimits limits_;
  std::size_t pos_ = 0;
  Position here_;
  ReadError error_;
  bool failed_ = false;
};

// Reads the first form of `text` (nil for text without a form).
ReadStatus readOne(std::string_view text, Value& out, ReadError& error, ReaderLimits limits = {});

// Classifies a token as an integer or real the way the reader does; false for
// tokens that are symbols. Integer literals beyond 32 bits become reals.
// `outOfRange` is set for reals too large to represent.
bool parseNumber(std::string_view token, Value& out, bool& outOfRange);

}  // namespace tarn::lisp

#endif
