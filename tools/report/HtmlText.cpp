#include "HtmlText.h"

#include "PrintableText.h"

std::string HtmlText(std::string_view utf8) {
    const std::string printable = Printable(utf8);
    std::string html;
    html.reserve(printable.size());
    for (const char c : printable) {
        switch (c) {
            case '&': html += "&amp;"; break;
            case '<': html += "&lt;"; break;
            case '>': html += "&gt;"; break;
            case '"': html += "&quot;"; break;
            case '\'': html += "&#39;"; break;
            default: html += c;
        }
    }
    return html;
}
