// This browser's statistics: games played, wins as the wolves, and daily villages played on
// consecutive days (Japan's calendar, as the game counts its days). A game counts once,
// when the visitor's own key decided it: never one a link or a replay played.
import { storage } from "./dom.js";

const STATS = "jinro.stats";
const FRESH = { played: 0, wolfWins: 0, streak: 0, lastDaily: -1 };

const count = (value, least = 0) => Number.isSafeInteger(value) && value >= least;

// The statistics as stored: exactly these four whole numbers, each in its range.
function sound(stats) {
  if (typeof stats !== "object" || stats === null || Array.isArray(stats)) return false;
  if (Object.keys(stats).sort().join() !== "lastDaily,played,streak,wolfWins") return false;
  return count(stats.played) && count(stats.wolfWins) && stats.wolfWins <= stats.played && count(stats.streak) && count(stats.lastDaily, -1);
}

// daily(seed): today's village as the game tells it when the seed is its seed, else null;
// reset(): says that what was stored could not be read (once a visit).
export function createStats({ daily, reset }) {
  let told = false;
  // The statistics; anything stored that is not of their form is removed, and said.
  function read() {
    let stats;
    try {
      const stored = storage()?.getItem(STATS) ?? null;
      if (stored === null) return { ...FRESH };
      stats = JSON.parse(stored);
    } catch {
      stats = null;
    }
    if (sound(stats)) return stats;
    try {
      storage()?.removeItem(STATS);
    } catch {
      // nothing stored can be changed: the statistics stay as they are shown
    }
    if (!told) reset();
    told = true;
    return { ...FRESH };
  }

  // A game decided: {wolves: whether the wolves won, seed: the seed it was dealt from}.
  function add({ wolves, seed }) {
    const store = storage();
    if (!store) return;
    const stats = read();
    stats.played += 1;
    if (wolves) stats.wolfWins += 1;
    const today = daily(seed);
    if (today && stats.lastDaily !== today.day) {
      stats.streak = stats.lastDaily === today.day - 1 ? stats.streak + 1 : 1;
      stats.lastDaily = today.day;
    }
    try {
      store.setItem(STATS, JSON.stringify(stats));
    } catch {
      // a full or refused storage: the statistics stay as they were
    }
  }

  return { read, add, kept: () => storage() !== null };
}
