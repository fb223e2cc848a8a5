// The game's screen of cells (counted in Shift-JIS bytes, as in a terminal) drawn by the
// page, region by region as the game lays them out: the header and prompt, the cards, the
// panel lines, the log line. Each region's part of a screen row is one line of text, in
// runs of one colour. The Japanese font is scaled so that a kana or kanji advances exactly
// two cells of the Latin font, and a box line, one cell wide in the Latin font, is
// followed by what a terminal that draws it narrow puts in its second cell; so every
// character stands in its own columns without an element of its own.

const CELL_BYTES = 4; // byte, colour attribute, part, ambiguous class
const LEAD = 1;
const TRAIL = 2;
// A box line padded in its second cell, as a terminal that draws it one column wide shows it.
const FILLERS = { 1: " ", 2: "─", 3: "━" };

// A segment: one region's part of a screen row, drawn as one line of text.
function segmentMaker(segments) {
  return (y, from, to, extra = "") => {
    const element = document.createElement("div");
    element.className = `line${extra}`;
    segments.push({ element, y, from, to });
    return element;
  };
}

const div = (className) => {
  const made = document.createElement("div");
  made.className = className;
  return made;
};

// The cards' two bands, a block a seat (cardBlocks, by seat), and the blank rows between.
function buildCards({ columns, cards }, segment, cardBlocks) {
  const bands = cards.rows.map((top, band) => {
    const element = div("band");
    const gap = div("gap"); // left of the first cursor mark
    gap.setAttribute("aria-hidden", "true");
    for (let y = top; y < top + cards.height; y++) gap.append(segment(y, 0, cards.left));
    element.append(gap);
    for (let k = 0; k < cards.perRow; k++) {
      const seat = band * cards.perRow + k;
      const block = div("card");
      block.dataset.seat = String(seat);
      const lines = document.createElement("div");
      lines.setAttribute("aria-hidden", "true");
      const x0 = cards.left + k * cards.width;
      for (let y = top; y < top + cards.height; y++) lines.append(segment(y, x0, x0 + cards.width));
      const label = document.createElement("span");
      label.className = "label visually-hidden";
      block.append(lines, label);
      element.append(block);
      cardBlocks[seat] = block;
    }
    return element;
  });
  const between = []; // the blank rows between the bands
  for (let y = cards.rows[0] + cards.height; y < cards.rows[1]; y++) {
    const row = segment(y, 0, columns, " between");
    row.setAttribute("aria-hidden", "true");
    between.push(row);
  }
  return [bands[0], ...between, bands[1]];
}

// The characters of Shift-JIS codes, each decoded once.
function characters() {
  const decoder = new TextDecoder("shift_jis");
  const charOf = new Map(); // Shift-JIS code -> character
  return (lead, trail) => {
    const code = (lead << 8) | trail;
    let c = charOf.get(code);
    if (c === undefined) {
      c = decoder.decode(trail === 0 ? new Uint8Array([lead]) : new Uint8Array([lead, trail]));
      if (c.length !== 1 && !(c.length === 2 && c.codePointAt(0) > 0xffff)) c = "?";
      charOf.set(code, c);
    }
    return c;
  };
}

// One cell of the game's cells `now` at (x, y): {ch, shows}, the character and what the
// segment from..to shows of it.
function cellOf(now, x, y, { columns, from, to, character }) {
  const at = (y * columns + x) * CELL_BYTES;
  const [byte, part, ambiguous] = [now[at], now[at + 2], now[at + 3]];
  if (part === TRAIL) return { ch: "", shows: x === from ? " " : "" }; // a character cut by the region's edge shows as a blank
  if (part === LEAD && x + 1 < columns) {
    const ch = character(byte, now[at + CELL_BYTES]);
    if (x + 1 >= to) return { ch, shows: ambiguous ? ch : " " }; // cut by the region's edge
    return { ch, shows: ambiguous ? ch + (FILLERS[ambiguous] ?? " ") : ch };
  }
  const ch = byte >= 0x20 && byte !== 0x7f ? character(byte, 0) : "?";
  return { ch, shows: ch };
}

// Draws one segment from the game's cells: its runs of one colour, and the draw list.
function drawSegment({ element, y, from, to }, now, drawn, { columns, character }) {
  const runs = [];
  let blank = true;
  for (let x = from; x < to; x++) {
    const attr = now[(y * columns + x) * CELL_BYTES + 1];
    const { ch, shows } = cellOf(now, x, y, { columns, from, to, character });
    drawn[y][x] = { ch, attr };
    if (ch.trim()) blank = false;
    const run = runs.at(-1);
    if (run && (run.attr === attr || shows.trim() === "")) run.text += shows;
    else runs.push({ attr, text: shows });
  }
  // A line that wraps on a phone ends at its last character: blanks after it would hang
  // past the edge of the screen.
  if (element.classList.contains("text")) {
    while (runs.length && !runs.at(-1).text.trim()) runs.pop();
    if (runs.length) runs.at(-1).text = runs.at(-1).text.trimEnd();
  }
  element.replaceChildren(
    ...runs.map(({ attr, text }) => {
      const span = document.createElement("span");
      span.className = `a${attr}`;
      span.textContent = text;
      return span;
    }),
  );
  element.classList.toggle("blank", blank);
}

// The board: the elements of every region, built once into the page's containers, and
// drawn from the game's cells as often as asked.
export function createBoard(layout, containers) {
  const { columns, rows, panel } = layout;
  const character = characters();
  const segments = []; // {element, y, from, to}
  const segment = segmentMaker(segments);
  const drawn = Array.from({ length: rows }, () => Array.from({ length: columns }, () => ({ ch: " ", attr: 7 })));
  const cardBlocks = []; // by seat
  let shown = new Uint8Array(rows * columns * CELL_BYTES).fill(255); // what the elements show

  containers.head.append(...layout.header.map((y) => segment(y, 0, columns, " text")));
  // The header's first row has text from the first frame on: when the browser supports
  // element timing, this says when that frame reached the screen.
  segments[0].element.setAttribute("elementtiming", "jinro-first-frame");
  containers.cards.append(...buildCards(layout, segment, cardBlocks));
  for (const [from, to] of [
    [0, panel.split],
    [panel.split, columns],
  ]) {
    const half = div("half");
    for (let y = panel.rows[0]; y <= panel.rows[1]; y++) half.append(segment(y, from, to));
    containers.panel.append(half);
  }
  containers.log.append(segment(layout.log, 0, columns, " text"));

  return {
    cardBlocks,
    // Brings every segment in which a cell changed to the game's cells `now`.
    draw(now) {
      for (const seg of segments) {
        const start = (seg.y * columns + seg.from) * CELL_BYTES;
        const end = (seg.y * columns + seg.to) * CELL_BYTES + CELL_BYTES; // the next lead's trail too
        let same = true;
        for (let at = start; at < end && at < now.length && same; at++) same = now[at] === shown[at];
        if (!same) drawSegment(seg, now, drawn, { columns, character });
      }
      shown = now.slice();
    },
    // The rows as drawn: each cell {ch, attr}; a double-byte character gives its
    // character in its first cell and "" in its second.
    read: () => drawn.map((row) => row.map((cell) => ({ ...cell }))),
    // A row's text as drawn, box lines and runs of blanks read as one space.
    rowText: (y, from = 0, to = columns) =>
      drawn[y]
        .slice(from, to)
        .map((cell) => cell.ch)
        .join("")
        .replace(/[─━│┃┌┐└┘]/g, " ")
        .replace(/\s+/g, " ")
        .trim(),
    cellBytes: rows * columns * CELL_BYTES,
  };
}
