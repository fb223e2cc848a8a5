// The help panel (遊び方): the goal, the roles, the claims, the keys and buttons (with the
// keys as the game names them), the cards, a day. It opens by itself until it has been
// seen once in this browser.
import { $, element, storage } from "./dom.js";

const HELP_SEEN = "jinro.helpSeen";

const WORDS = {
  ja: {
    title: "遊び方",
    body: (k) => [
      ["h3", "目的"],
      [
        "p",
        "あなたは二人の人狼です。夜ごとに村人を一人襲い、昼の投票で吊られないようにして、人狼の数が残りの村人と同じになれば勝ちです。人狼が二人とも吊られると村人の勝ちです。",
      ],
      ["h3", "役"],
      [
        "p",
        "狼 人狼（あなた）。狂 狂人：人狼の味方の村人で、3日目の夜から「死ね」と一人を名指しします。占 占い師：毎晩一人を占い、朝に 黒（人狼）か 白 を言います。霊 霊媒師：前の日に吊られた人が人狼だったかを言います。狩 狩人：毎晩一人を守り、その人への襲撃は失敗します。村 村人：何もしません。",
      ],
      ["h3", "CO（名乗り）"],
      [
        "p",
        "CO は、自分の役を皆の前で名乗ることです。占い師と霊媒師は最初の朝に名乗り、それから毎朝結果を言います。村人はその結果で投票するので、人狼を見つけた占い師がいちばんの脅威です。狩人は名乗らず、たいてい名乗った占い師を守ります。4日目からは狂人も名乗ります。それはあなたの味方が名乗り出たということです。狂人は「死ね」と一人を名指しして、その人に投票します。狂人は襲わないように。",
      ],
      ["h3", "キーとボタン"],
      [
        "p",
        `${k.up} ${k.left} ${k.down} ${k.right}（↑ ← ↓ →）でカーソルを動かし、${k.choose}（決定）で決めます。ほかの画面はどのキーでも（次へ）進みます。勝負がついたら ${k.again}（もう一度）。大文字でも同じです。カードをタップするとカーソルがそこへ動きます。Escape でこの窓を閉じます。`,
      ],
      ["h3", "カード"],
      [
        "p",
        "赤は生きている人狼、紫は 狂 を名乗った人、水色は 占 か 霊 を名乗った人、灰色は死んだ人。CO は名乗った役、黒 と 白 はその人が受けた占いの数、下の行は死んだ日と 襲撃 か 吊り。",
      ],
      ["h3", "一日の流れ"],
      [
        "p",
        "夜：襲う人を選ぶ。朝：死体が見つかり、名乗った人が結果を言う（CO結果）。投票：人狼ごとに一票を入れ、いちばん票の多い人が吊られる（同数ならくじ）。そして次の夜。",
      ],
    ],
  },
  en: {
    title: "How to play",
    body: (k) => [
      ["h3", "Goal"],
      [
        "p",
        "You play both werewolves against eight computer players. Each night your wolves kill one of them; each day everyone votes, and the player with the most votes is hanged. Your wolves win as soon as they are as many as the other living players. The village wins once both wolves are hanged.",
      ],
      ["h3", "Roles"],
      [
        "p",
        "Wo werewolf: you, twice. Ma madman: a human who wins when the wolves win. Se seer: each night he checks one player and tells in the morning whether that player is a wolf or human. Me medium: from day 3 he tells whether the player hanged the day before was a wolf. Bg bodyguard: each night he guards one player (never himself), and an attack on that player fails. Vi villager: no power, only a vote.",
      ],
      ["h3", "Claims"],
      [
        "p",
        "A claim is a player saying openly which role he has. The seer and the medium claim on the first morning and tell their results every morning after; the village votes by them, so a seer who finds a wolf is your worst danger. The bodyguard never claims, and mostly guards a claimed seer. From day 4 the madman claims too: that is your ally announcing himself. He names a player who must die and votes for him; never kill him.",
      ],
      ["h3", "Keys and buttons"],
      [
        "p",
        `${k.up} ${k.left} ${k.down} ${k.right} (↑ ← ↓ →) move the cursor, ${k.choose} (Choose) chooses. On the other screens any key (Next) goes on. After a game, ${k.again} (Again) plays again. Capitals do the same. A tap on a card moves the cursor there. Escape closes this panel.`,
      ],
      ["h3", "Cards"],
      [
        "p",
        "Red: a living wolf. Magenta: the claimed madman. Cyan: a claimed seer or medium. Grey: dead. Claim: the role a player claims (-- for none). Seer W and H: how many times the seer has called that player a wolf (W) or human (H). The last row of the dead: Killed: N2, killed by the wolves on night 2; Hanged: D3, hanged by the village on day 3.",
      ],
      ["h3", "A day"],
      [
        "p",
        "Night 1: choose your victim. Day 2: the body is found, the claimants tell their results, then each wolf votes in turn and the votes are shown (a tie is drawn by lot). The most-voted player is hanged, and night 2 falls. Night N always comes before day N + 1.",
      ],
    ],
  },
};

export const helpTitle = (language) => WORDS[language].title;

// keys: the game's keys by what they do.
export function renderHelp(language, keys) {
  const words = WORDS[language];
  $("help-body").replaceChildren(...words.body(keys).map(([tag, line]) => element(tag, line)));
  $("help-title").textContent = words.title;
}

// True on the first visit: nothing says the help was seen. Remembers that it now is;
// anything but "1" stored there is not ours, and is removed.
export function firstVisit() {
  let seen;
  try {
    seen = storage()?.getItem(HELP_SEEN) ?? null;
    if (seen !== null && seen !== "1") {
      storage().removeItem(HELP_SEEN);
      seen = null;
    }
  } catch {
    seen = null;
  }
  try {
    storage()?.setItem(HELP_SEEN, "1");
  } catch {
    // not remembered: the help opens again next time
  }
  return seen === null && storage() !== null;
}
