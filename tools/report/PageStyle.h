// The HTML report page's style sheet, written inline into the page (the page
// fetches nothing): the colours of each kind of line, the chart's, and a
// print layout.
#pragma once

extern const char kPageStyle[];
