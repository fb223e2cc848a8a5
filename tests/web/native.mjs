// The native game's screens, from jinro_replay --cells, and the comparison of a screen the
// page drew (window.jinro.screen(), as fromCells reads it) with one of them.
import { execFileSync } from "node:child_process";
import { strict as assert } from "node:assert";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

// The native game's screens for a seed and keys: rows of text and a colour per cell.
// With last, only the screen after the last key.
export function nativeScreens(replayTool, seed, keys, lang = "ja", { last = false } = {}) {
  const options = ["--cells", ...(last ? ["--last"] : []), "--lang", lang];
  const out = execFileSync(replayTool, [...options, String(seed), keys], { encoding: "utf8", maxBuffer: 1 << 26 });
  let chosen = null;
  let text = out;
  if (keys === "auto") [chosen, text] = [out.slice(0, out.indexOf("\n")), out.slice(out.indexOf("\n") + 1)];
  const frames = text
    .split("\f")
    .slice(1)
    .map((frame) => {
      const lines = frame.split("\n");
      return { rows: lines.slice(0, 24).map((row) => row.replace(/ +$/, "")), colours: lines.slice(24, 48) };
    });
  return { keys: chosen, frames };
}

// The native rows give a box line its filler in the second column; the page gives ""
// there. Both come down to the same text once the second cells are dropped.
export function assertSameScreen(shown, expected, where) {
  for (let y = 0; y < 24; y++) {
    const native = [...expected.rows[y].padEnd(76)];
    let column = 0;
    for (let x = 0; x < 76; x++) {
      const ch = shown.chars[y][x];
      if (ch === "") continue; // the second cell of a double-byte character
      const wide = x + 1 < 76 && shown.chars[y][x + 1] === "";
      assert.equal(ch, native[column], `${where}: row ${y} column ${x}: "${shown.rows[y]}" against "${expected.rows[y]}"`);
      column += wide && /[\u2500-\u257f]/.test(ch) ? 2 : 1; // the native filler of a box line
      const attribute = expected.colours[y][x];
      if (attribute !== "." && ch !== " ") {
        assert.equal(shown.colours[y][x], parseInt(attribute, 16), `${where}: colour of row ${y} column ${x} (${ch})`);
      }
    }
  }
}

// The native game itself in a terminal of its own (a private tmux server, 80 x 25, box lines
// one column wide), for the screens jinro_replay does not play: the rules with lies, the
// coach beside the game, once it shows its first screen (a key typed before would be lost).
// type(keys) types; sameAs(shown, where) waits until the terminal shows the screen the page
// shows (its text: tmux keeps no colour here) and fails with the difference after 20
// seconds; close() ends the tmux server it started.
export async function terminalGame(jinro, options) {
  const folder = mkdtempSync(join(tmpdir(), "jinro-terminal-"));
  const tmux = (...args) => execFileSync("tmux", ["-S", join(folder, "socket"), ...args], { encoding: "utf8" });
  tmux("-f", "/dev/null", "new-session", "-d", "-x", "80", "-y", "25", `env LANG=C.UTF-8 LC_ALL=C.UTF-8 ${jinro} --narrow ${options}`);
  const screen = () => {
    const rows = tmux("capture-pane", "-p").split("\n").slice(0, 24);
    return { rows: rows.map((row) => row.replace(/ +$/, "")), colours: rows.map(() => ".".repeat(80)) };
  };
  for (let waited = 0; !screen().rows[1]; waited += 100) {
    if (waited >= 20000) throw new Error(`${jinro} ${options} showed no screen in a terminal`);
    await sleep(100);
  }
  return {
    type: (keys) => tmux("send-keys", "-l", keys),
    screen,
    async sameAs(shown, where) {
      for (let waited = 0; ; waited += 100) {
        try {
          return assertSameScreen(shown, screen(), where);
        } catch (error) {
          if (waited >= 20000) throw error;
        }
        await sleep(100);
      }
    },
    close() {
      tmux("kill-server");
      rmSync(folder, { recursive: true, force: true });
    },
  };
}

// At 390 x 844: nothing wider than the screen, the cards in fewer columns, no character
// under 13 px, every card and button shown at least 44 px, and on the selection screens the
// header, the prompt, the ten cards and the log line all above the buttons. phoneFacts
// runs in the page.
export function phoneFacts() {
  const box = (e) => e.getBoundingClientRect();
  const visible = [...document.querySelectorAll("#board .line span")].filter((c) => box(c).width > 0);
  const pad = box(document.getElementById("pad"));
  const regions = ["#head .line", "#log .line", ".card"].flatMap((s) => [...document.querySelectorAll(s)]).map(box);
  return {
    viewport: document.documentElement.clientWidth,
    height: window.innerHeight,
    widest: Math.max(...[...document.querySelectorAll("body *")].map((e) => box(e).right)),
    cardTops: new Set([...document.querySelectorAll(".card")].map((c) => Math.round(box(c).top))).size,
    smallest: Math.min(...visible.map((c) => Math.min(box(c).height, parseFloat(getComputedStyle(c).fontSize)))),
    targets: [...document.querySelectorAll(".card, #pad button")]
      .filter((e) => e.getClientRects().length > 0)
      .map((e) => Math.min(box(e).width, box(e).height)),
    lowest: Math.max(...regions.map((r) => r.bottom)),
    padTop: pad.top,
  };
}

export function assertPhoneFacts(m, where) {
  assert.ok(m.widest <= m.viewport + 0.5, `${where}: an element reaches ${m.widest} px of ${m.viewport}`);
  assert.ok(m.cardTops >= 3, `${where}: the cards stand in ${m.cardTops} rows`);
  assert.ok(m.smallest >= 13, `${where}: a character is drawn ${m.smallest} px high`);
  assert.ok(Math.min(...m.targets) >= 44, `${where}: a tap target of ${Math.min(...m.targets)} px`);
  assert.ok(m.lowest <= m.padTop && m.padTop <= m.height, `${where}: the board ends at ${m.lowest}, the buttons start at ${m.padTop}`);
}
