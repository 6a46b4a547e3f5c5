#include "PageStyle.h"

// Each kind of line has a colour (--c) and a background (--b), used by its
// row's fate cell and by its swatch in the summary; words say the same.
const char kPageStyle[] = R"(
:root{color-scheme:light}
body{font:14px/1.4 "Segoe UI",system-ui,Arial,sans-serif;margin:1.5em;color:#16181d;background:#fff}
h1{font-size:1.45em;margin:0 0 .2em}h2{font-size:1.15em;margin:1.6em 0 .5em}
.path{font-family:Consolas,"DejaVu Sans Mono",monospace;overflow-wrap:anywhere}
.verdict{padding:.55em .9em;border-left:6px solid;margin:.8em 0;font-weight:600}
.verdict.ok{background:#e7f4ea;border-color:#2e7d32}.verdict.bad{background:#fdecea;border-color:#c62828}
table{border-collapse:separate;border-spacing:0}th,td{border:solid #c9ccd1;border-width:0 1px 1px 0;padding:2px 7px;text-align:left;vertical-align:top}
table{border-top:1px solid #c9ccd1;border-left:1px solid #c9ccd1}
th{background:#f1f2f4;font-weight:600}
.top{display:flex;flex-wrap:wrap;gap:1.2em;align-items:flex-start}.facts th{width:12em}
.kinds td:last-child{text-align:right;font-variant-numeric:tabular-nums}
.said li{margin:.15em 0}.said .warning{color:#8a1c12}
.swatch{display:inline-block;width:.9em;height:.9em;margin-right:.45em;vertical-align:-.1em;background:var(--b);border:2px solid var(--c)}
.imp{--c:#2e7d32;--b:#e3f2e5}.und{--c:#b26a00;--b:#fff1d6}.hdr,.ttl{--c:#5f6670;--b:#eef0f2}
.oth{--c:#1f5fa8;--b:#e4eefa}.noa{--c:#6b5b95;--b:#efebf6}.bad,.two{--c:#c62828;--b:#fde3e1}
.emp{--c:#8a8f98;--b:#f6f7f8}.stp{--c:#c62828;--b:#fde3e1}.nrd{--c:#d84315;--b:#fde9df}.end{--c:#8a8f98;--b:#f6f7f8}
.chart{width:100%;max-width:1100px;height:auto;display:block;border:1px solid #e0e2e6}
.chart text{font:12px "Segoe UI",system-ui,Arial,sans-serif;fill:#3c4048}
.chart .grid{stroke:#e6e8eb}.chart .tick{stroke:#9aa0a8}
.chart .balance{fill:none;stroke:#1f5fa8;stroke-width:1.6;stroke-linejoin:round}
.chart .below-zero{stroke:#c62828}.chart .zero{stroke:#c62828;stroke-dasharray:5 4}
.chart .overdrawn{fill:#fdecea}.chart .overdrawn-label{fill:#c62828}
.chart .break-mark line{stroke:#c62828;stroke-width:1;stroke-dasharray:2 3}
.chart .break-mark circle{fill:#fff;stroke:#c62828;stroke-width:2.5}
.chart .break-mark text{fill:#c62828;font-weight:700}
.caption{color:#4a4f57;font-size:.92em;max-width:1100px}
.lines{table-layout:fixed;width:100%;font-size:13px}.part .lines{border-top:0}
.part{content-visibility:auto;contain-intrinsic-size:auto 22000px}
.lines td{overflow-wrap:anywhere;unicode-bidi:isolate}
.lines td:nth-child(1),.lines td:nth-child(4),.lines td:nth-child(8){text-align:right;font-variant-numeric:tabular-nums}
.lines td:nth-child(4),.lines td:nth-child(5),.lines td:nth-child(8){white-space:nowrap}
.lines td:nth-child(2){background:var(--b);border-left:5px solid var(--c)}
.lines tr.brk td:not(:nth-child(2)){background-color:#fff4f2;border-bottom:2px solid #c62828}
.break{color:#c62828}
@media print{body{margin:0;font-size:10pt}.lines{font-size:8pt}tr{break-inside:avoid}
*{print-color-adjust:exact;-webkit-print-color-adjust:exact}.chart{border:none}}
)";
