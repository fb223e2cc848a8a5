// The coach's worker: the same WebAssembly as the page, on a thread of its own, so that a
// key is never kept waiting while the odds are worked out. It is given public records
// only (what the screens have shown), never the game, and works them out round after
// round: the choice on screen first, its odds sent after every round as they firm up;
// then, when asked, every choice of a finished game, each sent once it is settled.
//
// From the page: {kind: "odds", id, record} (bytes), {kind: "stop"},
//                {kind: "review", id, decisions: [{record, chosen}]}.
// To the page:   {kind: "odds", id, odds}, {kind: "review", id, index, odds, verdict},
//                {kind: "failed"}.
import createGame from "./jinro.mjs";

let module = null;
let live = null; // {id, record, begun, settled}
let review = null; // {id, decisions, index, begun}
let busy = false;

const text = (at) => new TextDecoder("ascii").decode(module.HEAPU8.subarray(at, module.HEAPU8.indexOf(0, at)));

function begin(record, slot) {
  module.HEAPU8.set(record, module._jinro_buffer());
  return module._jinro_coach_begin(record.length, slot) === 1;
}

// One round of the most pressing work, then back to the messages.
function work() {
  busy = false;
  if (live && !live.settled) {
    if (!live.begun && !(live.begun = begin(live.record, 0))) live = null;
    else {
      const odds = JSON.parse(text(module._jinro_coach_round(0)));
      live.settled = odds.settled;
      self.postMessage({ kind: "odds", id: live.id, odds });
    }
  } else if (review && review.index < review.decisions.length) {
    const decision = review.decisions[review.index];
    if (!review.begun) review.begun = begin(decision.record, 1);
    const odds = review.begun ? JSON.parse(text(module._jinro_coach_round(1))) : null;
    if (!odds || odds.settled) {
      const verdict = odds ? JSON.parse(text(module._jinro_coach_verdict(1, decision.chosen))) : null;
      self.postMessage({ kind: "review", id: review.id, index: review.index, odds, verdict });
      review.index += 1;
      review.begun = false;
    }
  } else {
    return;
  }
  schedule();
}

function schedule() {
  if (busy || !module) return;
  busy = true;
  setTimeout(work, 0);
}

self.onmessage = ({ data }) => {
  if (data.kind === "odds") live = { id: data.id, record: new Uint8Array(data.record), begun: false, settled: false };
  else if (data.kind === "stop") live = null;
  else if (data.kind === "review")
    review = { id: data.id, decisions: data.decisions.map((d) => ({ record: new Uint8Array(d.record), chosen: d.chosen })), index: 0, begun: false };
  schedule();
};

createGame()
  .then((created) => {
    module = created;
    schedule();
  })
  .catch(() => self.postMessage({ kind: "failed" }));
