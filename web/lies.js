// The village with lies (騙りあり): whether a game is played under the rules with lies. The
// page's address asks for them with bluff=1 (the links of such a game carry it); a new game
// the address says nothing of follows the switch among the tools, off at first and
// remembered in this browser. A value of either that is not of its form is said, and left
// out; a stored one is removed.

const STORED = "jinro.lies";

// What the address asks: true for bluff=1, null where it says nothing of lies. Any other
// value of bluff is refused (refused() says so), and counts as nothing said.
export function askedLies(params, refused) {
  if (!params.has("bluff")) return null;
  if (params.get("bluff") === "1") return true;
  refused();
  return null;
}

// The switch as remembered: "1" on, "0" off, nothing stored off. Anything else stored there
// is not ours: removed, and said (reset()).
function readSwitch(reset) {
  try {
    const stored = window.localStorage.getItem(STORED);
    if (stored === null || stored === "1" || stored === "0") return stored === "1";
    window.localStorage.removeItem(STORED);
    reset();
  } catch {
    // no storage: off, and not remembered
  }
  return false;
}

// button: the switch; reset(): a stored value was not ours and was removed; toggled(on):
// the switch was turned on or off.
export function createLiesSwitch({ button, reset, toggled }) {
  let on = readSwitch(reset);
  const show = () => button.setAttribute("aria-pressed", String(on));
  const toggle = () => {
    on = !on;
    try {
      window.localStorage.setItem(STORED, on ? "1" : "0");
    } catch {
      // not remembered
    }
    show();
    toggled(on);
  };
  show();
  button.addEventListener("click", toggle);
  // The switch's state, and turning it (the help has a switch of its own).
  return { on: () => on, toggle };
}
