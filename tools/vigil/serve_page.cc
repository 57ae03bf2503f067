#include "vigil/serve_page.h"

#include <string_view>

namespace vigil::cli {
namespace {

constexpr std::string_view kHead = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Vigil Panel</title>
<style>
*{box-sizing:border-box}
body{margin:0;padding:12px;background:#3a6ea5;color:#111;
 font:14px/1.3 "Liberation Sans",Arial,Helvetica,sans-serif}
header{display:flex;flex-wrap:wrap;gap:4px 16px;align-items:baseline;
 color:#fff;margin-bottom:10px}
header h1{font-size:20px;margin:0}
#note{font-size:13px;opacity:.9}
#grid{display:grid;gap:6px;grid-auto-rows:minmax(110px,auto)}
.cell{border:1px dashed rgba(255,255,255,.35);border-radius:6px}
.orb{border:4px solid #808080;border-radius:6px;padding:6px 8px;
 overflow:hidden;min-width:0;box-shadow:0 1px 3px rgba(0,0,0,.4)}
.orb.dark{color:#fff}
.top{display:flex;justify-content:space-between;gap:6px;align-items:baseline}
.name{font-weight:bold;font-size:16px;overflow:hidden;text-overflow:ellipsis;
 white-space:nowrap}
.num{font-size:12px;opacity:.75;white-space:nowrap}
.state{font-size:12px;font-weight:bold;text-transform:uppercase;
 letter-spacing:.04em}
.face{font-size:11px;opacity:.75;font-weight:normal}
.note{font-size:12px;margin-top:4px;font-weight:bold;overflow-wrap:anywhere}
table{width:100%;border-collapse:collapse;margin-top:4px;font-size:13px}
td{padding:1px 2px;vertical-align:top}
td.v{text-align:right;white-space:nowrap;font-variant-numeric:tabular-nums}
td.u{opacity:.8;white-space:nowrap}
td.i{overflow:hidden;text-overflow:ellipsis;max-width:10em;white-space:nowrap}
.bar{height:5px;background:currentColor;opacity:.55;border-radius:2px}
.big{font-size:26px;font-weight:bold;margin-top:4px}
.age{font-size:11px;opacity:.75;margin-top:4px}
section{margin-top:14px;background:#fff;border-radius:6px;padding:8px 10px}
section h2{font-size:15px;margin:0 0 6px}
#events{margin:0;padding:0;list-style:none;font:12px/1.4 "Liberation Mono",
 monospace;overflow-wrap:anywhere}
@media (max-width:640px){
 #grid{display:block}
 .cell{display:none}
 .orb{margin-bottom:8px}
}
</style>
</head>
<body>
<header><h1 id="title">Vigil Panel</h1><span id="note"></span></header>
<main id="grid"></main>
<section><h2>Events</h2><ul id="events"></ul></section>
<script type="application/json" id="wall">)html";

constexpr std::string_view kTail = R"html(</script>
<script>
"use strict";
const kItemsShown = 8;
function el(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined && text !== null) e.textContent = String(text);
  return e;
}
function dark(hex) {
  const n = parseInt(hex.slice(1), 16);
  const r = n >> 16, g = (n >> 8) & 255, b = n & 255;
  return 0.299 * r + 0.587 * g + 0.114 * b < 140;
}
function age(seconds) {
  if (seconds === null || seconds === undefined) return "no cycle yet";
  const s = Math.round(seconds);
  if (s < 120) return "last cycle " + s + " s ago";
  if (s < 7200) return "last cycle " + Math.round(s / 60) + " min ago";
  return "last cycle " + Math.round(s / 3600) + " h ago";
}
function items(orb) {
  const table = el("table");
  const numbers = orb.items.map(i => Math.abs(i.value || 0));
  const top = Math.max(1, ...numbers);
  const chart = orb.face === "chart" || orb.face === "unsorted";
  for (const item of orb.items.slice(0, kItemsShown)) {
    const row = el("tr");
    row.append(el("td", "i", item.name), el("td", "v", item.shown),
               el("td", "u", item.unit));
    table.append(row);
    if (chart && item.value !== null) {
      const bar = el("tr"), cell = el("td");
      cell.colSpan = 3;
      const b = el("div", "bar");
      b.style.width = Math.max(2, 100 * Math.abs(item.value) / top) + "%";
      cell.append(b);
      bar.append(cell);
      table.append(bar);
    }
  }
  if (orb.items.length > kItemsShown) {
    const more = el("tr"), cell = el("td", "u",
        "+" + (orb.items.length - kItemsShown) + " more");
    cell.colSpan = 3;
    more.append(cell);
    table.append(more);
  }
  return table;
}
function orbCard(orb) {
  const card = el("article", "orb");
  card.id = "orb-" + orb.stem;
  card.dataset.state = orb.state.code;
  card.style.background = orb.colour;
  card.style.borderColor = orb.frame;
  if (dark(orb.colour)) card.classList.add("dark");
  card.style.gridRow = orb.cells.row + " / span " + orb.cells.rows;
  card.style.gridColumn = orb.cells.column + " / span " + orb.cells.columns;
  const top = el("div", "top");
  top.append(el("span", "name", orb.name || orb.stem),
             el("span", "num", orb.mode + " " + orb.number));
  const state = el("div", "state", orb.state.word + " ");
  state.append(el("span", "face", orb.face));
  card.append(top, state);
  if (orb.waiting) card.append(el("div", "note", orb.waiting));
  if (orb.no_data) card.append(el("div", "note", "no data: " + orb.no_data));
  if (orb.face === "gauge" && orb.items.length && !orb.no_data) {
    const first = orb.items[0];
    card.append(el("div", "big", first.shown + " " + first.unit));
  }
  if (orb.items.length) card.append(items(orb));
  if (orb.runs) card.append(el("div", "age", age(orb.last_cycle_age_seconds)));
  else card.append(el("div", "age", "process " + orb.process));
  return card;
}
function draw(wall) {
  document.getElementById("title").textContent = "Vigil Panel: " + wall.wall;
  document.title = "Vigil Panel: " + wall.wall;
  const grid = document.getElementById("grid");
  grid.style.gridTemplateColumns =
      "repeat(" + wall.columns + ", minmax(0, 1fr))";
  // The free cells too, so that the wall's grid shows.
  const cells = [];
  for (let row = 1; row <= wall.rows; ++row) {
    for (let column = 1; column <= wall.columns; ++column) {
      const cell = el("div", "cell");
      cell.style.gridRow = row;
      cell.style.gridColumn = column;
      cells.push(cell);
    }
  }
  grid.replaceChildren(...cells, ...wall.orbs.map(orbCard));
  const events = document.getElementById("events");
  events.replaceChildren(...wall.events.map(e => el("li", "", e)));
  document.getElementById("note").textContent = wall.error ||
      wall.orbs.length + " orbs, as of " + new Date().toLocaleTimeString();
}
async function poll() {
  try {
    const answer = await fetch("api/wall", {cache: "no-store"});
    if (answer.ok) draw(await answer.json());
    else document.getElementById("note").textContent =
        "the server answers " + answer.status;
  } catch (e) {
    document.getElementById("note").textContent = "the server is not reached";
  }
  setTimeout(poll, 1000);
}
draw(JSON.parse(document.getElementById("wall").textContent));
setTimeout(poll, 1000);
</script>
</body>
</html>
)html";

// No "<" at all inside the script element, which "</script" or "<!--"
// would end or upset; "\u003c" means the same inside a JSON string.
std::string InScript(const std::string& json) {
  std::string text;
  for (const char c : json) {
    if (c == '<') {
      text += "\\u003c";
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace

std::string WallPage(const std::string& wall_json) {
  return std::string(kHead) + InScript(wall_json) + std::string(kTail);
}

}  // namespace vigil::cli
