// The least a page can do to show this game's first screen: the same WebAssembly and the
// same two fonts (or, with ?fonts=system, the system's), the cells painted on a canvas,
// and nothing else (no controls, no text
// for a screen reader, no layout). scripts/web-budget measures it beside the blank page
// and the real one, to show how much of the real page's time this machine asks of any page.
import createGame from "./jinro.mjs";

const COLOURS = { 7: "#c0c0c0", 10: "#55ff55", 11: "#55ffff", 12: "#ff5555", 13: "#ff55ff", 15: "#ffffff" };
const [COLUMNS, ROWS, PX] = [76, 24, 16];
const asked = new URLSearchParams(location.search);
const system = asked.get("fonts") === "system"; // the system's monospace font instead: nothing to load
const fonts = [
  ["JinroLatin", "fonts/jinro-latin.woff2"],
  ["JinroCJK", "fonts/jinro-cjk.woff2"],
].map(([name, url]) => (system ? null : new FontFace(name, `url(${url})`).load().then((face) => document.fonts.add(face))));
const game = await createGame();
game._jinro_start(Number(asked.get("seed")));
await Promise.all(fonts);

const at = game._jinro_cells();
const cells = game.HEAPU8.subarray(at, at + COLUMNS * ROWS * 4);
const decoder = new TextDecoder("shift_jis");
const [cell, row] = [PX * 0.60205, Math.round(PX * 1.17)];
const canvas = document.querySelector("canvas");
canvas.width = Math.ceil(COLUMNS * cell * devicePixelRatio);
canvas.height = ROWS * row * devicePixelRatio;
const g = canvas.getContext("2d");
g.scale(devicePixelRatio, devicePixelRatio);
g.textBaseline = "middle";
for (let y = 0; y < ROWS; y++) {
  for (let x = 0; x < COLUMNS; x++) {
    const i = (y * COLUMNS + x) * 4;
    if (cells[i + 2] === 2 || cells[i] === 0x20) continue; // a second byte, a blank
    const wide = cells[i + 2] === 1;
    g.fillStyle = COLOURS[cells[i + 1]] ?? COLOURS[7];
    g.font = `${wide ? PX * 1.2041 : PX}px ${system ? "monospace" : wide ? "JinroCJK" : "JinroLatin"}`;
    g.fillText(decoder.decode(cells.subarray(i, wide ? i + 8 : i + 1).filter((_, k) => k % 4 === 0)), x * cell, y * row + row / 2);
  }
}
