// Linetype definition files (".lin"): a header line "*NAME,description"
// followed by a pattern line "A,dash,gap,..." where a positive length is a
// dash, a negative one a gap and 0 a dot; an element may carry an embedded
// text ["TEXT",STYLE,S=..,R=..,A=..,U=..,X=..,Y=..] or shape
// [NAME,FILE.shx,...]. Lines starting with ";" are comments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarn::commands {

struct LinetypeElement {
  enum class Embedded { None, Text, Shape };
  double length = 0;
  Embedded embedded = Embedded::None;
  std::string text;          // the text, or the shape's name
  std::string source;        // the text style, or the shape file
  double scale = 1;
  double rotation = 0;       // radians
  bool absoluteRotation = false;  // A= (or U=): not relative to the line's direction
  double xOffset = 0, yOffset = 0;
};

struct LinetypeDefinition {
  std::string name;
  std::string description;
  std::vector<LinetypeElement> elements;
  int line = 0;  // of the header
  double patternLength() const;
};

// Reads the definitions of a file's text. On a malformed line it stops and
// says what is wrong and where ("name:line: ..."), returning false.
bool parseLinetypes(std::string_view text, std::string_view fileName, std::vector<LinetypeDefinition>& out,
                    std::string& error);

}  // namespace tarn::commands
