// The coach's worker: the same WebAssembly as the page, on a thread of its own, so that a
// key is never kept waiting while the odds are worked out. It is given public records
// only (what the screens have shown), never the game, and works them out round after
// round: the choice on screen first, its odds sent after every round as they firm up;
// then, when asked, every choice of a finished game, each sent once it is settled.
//
// From the page: {kind: "odds", id, record}, {kind: "stop"}, {kind: "review", id, records,
//                chosen} (a record: a Uint8Array of exactly the game's decision size; chosen:
//                the code of the choice made at each, or -1, which the review works out as
//                closely as the best; the game says whether the decision offers it).
// To the page:   {kind: "odds", id, odds, settled}, {kind: "review", id, index, odds}
//                (odds: a Uint8Array of exactly the game's odds size), {kind: "refused", id}
//                for a message not of its form (or a record the game does not take), and
//                {kind: "failed"} once anything fails: the worker then works no more.
import createGame from "./jinro.mjs";

const MOST_DECISIONS = 1000; // far more choices than any game has
const MOST_CODE = 0xffff; // above any choice's code
const LIVE = 0; // the module's slot for the choice on screen
const REVIEW = 1; // and for the review

let module = null;
let failed = false;
let live = null; // {id, record, begun}
let review = null; // {id, records, chosen, index, begun}
let busy = false;

const isId = (id) => Number.isSafeInteger(id) && id >= 0;
const hasKeys = (data, keys) => Object.keys(data).sort().join() === keys;
// A record of exactly the game's size, which the module's buffer holds.
const isRecord = (record) => record instanceof Uint8Array && record.length === module._jinro_decision_size() && record.length <= module._jinro_buffer_size();

// The record into the module's buffer, and its odds begun in the slot (for the code of the
// choice made there, or -1): false when the game does not take it. Its size is checked again before
// anything is copied.
function begin(record, slot, chosen = -1) {
  if (!isRecord(record)) return false;
  module.HEAPU8.set(record, module._jinro_buffer());
  return module._jinro_coach_begin(record.length, slot, chosen) === 1;
}

// One round of the slot's rollouts: a copy of its odds so far, and whether they are settled.
function round(slot) {
  const settled = module._jinro_coach_round(slot) === 0;
  const at = module._jinro_coach_odds(slot);
  if (at === 0) throw new Error("no odds in the slot");
  return { odds: module.HEAPU8.slice(at, at + module._jinro_odds_size()), settled };
}

function workLive() {
  if (!live.begun && !(live.begun = begin(live.record, LIVE))) {
    self.postMessage({ kind: "refused", id: live.id });
    live = null;
    return;
  }
  const { odds, settled } = round(LIVE);
  self.postMessage({ kind: "odds", id: live.id, odds, settled }, [odds.buffer]);
  if (settled) live = null;
}

function workReview() {
  if (!review.begun && !(review.begun = begin(review.records[review.index], REVIEW, review.chosen[review.index]))) {
    self.postMessage({ kind: "refused", id: review.id });
    review = null;
    return;
  }
  const { odds, settled } = round(REVIEW);
  if (!settled) return;
  self.postMessage({ kind: "review", id: review.id, index: review.index, odds }, [odds.buffer]);
  review.index += 1;
  review.begun = false;
  if (review.index >= review.records.length) review = null;
}

// One round of the most pressing work, then back to the messages.
function work() {
  busy = false;
  if (failed) return;
  try {
    if (live) workLive();
    else if (review) workReview();
    else return;
  } catch {
    fail();
    return;
  }
  schedule();
}

function schedule() {
  if (busy || !module || failed) return;
  busy = true;
  setTimeout(work, 0);
}

function fail() {
  failed = true;
  live = null;
  review = null;
  self.postMessage({ kind: "failed" });
}

// A message of one of the page's forms, taken; any other answered with a refusal (when it
// names an id) or ignored. A message before the module is in waits with the others.
function take(data) {
  if (typeof data !== "object" || data === null) return;
  const refuse = () => isId(data.id) && self.postMessage({ kind: "refused", id: data.id });
  if (data.kind === "stop" && hasKeys(data, "kind")) {
    live = null;
  } else if (data.kind === "odds" && hasKeys(data, "id,kind,record") && isId(data.id) && isRecord(data.record)) {
    live = { id: data.id, record: data.record.slice(), begun: false };
  } else if (
    data.kind === "review" &&
    hasKeys(data, "chosen,id,kind,records") &&
    isId(data.id) &&
    Array.isArray(data.records) &&
    data.records.length <= MOST_DECISIONS &&
    data.records.every(isRecord) &&
    Array.isArray(data.chosen) &&
    data.chosen.length === data.records.length &&
    data.chosen.every((code) => Number.isInteger(code) && code >= -1 && code <= MOST_CODE)
  ) {
    review = data.records.length > 0 ? { id: data.id, records: data.records.map((r) => r.slice()), chosen: data.chosen.slice(), index: 0, begun: false } : null;
  } else {
    refuse();
  }
}

const waiting = []; // messages that came before the module
self.onmessage = ({ data }) => {
  if (failed) return;
  if (!module) {
    waiting.push(data);
    if (waiting.length > 64) waiting.shift(); // the latest matter
    return;
  }
  take(data);
  schedule();
};

createGame()
  .then((created) => {
    module = created;
    for (const data of waiting.splice(0)) take(data);
    schedule();
  })
  .catch(fail);
