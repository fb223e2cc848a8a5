// The review's graph: the wolves' chance to win after each choice reviewed, a point a
// choice coloured by its mark, on a scale of 0 to 100%. Hidden from screen readers: the
// review's table says the same.

const NS = "http://www.w3.org/2000/svg";
const y = (chance) => 100 - chance * 90;
const x = (k) => 44 + k * 24;

// rows: the review's rows (null for one not worked out yet); pick(k) shows choice k.
export function reviewGraph(rows, pick) {
  const points = rows.flatMap((row, k) => (row && !row.declined ? [k] : []));
  if (points.length === 0) return null;
  const svg = document.createElementNS(NS, "svg");
  const width = Math.max(120, 24 * rows.length + 40);
  svg.setAttribute("viewBox", `0 0 ${width} 110`);
  svg.setAttribute("class", "review-graph");
  svg.setAttribute("aria-hidden", "true");
  const add = (tag, attributes, text) => {
    const made = document.createElementNS(NS, tag);
    for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
    if (text) made.textContent = text;
    svg.append(made);
    return made;
  };
  for (const chance of [0, 0.5, 1]) {
    add("line", { x1: 34, x2: width - 4, y1: y(chance), y2: y(chance), class: "axis" });
    add("text", { x: 30, y: y(chance) + 3, class: "scale" }, `${chance * 100}%`);
  }
  if (points.length > 1) add("polyline", { points: points.map((k) => `${x(k)},${y(rows[k].win)}`).join(" "), class: "odds-line" });
  for (const k of points) {
    const circle = add("circle", { cx: x(k), cy: y(rows[k].win), r: 5, class: `point ${rows[k].mark ?? "fine"}` });
    circle.addEventListener("click", () => pick(k));
  }
  return svg;
}
