// Texts between the drawing (UTF-8 with "%%" control codes) and a metafile
// (8-bit Windows-1252, the ANSI character set its fonts are made with).
#pragma once

#include <string>
#include <string_view>

namespace tarn::commands::wmf {

// The text as it shows: "%%d", "%%p", "%%c" become their symbols, "%%%"
// a percent sign, the on/off codes "%%o" and "%%u" go; characters that
// Windows-1252 does not have become "?".
std::string drawingTextToAnsi(std::string_view text);

// Windows-1252 bytes as UTF-8, with a "%" that would start a control code
// written as "%%%" so that the text shows as it was.
std::string ansiToDrawingText(std::string_view bytes);

}  // namespace tarn::commands::wmf
