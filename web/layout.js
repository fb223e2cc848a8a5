// Where the screen goes in the window: the whole screen as in a terminal, beside or above
// the buttons, at the largest text that fits; where that text would be under 13 px (a
// phone held upright), the regions one under another, the cards in as many columns as
// fit. The screen's size and a card's width come from the game's layout.

const MIN_FONT_PX = 13;
const RECORD_WIDTH = 340; // the record panel beside a wide screen
const ROW_EM = 1.17; // the Latin font's own line: rows with kana never grow
// The buttons under the screen stand in one row from this width of window on (in Japanese,
// with every tool shown: practice's and the switch of lies too), in two below it.
const ONE_ROW_WIDTH = 1250;

export function createLayout(layout, { board, recordOpen }) {
  let cellRatio = 0.60205; // the width of a cell in em: DejaVu Sans Mono's, measured again once the fonts are in
  return {
    // Measures a cell of the page's own font.
    measureCell() {
      const probe = document.createElement("span");
      probe.className = "probe";
      probe.textContent = "0".repeat(40);
      board.append(probe);
      const width = probe.getBoundingClientRect().width;
      probe.remove();
      if (width > 0) cellRatio = width / 40 / 100;
    },
    fit() {
      const recordBeside = window.innerWidth >= 1000 && recordOpen();
      document.body.classList.toggle("record-beside", Boolean(recordBeside));
      const width = window.innerWidth - 16 - (recordBeside ? RECORD_WIDTH : 0);
      const height = window.innerHeight - 16;
      const cell = (px) => px * cellRatio;
      const beside = Math.min((width - 176) / cell(layout.columns), height / (layout.rows * ROW_EM));
      // Under the screen the buttons take one row where the window is wide, two elsewhere.
      const padHeight = width >= ONE_ROW_WIDTH ? 64 : 120;
      const below = Math.min(width / cell(layout.columns), (height - padHeight) / (layout.rows * ROW_EM));
      const best = Math.max(beside, below);
      let font;
      let mode;
      if (best >= MIN_FONT_PX) {
        mode = beside > below ? "wide beside" : "wide below";
        font = Math.min(32, Math.floor(best * 2) / 2);
      } else {
        const card = layout.cards.width;
        const perRow = Math.max(1, Math.floor(width / cell(card * MIN_FONT_PX)));
        font = Math.max(MIN_FONT_PX, Math.min(22, Math.floor((width / cell(card * perRow)) * 2) / 2));
        mode = "narrow";
      }
      document.body.classList.remove("wide", "narrow", "beside", "below");
      document.body.classList.add(...mode.split(" "));
      document.documentElement.style.setProperty("--font", `${font}px`);
    },
  };
}
