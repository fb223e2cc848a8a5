// The questions practice asks, kept in this browser: the marked choices of the games
// reviewed here, the most recent MOST of them, each with the seed its game was dealt from,
// whether it was played with lies, the keys of that game up to the choice, the odds the
// coach's worker sent for it (as the game's own bytes, in base 64), and how many times it
// has been found (an item leaves after two finds). What is stored is checked against its exact form whenever it is read:
// anything else is removed, and said once.
import { storage } from "./dom.js";

const STORED = "jinro.practice";
const MOST = 40;
const FINDS = 2; // finds that take a question out of the pool
const MOST_CHARACTERS = 64 * 1024; // far more than MOST items take

const toBase64 = (bytes) => btoa(String.fromCharCode(...bytes));
export const fromBase64 = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
const sameQuestion = (a, b) => a.seed === b.seed && a.lies === b.lies && a.keys === b.keys;

// One question as stored: exactly its five fields, each of its form (the keys as the game
// checks a link's, the odds exactly the game's size of odds; the game checks them against
// the question's choices when it is asked).
function sound(item, game, oddsLength) {
  if (typeof item !== "object" || item === null || Array.isArray(item)) return false;
  if (Object.keys(item).sort().join() !== "found,keys,lies,odds,seed") return false;
  if (!Number.isSafeInteger(item.seed) || item.seed < 0 || item.seed > 0xffffffff) return false;
  if (typeof item.lies !== "boolean") return false;
  if (item.found !== 0 && item.found !== 1) return false;
  if (typeof item.keys !== "string" || item.keys.length > game.maxKeys() || !game.checkKeys(item.keys)) return false;
  if (typeof item.odds !== "string" || item.odds.length !== oddsLength || !/^[A-Za-z0-9+/]+={0,2}$/.test(item.odds)) return false;
  try {
    return fromBase64(item.odds).length === game.oddsSize;
  } catch {
    return false;
  }
}

// game: the driver (its keys' check, the size of its odds); told(): what was stored could
// not be read and was removed.
export function createPracticeStore({ game, told }) {
  const oddsLength = 4 * Math.ceil(game.oddsSize / 3);
  let said = false;
  let known = 0; // how many questions were stored when last read or written

  // The questions, oldest first; anything stored that is not of their form is removed.
  function read() {
    let items;
    try {
      const stored = storage()?.getItem(STORED) ?? null;
      items = stored === null ? [] : stored.length <= MOST_CHARACTERS ? JSON.parse(stored) : null;
    } catch {
      items = null;
    }
    if (Array.isArray(items) && items.length <= MOST && items.every((item) => sound(item, game, oddsLength))) {
      known = items.length;
      return items;
    }
    known = 0;
    try {
      storage()?.removeItem(STORED);
    } catch {
      // nothing stored can be changed
    }
    if (!said) told();
    said = true;
    return [];
  }

  function write(items) {
    known = items.length;
    try {
      if (items.length === 0) storage()?.removeItem(STORED);
      else storage()?.setItem(STORED, JSON.stringify(items));
    } catch {
      // a full or refused storage: the questions stay as they were
    }
  }

  return {
    read,
    // How many questions there are, as last read or written (no reading on every key).
    count: () => known,
    // Keeps the marked choices of a game reviewed, each {seed, lies, keys, odds: bytes}: the ones
    // not kept yet, after the others, and only the most recent MOST.
    keep(questions) {
      const items = read();
      for (const q of questions) {
        if (items.some((item) => sameQuestion(item, q))) continue;
        items.push({ seed: q.seed, lies: q.lies, keys: q.keys, odds: toBase64(q.odds), found: 0 });
      }
      write(items.slice(-MOST));
    },
    // A question answered: found once more (and out of the pool after its second find), or
    // not. The questions left.
    answer(question, found) {
      const items = read();
      const at = items.findIndex((item) => sameQuestion(item, question));
      if (at >= 0 && found) {
        items[at].found += 1;
        if (items[at].found >= FINDS) items.splice(at, 1);
      }
      write(items);
      return items;
    },
    // A question that no longer leads to its choice, removed. The questions left.
    remove(question) {
      const items = read().filter((item) => !sameQuestion(item, question));
      write(items);
      return items;
    },
  };
}
