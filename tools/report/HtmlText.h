// Text in the HTML report. Every text of a statement file (and every text
// of the tool's that quotes one) reaches the page through HtmlText: first
// made printable as for the terminal (control characters as \xHH and
// \u00HH, characters that reorder or hide text as \uHHHH, PrintableText.h),
// then with the five characters that HTML gives a
// meaning to written as character references, so that no text of a file
// can open an element, end one, or leave an attribute's quotes.
#pragma once

#include <string>
#include <string_view>

std::string HtmlText(std::string_view utf8);
