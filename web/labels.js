// The page's words in the language chosen: its labels, the pad's buttons with their keys,
// and the switch to the other language; and the language remembered in this browser.
import { isLanguage } from "./texts.js";

const STORED = "jinro.language";
let stored; // the remembered language: undefined until read, null for none

const $ = (id) => document.getElementById(id);

// The remembered language, read once: anything stored there that is not one of the page's
// languages is not ours, and is removed.
export function rememberedLanguage() {
  if (stored === undefined) {
    try {
      stored = window.localStorage.getItem(STORED);
      if (stored !== null && !isLanguage(stored)) {
        window.localStorage.removeItem(STORED);
        stored = null;
      }
    } catch {
      stored = null; // no storage: the page works without remembering
    }
  }
  return stored;
}

export function rememberLanguage(to) {
  stored = to;
  try {
    window.localStorage.setItem(STORED, to);
  } catch {
    // not remembered, nothing more
  }
}

// The labels in the language (text its words; keys the game's keys by what they do, once
// the game is in). Where this browser's languages leave out Japanese, the switch offers
// English in words.
export function showLabels(language, text, keys) {
  document.documentElement.lang = language;
  $("cards").setAttribute("aria-label", text.seats);
  $("pad").setAttribute("aria-label", text.controls);
  $("keys-label").textContent = text.keys;
  $("lies-button").textContent = text.lies;
  if (keys) $("keys-help").textContent = text.keysHelp(keys);
  for (const button of document.querySelectorAll("#pad button[data-action]")) {
    const action = button.dataset.action;
    const [shown, name] = text.buttons[action];
    button.textContent = shown;
    if (name) button.setAttribute("aria-label", keys ? `${name} (${keys[action]})` : name);
    if (keys) button.setAttribute("aria-keyshortcuts", keys[action]);
  }
  // Offered from the first paint on (the storage is read later): only a visitor who chose
  // Japanese before sees the switch change.
  const offer = language === "ja" && !stored && !navigator.languages?.some((l) => l.startsWith("ja"));
  const toggle = $("language");
  toggle.textContent = offer ? "Play in English" : text.switchTo[0];
  toggle.lang = text.other;
  toggle.setAttribute("aria-label", text.switchTo[1]);
  toggle.classList.toggle("offer", offer);
}
