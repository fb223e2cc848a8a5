// The review's graph: the wolves' chance to win after each choice reviewed, a point a
// choice placed at its odds on a scale of 0 to 100%, written with its mark as the game
// writes it (* fine, ?! an inaccuracy, ? a mistake, ?? a blunder) and coloured by it, and
// under each the night or day of the choice. Hidden from screen readers: the review's
// table says the same.

const NS = "http://www.w3.org/2000/svg";
const TOP = 16; // where 100% stands
const SPAN = 100; // from 100% down to 0%
const STEP = 32; // between two choices
const y = (chance) => TOP + (1 - chance) * SPAN;
const x = (k) => 52 + k * STEP;

// rows: the review's rows (null for one not worked out yet); pick(k) shows choice k.
export function reviewGraph(rows, pick) {
  const points = rows.flatMap((row, k) => (row && !row.declined ? [k] : []));
  if (points.length === 0) return null;
  const svg = document.createElementNS(NS, "svg");
  const width = Math.max(180, x(rows.length - 1) + 20);
  const height = y(0) + 24;
  svg.setAttribute("viewBox", `0 0 ${width} ${height}`);
  svg.setAttribute("class", "review-graph");
  svg.setAttribute("aria-hidden", "true");
  // Its own size in pixels, shrunk to the panel's width where need be, and grown up to half
  // as large again where there is room.
  svg.style.maxWidth = `min(100%, ${width * 1.5}px)`;
  const add = (tag, attributes, text) => {
    const made = document.createElementNS(NS, tag);
    for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
    if (text) made.textContent = text;
    svg.append(made);
    return made;
  };
  for (const chance of [0, 0.5, 1]) {
    add("line", { x1: 40, x2: width - 4, y1: y(chance), y2: y(chance), class: "axis" });
    add("text", { x: 36, y: y(chance) + 4, class: "scale" }, `${chance * 100}%`);
  }
  if (points.length > 1) add("polyline", { points: points.map((k) => `${x(k)},${y(rows[k].win)}`).join(" "), class: "odds-line" });
  rows.forEach((row, k) => {
    if (row) add("text", { x: x(k), y: height - 4, class: "when" }, row.axis);
  });
  for (const k of points) {
    const row = rows[k];
    const kind = row.mark ?? "fine";
    const circle = add("circle", { cx: x(k), cy: y(row.win), r: 4, class: `point ${kind}` });
    circle.addEventListener("click", () => pick(k));
    // The mark over its point, or under it where the point is near the top.
    const above = y(row.win) > TOP + 12;
    add("text", { x: x(k), y: y(row.win) + (above ? -8 : 17), class: `sign ${kind}` }, row.sign || "*");
  }
  return svg;
}
