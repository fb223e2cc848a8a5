// The help panel (遊び方): the goal, the roles, the claims, the keys and buttons (with the
// keys as the game names them), the cards, a day, how the computer players act, the village
// with lies and how its players weigh the claims, the coach's figures. It opens by itself
// until it has been seen once in this browser.
import { $, element, storage } from "./dom.js";

const HELP_SEEN = "jinro.helpSeen";

const WORDS = {
  ja: {
    title: "遊び方",
    liesTitle: "騙りのある村",
    liesSwitch: "騙りあり",
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
        `${k.up} ${k.left} ${k.down} ${k.right}（↑ ← ↓ →）でカーソルを動かし、${k.choose}（決定）で決めます。ほかの画面はどのキーでも（次へ）進みます。勝負がついたら ${k.again}（もう一度）。騙りのある村の朝は ${k.seer}（占い師）、${k.medium}（霊媒師）、${k.black}（黒）、${k.white}（白）。大文字でも同じです。カードをタップするとカーソルがそこへ動きます。Escape でこの窓を閉じます。`,
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
      ["h3", "コンピュータの動き"],
      [
        "p",
        "投票：占い師が一人だけ名乗っていれば、黒と言われた生きている人のうち席番号のいちばん小さい人に。いなければ、ときどき霊媒師の規則（3日目から、霊媒師が一人で前日に吊られた人を白と言ったとき、10 回に 3 回、その人に投票した人のうち名乗りも白もない人に）。それもなければ名乗りも白もない人に。占い師の名乗りがなければ、霊媒師の規則か、名乗りのない人に。占い師が二人以上なら、でたらめに。狂人は自分が「死ね」と言った人に投票します。",
      ],
      [
        "p",
        "護衛：狩人はたいてい名乗った占い師を守ります。ときどき（夜の 15%）名乗った霊媒師を先に、占い師がいなければ霊媒師を、どちらもいなければだれかを。自分は守りません。占い：占い師は、だれもまだ何も知らない人（名乗りも判定もない人）を占います。",
      ],
      ["h3", "コーチの数字と印"],
      [
        "p",
        "41% (38-44%)：その手を選んだあとの人狼の勝率と、その 95% 区間。「最善と同等」：役の配り方ごとに比べても最善の手と差が見分けられない手で、そうした手はすべて最善として印がつきます。振り返りは、最善の手より勝率を 5 ポイント以上落とした手に ?!（疑問手）、10 ポイントで ?（悪手）、20 ポイントで ??（大悪手）をつけます。印は、その落ちが 95% の確かさで言えるときだけです。",
      ],
      [
        "p",
        "正確さ：最善の手の勝率のうち、選んだ手で保てた割合の平均（どの手も最善と同等なら 100%）。運の振れ：二つの選択のあいだに起きたこと（護衛、占い、投票）が勝率を 20 ポイント以上動かしたこと。練習：印のついた手を、勝率を隠して二度見つけるまで出題します。",
      ],
      ["h3", "騙りのある村"],
      [
        "p",
        `「騙りあり」を押すと、人狼が騙れるようになります。まだ一手も指していないゲームからすぐ、遊んでいる途中なら次のゲームから（このブラウザが覚えます。リンクの bluff=1 でも同じ）。朝ごとに、まだ名乗っていない生きている人狼に聞かれます：${k.seer}（占い師）か ${k.medium}（霊媒師）で騙り、ほかのキー（騙らない）で騙りません。占い師を騙ったら毎朝、カーソルで生きている人を選び、${k.black}（黒）か ${k.white}（白）。霊媒師を騙ったら3日目から毎朝、前の日に吊られた人を ${k.black} か ${k.white}。騙りは本物の名乗りと同じに見えます。`,
      ],
      [
        "p",
        "この村の人は騙りを見抜こうとします。本物の占い師は、ほかの占い師と、自分と食い違う霊媒師を嘘つきと知ります。本物の霊媒師は、ほかの霊媒師と、自分と食い違う占い師を嘘つきと知ります。霊媒師が一人だけなら、その言葉は皆に見えます：吊られた人について霊媒師と食い違った占い師は嘘つき。吊られた占い師が黒と出れば騙り、白と出れば本物で、残りの占い師は嘘つき。信じられる占い師が一人なら、それと食い違う霊媒師も同じです。",
      ],
      [
        "p",
        "投票：知っている嘘つきのうち席番号のいちばん小さい人に。本物の占い師は自分の黒に。信じられる占い師が一人なら、その黒のうちいちばん小さい人に。見分けのつかない占い師が二人以上なら、自分以外でいちばん小さい人に（ローラー：名乗った人を順に吊り、霊媒師の言葉で残りを見ます）。霊媒師が二人以上でも同じです。それもなければ 10 回に 3 回、ただ一人名乗った占い師か霊媒師に前の日までに投票した名乗りのない人を疑い、その中からでたらめに。あとは騙りのない村と同じで、嘘つきと分かった人の名乗りは数えません。",
      ],
      [
        "p",
        "狩人は、嘘つきと皆に分かった人を守りません。本物の占い師は、二人以上が名乗った役の人のうち、まだ占っていない生きている人を、席番号の小さい順に占います。狂人はいつもどおりです。",
      ],
    ],
  },
  en: {
    title: "How to play",
    liesTitle: "The village with lies",
    liesSwitch: "Lies",
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
        `${k.up} ${k.left} ${k.down} ${k.right} (↑ ← ↓ →) move the cursor, ${k.choose} (Choose) chooses. On the other screens any key (Next) goes on. After a game, ${k.again} (Again) plays again. In the village with lies, on the morning: ${k.seer} (Seer), ${k.medium} (Medium), ${k.black} (Wolf), ${k.white} (Human). Capitals do the same. A tap on a card moves the cursor there. Escape closes this panel.`,
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
      ["h3", "How the computer players act"],
      [
        "p",
        "Votes: with one claimed seer, for the lowest-numbered living player he called a wolf; if there is none, sometimes the medium's rule (from day 3, when the one medium says yesterday's hanged player was human, 3 times in 10: a player with neither a claim nor a human verdict who voted for him); else a player with neither a claim nor a human verdict. Without a claimed seer: the medium's rule, else a player without a claim. With two claimed seers or more: at random. The madman votes for the player he called for.",
      ],
      [
        "p",
        "Guards: the bodyguard guards a claimed seer most often; sometimes (15% of nights) the claimed medium first; without a seer, the medium; else anyone; never himself. Inspections: the seer checks a player nobody knows anything about (no claim, no verdict).",
      ],
      ["h3", "The coach's figures and marks"],
      [
        "p",
        "41% (38-44%): the wolves' chance to win after that choice, and its 95% interval. As good as the best: compared deal by deal, the choice cannot be told from the best one; every such choice is marked as best. The review marks a choice that lost 5 points or more against the best ?! (inaccuracy), 10 ? (mistake), 20 ?? (blunder), and only where that loss is certain at 95%.",
      ],
      [
        "p",
        "Accuracy: how much of the best choice's chance your choices kept, on average (100% when every choice was as good as the best). Swing of luck: what happened between two choices (a guard, a verdict, a vote) moved the odds 20 points or more. Practice asks the marked choices again, the odds hidden, until you have found each twice.",
      ],
      ["h3", "The village with lies"],
      [
        "p",
        `With Lies on, your wolves may lie: at once in a game without a key played yet, else from the next game (this browser remembers; a link with bluff=1 does the same). Each morning every living wolf without a claim is asked: ${k.seer} claims the seer, ${k.medium} the medium, any other key (No claim) does not. A false seer then names a living player every morning with the cursor and calls him a wolf (${k.black}) or human (${k.white}); a false medium, from day 3, calls the player hanged the day before a wolf (${k.black}) or human (${k.white}). A false claim looks exactly like a true one.`,
      ],
      [
        "p",
        "In this village the players look for the liars. The true seer knows that any other seer lies, and a medium who contradicts him; the true medium knows that any other medium lies, and a seer he contradicts. When one medium alone has claimed, everybody sees what he shows: a seer he contradicts on a hanged player lies; a hanged seer he reads as a wolf lied, and one he reads as human told the truth, so the other seers lie. A lone seer nobody has shown false shows a medium who contradicts him the same way.",
      ],
      [
        "p",
        "Votes: the lowest-numbered living liar the player knows; else the true seer's own wolf; else, with one seer to trust, the lowest-numbered player he called a wolf; else, with two seers or more nobody can tell apart, the lowest-numbered of them but himself (a roller: the claimants are hanged in turn, and the medium's word on the first tells about the rest); then the same for two mediums; else, 3 times in 10, a player without a claim who voted on an earlier day for a seer or medium who was then the only one to claim that role, drawn at random; else as in the village without lies, the claims of known liars left out.",
      ],
      [
        "p",
        "The bodyguard never guards a claimant everybody knows to lie. The true seer checks a living claimant of a role two players or more claim, one he has not checked yet, the lowest-numbered first. The madman acts as ever.",
      ],
    ],
  },
};

export const helpTitle = (language) => WORDS[language].title;

// keys: the game's keys by what they do; practice: {count(), label(), start()}, a button
// for it at the end while there are questions to practise; lies: {on(), toggle()}, the
// switch of the village with lies, under its heading (the tools leave it out where the
// window is short).
export function renderHelp(language, keys, practice, lies) {
  const words = WORDS[language];
  const body = words.body(keys).map(([tag, line]) => element(tag, line));
  const switchAt = body.findIndex((made) => made.textContent === words.liesTitle) + 1;
  const switchButton = element("button", words.liesSwitch, { type: "button", class: "switch", "aria-pressed": String(lies.on()) });
  switchButton.addEventListener("click", () => {
    lies.toggle();
    renderHelp(language, keys, practice, lies); // the switch as it is now, still focused
    $("help-body").querySelector(".switch").focus();
  });
  body.splice(switchAt, 0, switchButton);
  if (practice.count() > 0) {
    const button = element("button", practice.label(), { type: "button", class: "practise" });
    button.addEventListener("click", practice.start);
    body.push(button);
  }
  $("help-body").replaceChildren(...body);
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
