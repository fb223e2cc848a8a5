// What a screen reader hears: each card as a labelled group, its label made from the
// facts the game gives for it (never read off the drawn cells), and after each key a
// polite live region with what changed: the prompt, the panel lines, the log line, and
// on a choosing screen the seat under the cursor.

// A card in words: seat, name, claim, verdict counts, alive or how it died, and after a
// win its true role.
export function cardLabel(card, text) {
  const parts = [text.seat(card.seat), card.name, card.claim ? text.claims(card.claim) : text.noClaim, text.counts(card.black, card.white)];
  parts.push(card.alive ? text.alive : text.died(card.died.day, card.died.hanged));
  if (card.role) parts.push(text.role(card.role));
  return parts.join(text.and);
}

export function createSpeech({ board, layout, cardBlocks, headText, live }) {
  let said = { prompt: "", log: "", panel: "", cursor: -1 };
  const [headerRow, promptRow] = layout.header;
  const { panel } = layout;
  return {
    // The labels of the cards and the header's text, for the facts of this screen.
    label(cards, text) {
      for (const card of cards) {
        cardBlocks[card.seat].querySelector(".label").textContent = cardLabel(card, text) + (card.cursor ? `${text.and}${text.cursor}` : "");
      }
      headText.textContent = `${board.rowText(headerRow)} ${board.rowText(promptRow)}`;
    },
    // Says what changed since the last screen.
    announce(cards, choosing, text) {
      const prompt = board.rowText(promptRow);
      const log = board.rowText(layout.log);
      const lines = [];
      for (let y = panel.rows[0]; y <= panel.rows[1]; y++) lines.push(board.rowText(y, 0, panel.split), board.rowText(y, panel.split));
      const panelText = lines.filter(Boolean).join(text.sentence);
      const cursor = cards.find((card) => card.cursor);
      const parts = [];
      if (prompt !== said.prompt && prompt) parts.push(prompt);
      if (panelText !== said.panel && panelText) parts.push(panelText);
      if (log !== said.log && log) parts.push(log);
      if (cursor && cursor.seat !== said.cursor && choosing) parts.push(text.cursorOn(cardLabel(cursor, text)));
      said = { prompt, log, panel: panelText, cursor: cursor?.seat ?? -1 };
      const sentences = parts.map((part) => (/[.。!！?？]$/.test(part) ? part : part + text.sentence));
      if (parts.length) live.textContent = sentences.join(" ");
    },
  };
}
