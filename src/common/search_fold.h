#pragma once
// Searching as a Czech user expects: "jana" finds "Janě", "ZPRAVA" finds "zpráva". Both the text
// and what is looked for are folded: lower case, and the Latin letters with diacritics (Czech,
// Slovak, German and the rest of Latin-1 and Latin Extended-A) as their base letters.
#include <string>
#include <string_view>

namespace movarek {

// `utf8` folded, appended to `folded` (cleared first), so that a search reuses one buffer.
void foldForSearch(std::string_view utf8, std::string& folded);

std::string foldedForSearch(std::string_view utf8);

}  // namespace movarek
