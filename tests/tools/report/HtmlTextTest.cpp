// Text of a statement file in the HTML report: never markup, and control
// characters and characters that reorder text shown as the terminal shows
// them.
#include "HtmlText.h"

#include <gtest/gtest.h>

namespace {

TEST(HtmlText, FileTextNeverBecomesMarkup) {
    const struct {
        std::string text, html;
    } cases[] = {
        {"PAYEE 42", "PAYEE 42"},
        {"<img src=x onerror=alert(1)>", "&lt;img src=x onerror=alert(1)&gt;"},
        {"</table><script>alert(1)</script>", "&lt;/table&gt;&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"\" onmouseover=\"x' y='", "&quot; onmouseover=&quot;x&#39; y=&#39;"},
        {"HALDEN & CO &amp; &#60;", "HALDEN &amp; CO &amp;amp; &amp;#60;"},
        {"<!-- ]]> <![CDATA[", "&lt;!-- ]]&gt; &lt;![CDATA["},
        {"\x1B[2JAll lines imported OK\x07", "\\x1B[2JAll lines imported OK\\x07"},
        {std::string("A\0<B", 4), "A\\x00&lt;B"},
        {"\xC2\x9B<\xC2\xA3 CAF\xC3\x89 \xE2\x82\xAC", "\\u009B&lt;\xC2\xA3 CAF\xC3\x89 \xE2\x82\xAC"},
        {"ACME LTD \xE2\x80\xAE<b>\xE2\x81\xA6", "ACME LTD \\u202E&lt;b&gt;\\u2066"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.html, HtmlText(c.text)) << c.html;
}

}  // namespace
