// The record panel (記録): each day's deaths, claims and verdicts as the story tells them,
// and the votes in a table with seats in rows and days in columns, as players draw it. A
// day's votes join it once their screen has been left: the story holds only what the
// screens have shown.
import { $, element, tableHead } from "./dom.js";

const WORDS = {
  ja: { title: "記録", votes: "投票", seat: "席" },
  en: { title: "Record", votes: "Votes", seat: "Seat" },
};

export const recordTitle = (language) => WORDS[language].title;

function voteTable(story, voted, words) {
  const table = element("table");
  table.append(element("caption", words.votes));
  table.append(tableHead([words.seat, ...voted.map((d) => d.heading)]));
  const rows = element("tbody");
  story.names.forEach((name, seat) => {
    const row = element("tr");
    row.append(element("th", `${seat} ${name}`, { scope: "row" }));
    for (const d of voted) row.append(element("td", d.votes[seat] ?? "", d.hanged === seat ? { class: "hanged" } : {}));
    rows.append(row);
  });
  table.append(rows);
  return table;
}

export function renderRecord(story, language) {
  const words = WORDS[language];
  $("record-title").textContent = words.title;
  const body = $("record-body");
  body.replaceChildren();
  if (!story) return;
  const days = story.days.filter((d) => d.day >= 2);
  for (const d of days) {
    if (d.told.length === 0) continue;
    const list = element("ul");
    for (const line of d.told) list.append(element("li", line));
    body.append(element("h3", d.heading), list);
  }
  const voted = days.filter((d) => d.votes);
  if (voted.length > 0) body.append(voteTable(story, voted, words));
}
