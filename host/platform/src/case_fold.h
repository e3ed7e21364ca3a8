// Case folding of key paths and value names, so that they compare without
// regard to case as the Windows registry compares them.
#ifndef TARN_PLATFORM_SRC_CASE_FOLD_H
#define TARN_PLATFORM_SRC_CASE_FOLD_H

#include <string>
#include <string_view>

namespace tarn::platform::detail {

// Upper-cases ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters;
// other characters (and invalid bytes) stay as they are.
std::string FoldCase(std::string_view utf8);

bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tarn::platform::detail

#endif
