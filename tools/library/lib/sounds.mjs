// SPDX-License-Identifier: Apache-2.0
// The library's sounds, spoken by espeak-ng's German voice and shaped with SoX:
//   images/<entry>/<Wort>.wav   each answer picture's word, beside the picture
//   images/laute/<entry>.wav    each entry's sound, as a sound ("mmm", not "em")
//   images/saetze/<name>.wav    the phrases of the feedback
// The game strings them together with pauses of its own ("Richtig! – Maus. – Am Anfang hörst
// du: – mmm."), so every file is cut close to its sound and all are brought to one loudness.
import { execFileSync, spawnSync } from 'node:child_process';
import { copyFileSync, readFileSync } from 'node:fs';
import { LETTER_TABLE } from './facts.mjs';
import { scratchFile } from './render.mjs';

export const ESPEAK = 'espeak-ng';
export const SOX = 'sox';

// espeak-ng's German voice in its own default variant: the variants only scale its formants
// and pitch, and the female ones add breath noise and roughness. Slowed to about 3.5 syllables
// a second, the pace of speech to young children (its default, 175 words a minute, is about
// 4.6), and a little lower than its default pitch of 50.
export const VOICE = { name: 'de', speed: 130, pitch: 45 };

// Sounds without a vowel sit at the bottom of the voice's pitch in the German phoneme table,
// about 65 Hz, a growl. Raised by this much they come out at about 90 Hz, the pitch a word of
// the voice begins on. (The English table, used for [z] and [v] below, says them at 100 Hz.)
const SOUND_PITCH_LIFT = 23;

// The phrases of the feedback, spoken from text.
export const PHRASES = [
  // Exclaimed, the voice falls from about 105 to 75 Hz: warm and final.
  { file: 'richtig.wav', text: 'Richtig!' },
  // A comma, not a colon: espeak-ng lets a clause that goes on rise a little at its end ("du"),
  // and a colon would end it falling.
  { file: 'am-anfang-hoerst-du.wav', text: 'Am Anfang hörst du,' },
  // Without the apostrophe of "Probier's": espeak-ng makes a pause of it. A little higher than
  // the rest, to sound light.
  { file: 'nochmal.wav', text: 'Probiers noch mal!', pitch: VOICE.pitch + 5 },
];

// How each entry is spoken as a sound, from espeak-ng's phoneme input (its mnemonics, as
// `espeak-ng -v de -x WORD` prints them). A consonant whose mnemonic is repeated comes out
// longer; for f, sch and v each repeat swells and fades on its own, so those are said once
// and drawn out. At the end of a word the German phoneme table says a voiced consonant
// voiceless (final devoicing: "[[z]]" comes out as s, "[[v]]" as f) and a voiced stop hardly
// at all. So the voiced fricatives switch to the English table ("_^_EN"), which has no final
// devoicing and the same [z] and [v], and the stops are said before a schwa and cut where the
// schwa begins. So is r: espeak-ng says the rubbed [ʁ] that words begin with only before a
// vowel, and a tap elsewhere.
//   cut     seconds after the vowel's onset (before it, if negative) where the sound ends; the
//           first hint of the vowel carries the voicing of b, d and g
//   stretch seconds the sound is drawn out to with SoX (tempo -s, which keeps the pitch)
//   fade    seconds of fading out at the end, for sounds that would stop abruptly
//   length  the shortest and longest the file may last
//   steady  a held sound: its level may not swell and fade while it is held
// Entries that share a sound (w and v, j and y) are made the same way.
const HELD = { length: [0.7, 1.0], stretch: 0.8, fade: 0.04, steady: true };
// Long vowels are said at espeak-ng's slowest speed, drawn out further and faded gently.
const VOWEL = { length: [0.6, 0.9], speed: 80, stretch: 0.7, fade: 0.08 };
// Diphthongs as one glide, h as one breath, j as a short glide.
const GLIDE = { length: [0.2, 0.5], fade: 0.04 };
// Stops, affricates and the clusters st and sp: over at once.
const SHORT = { length: [0.02, 0.5] };
export const ENTRY_SOUNDS = {
  a: { say: 'a:', ...VOWEL },
  b: { say: 'b@', cut: 0.02, ...SHORT },
  ch: { say: 'tS', ...SHORT },
  d: { say: 'd@', cut: 0.02, ...SHORT },
  e: { say: 'e:', ...VOWEL },
  f: { say: 'f', ...HELD },
  g: { say: 'g@', cut: 0.02, ...SHORT },
  h: { say: 'hhh@', cut: -0.02, ...GLIDE, stretch: 0.3 },
  i: { say: 'i:', ...VOWEL },
  j: { say: 'jjjj', ...GLIDE },
  k: { say: 'k@', cut: -0.005, ...SHORT },
  l: { say: 'llllll', ...HELD },
  m: { say: 'mmmmmmm', ...HELD },
  n: { say: 'nnnnnnnnnn', ...HELD },
  o: { say: 'o:', ...VOWEL },
  p: { say: 'p@', cut: -0.005, ...SHORT },
  qu: { say: '_^_EN kvvv', ...SHORT, fade: 0.03 },
  r: { say: 'r@', cut: -0.01, ...HELD },
  s: { say: '_^_EN zzzzzzz', ...HELD },
  t: { say: 't@', cut: -0.005, ...SHORT },
  u: { say: 'u:', ...VOWEL },
  v: { say: '_^_EN vv', ...HELD },
  w: { say: '_^_EN vv', ...HELD },
  x: { say: 'ks', ...SHORT },
  y: { say: 'jjjj', ...GLIDE },
  z: { say: 'ts', ...SHORT },
  au: { say: 'aU', ...GLIDE, stretch: 0.4 },
  ei: { say: 'aI', ...GLIDE, stretch: 0.4 },
  st: { parts: [{ say: 'S', stretch: 0.22, fade: 0.03 }, { say: 't@', cut: -0.005 }], ...SHORT },
  sch: { say: 'S', ...HELD },
  sp: { parts: [{ say: 'S', stretch: 0.22, fade: 0.03 }, { say: 'p@', cut: -0.005 }], ...SHORT },
  ö: { say: 'Y:', ...VOWEL },
  ä: { say: 'E:', ...VOWEL },
  ü: { say: 'y:', ...VOWEL },
};

// Words that espeak-ng reads wrongly (words.tsv gives a reason in espeak_differs) are spoken from
// phoneme input made from their spoken form, IPA_TO_ESPEAK below. A word whose spoken form that
// cannot express gets its input here.
export const WORD_INPUT = {};

// IPA as words.tsv writes it, and espeak-ng's German mnemonic for it. Longer symbols first.
const IPA_TO_ESPEAK = [
  ['aɪ', 'aI'], ['aʊ', 'aU'], ['ɔø', 'OY'], ['ɔʏ', 'OY'],
  ['ts', 'ts'], ['tʃ', 'tS'], ['pf', 'pF'], ['dʒ', 'dZ'],
  ['aː', 'a:'], ['ɑː', 'A:'], ['eː', 'e:'], ['ɛː', 'E:'], ['iː', 'i:'], ['oː', 'o:'],
  ['uː', 'u:'], ['yː', 'y:'], ['øː', 'Y:'],
  ['a', 'a'], ['ɑ', 'A'], ['e', 'e'], ['ɛ', 'E'], ['ə', '@'], ['ɜ', '3'], ['ɐ', '3'], ['ɪ', 'I'],
  ['i', 'i'], ['ɔ', 'O'], ['o', 'o'], ['ʊ', 'U'], ['u', 'u'], ['y', 'y'], ['ʏ', 'y'], ['œ', 'W'],
  ['p', 'p'], ['b', 'b'], ['t', 't'], ['d', 'd'], ['k', 'k'], ['ɡ', 'g'], ['g', 'g'], ['f', 'f'],
  ['v', 'v'], ['s', 's'], ['z', 'z'], ['ʃ', 'S'], ['ʒ', 'Z'], ['ç', 'C'], ['x', 'x'], ['χ', 'X'],
  ['h', 'h'], ['m', 'm'], ['n', 'n'], ['ŋ', 'N'], ['l', 'l'], ['r', 'r'], ['ɾ', 'r'], ['ʁ', 'r'],
  ['j', 'j'], ['ˈ', "'"], ['ˌ', ','],
];

// The loudness every file is brought to, and the highest peak it may have. Loudness is the
// loudest fifth of a second, measured through a filter that weighs the frequencies roughly as
// the ear does (ITU-R BS.1770's K filter: a shelf of +4 dB above 1.7 kHz, low rumble cut), so
// that a hissed "sch" and a hummed "mmm" come out equally loud.
const LOUDNESS = { target: -20, peak: -1, weighting: ['highpass', '40', 'treble', '4', '1700'],
  window: 0.2 };
// Trimmed where the sound first and last comes within this many dB of its peak, with a few
// milliseconds kept on either side and faded in and out, so that nothing clicks.
// A file that still has more than a few milliseconds below `silence` dB at either end is not
// trimmed.
const TRIM = { below: 45, keep: 0.004, fadeIn: 0.003, fadeOut: 0.005, silence: 60 };
const RATE = 22050;
// The silence between the parts of a sound, as long as a stop's closure: "sch", then "t".
const CLOSURE = 0.04;

function espeak(args, input) {
  const result = spawnSync(ESPEAK, input === undefined ? args : [...args, input],
    { encoding: 'utf8' });
  if (result.error || result.status !== 0) {
    throw new Error(`${ESPEAK} ${args.join(' ')} "${input}" failed: ` +
      `${result.error?.message ?? result.stderr}`);
  }
  return result.stdout;
}

// What espeak-ng says for input, in IPA, without the blank it starts with and without the
// "(en)" it puts before phonemes of another language's table.
export function espeakIpa(input) {
  return espeak(['-v', VOICE.name, '-q', '--ipa'], input).trim().replace(/^\(\w+\)\s*/, '')
    .normalize('NFC');
}

function sox(args) {
  const result = spawnSync(SOX, ['-V1', ...args], { encoding: 'utf8' });
  if (result.error || result.status !== 0) {
    throw new Error(`${SOX} ${args.join(' ')} failed: ${result.error?.message ?? result.stderr}`);
  }
  return result.stderr;
}

// The samples of a sound file as SoX decodes them, after the given effects.
function samples(file, effects = []) {
  const raw = execFileSync(SOX, ['-V1', '-D', file, '-t', 's16', '-L', '-c', '1', '-', ...effects],
    { maxBuffer: 1 << 28 });
  const out = new Int16Array(raw.length / 2);
  for (let i = 0; i < out.length; i += 1) out[i] = raw.readInt16LE(2 * i);
  return out;
}

// Peak level in dB.
function peakOf(s) {
  let peak = 0;
  for (const v of s) peak = Math.max(peak, Math.abs(v));
  return dB(peak);
}

const dB = (x) => 20 * Math.log10(Math.max(x, 1e-9) / 32768);

// Level in dB of a window of `width` seconds around every `step` seconds.
function envelope(s, width, step) {
  const half = Math.round((width * RATE) / 2);
  const hop = Math.round(step * RATE);
  const out = [];
  for (let c = 0; c < s.length; c += hop) {
    let sum = 0;
    const from = Math.max(0, c - half);
    const to = Math.min(s.length, c + half);
    for (let i = from; i < to; i += 1) sum += s[i] * s[i];
    out.push(dB(Math.sqrt(sum / Math.max(1, to - from))));
  }
  return { levels: out, step: hop / RATE };
}

// How loud a file sounds: the loudest LOUDNESS.window of it, weighted as LOUDNESS says.
function loudnessOf(file) {
  return Math.max(...envelope(samples(file, LOUDNESS.weighting), LOUDNESS.window, 0.01).levels);
}

// Where the vowel after a consonant begins, in seconds: the first moment the sound below 1 kHz
// (where a vowel is far louder than any consonant) comes within 10 dB of its loudest.
function vowelStart(file) {
  const { levels, step } = envelope(samples(file, ['lowpass', '1000']), 0.02, 0.0025);
  const loudest = Math.max(...levels);
  return levels.findIndex((l) => l >= loudest - 10) * step;
}

// First and last moment, in seconds, the sound comes within `below` dB of its peak.
function soundSpan(file, below = TRIM.below) {
  const s = samples(file);
  let peak = 0;
  for (const v of s) peak = Math.max(peak, Math.abs(v));
  const floor = peak * 10 ** (-below / 20);
  let first = 0;
  while (first < s.length && Math.abs(s[first]) < floor) first += 1;
  let last = s.length - 1;
  while (last > first && Math.abs(s[last]) < floor) last -= 1;
  return { first: first / RATE, last: (last + 1) / RATE, length: s.length / RATE };
}

// Scratch files between the steps hold 32-bit floating point samples, so that no step rounds.
function soxStep(inFile, effects) {
  const out = scratchFile('.wav');
  sox(['-D', inFile, '-e', 'floating-point', '-b', '32', out, ...effects]);
  return out;
}

// What espeak-ng says for input, shaped as `shape` says (see ENTRY_SOUNDS), trimmed and faded
// in and out, not yet levelled: a scratch file, and where the sound ended in espeak-ng's output.
function render(input, shape = {}) {
  const raw = scratchFile('.wav');
  espeak(['-v', VOICE.name, '-s', String(shape.speed ?? VOICE.speed), '-p',
    String(shape.pitch ?? VOICE.pitch), '-w', raw], input);
  const said = soundSpan(raw);
  let shaped = raw;
  if (shape.cut !== undefined) {
    shaped = soxStep(shaped, ['trim', '0', (vowelStart(shaped) + shape.cut).toFixed(5)]);
  }
  if (shape.stretch) {
    const { first, last } = soundSpan(shaped);
    shaped = soxStep(shaped, ['tempo', '-s', ((last - first) / shape.stretch).toFixed(4)]);
  }
  const span = soundSpan(shaped);
  const start = Math.max(0, span.first - TRIM.keep);
  const end = Math.min(span.length, span.last + TRIM.keep);
  const file = soxStep(shaped, ['trim', start.toFixed(5), `=${end.toFixed(5)}`, 'fade', 't',
    String(TRIM.fadeIn), '0', String(Math.max(TRIM.fadeOut, shape.fade ?? 0))]);
  return { file, cutOff: said.last > said.length - 0.01 };
}

// Parts said one after the other, with the silence of a stop's closure between them.
function joined(files) {
  if (files.length === 1) return files[0];
  const out = scratchFile('.wav');
  const gapped = files.map((f, i) => (i < files.length - 1 ? soxStep(f, ['pad', '0',
    String(CLOSURE)]) : f));
  sox(['-D', ...gapped, out]);
  return out;
}

// Brings file to the common loudness as 16-bit PCM and checks it (see checkFile); only a file
// that passes is written to imagesDir/name. Returns the checks' measurements and the gain in dB.
function finish(file, imagesDir, name, limits) {
  const gain = Math.min(LOUDNESS.target - loudnessOf(file),
    LOUDNESS.peak - peakOf(samples(file)));
  const out = scratchFile('.wav');
  sox(['-D', file, '-e', 'signed-integer', '-b', '16', '-c', '1', '-r', String(RATE), out,
    'gain', gain.toFixed(2)]);
  const measured = checkFile(out, name, limits);
  copyFileSync(out, `${imagesDir}/${name}`);
  return { ...measured, gain };
}

// ---- checks -------------------------------------------------------------------------------

// The phonemes of an IPA form, as game/sounds.cpp splits them: stress, length and syllable marks
// dropped, the affricates ts, tʃ, pf and dʒ one phoneme each.
export function phonemes(ipa) {
  const plain = [...ipa.normalize('NFC')].filter((c) => !'ˈˌːˑ.‿\u0361\u035c '.includes(c))
    .join('');
  const out = [];
  for (let at = 0; at < plain.length;) {
    let length = ['ts', 'tʃ', 'pf', 'dʒ'].includes(plain.slice(at, at + 2)) ? 2 : 1;
    while (at + length < plain.length && /\p{M}/u.test(plain[at + length])) length += 1;
    out.push(plain.slice(at, at + length));
    at += length;
  }
  return out;
}

export function soundsOf(entry) {
  return LETTER_TABLE.find((l) => l.entry === entry)?.sounds ?? [];
}

export function beginsWithSound(ipa, sounds) {
  const spoken = phonemes(ipa);
  return sounds.some((sound) => {
    const start = phonemes(sound);
    return start.length && start.every((p, i) => spoken[i] === p);
  });
}

// Whether espeak-ng's IPA says what the spoken form says. espeak-ng 1.51 prints "??" for some
// vowels before r (Gurke: ɡˈ??kə); each "?" stands for one phoneme of the spoken form.
export function saysSpoken(said, spoken) {
  const a = phonemes(said);
  const b = phonemes(spoken);
  return a.length === b.length && a.every((p, i) => p === '?' || p === b[i]);
}

// The phoneme input for a word espeak-ng reads wrongly, from its spoken form.
export function phonemeInput(word, spoken) {
  if (WORD_INPUT[word]) return WORD_INPUT[word];
  let out = '';
  for (let at = 0; at < spoken.length;) {
    const hit = IPA_TO_ESPEAK.find(([ipa]) => spoken.startsWith(ipa, at));
    if (!hit) {
      throw new Error(`${word}: no espeak-ng mnemonic for "${spoken.slice(at)}" of [${spoken}]; ` +
        'give the word its phoneme input in WORD_INPUT (tools/library/lib/sounds.mjs)');
    }
    out += hit[1];
    at += hit[0].length;
  }
  return out;
}

// The file as the game will play it: plain 16-bit PCM, mono, 22050 Hz, nothing but the "fmt "
// and "data" chunks, not silent, not clipped, trimmed, and of a plausible length.
export function checkFile(file, name, { shortest, longest, steady = false }) {
  const data = readFileSync(file);
  const header = data.subarray(0, 44);
  const ok = data.length > 44 && header.toString('latin1', 0, 4) === 'RIFF' &&
    header.readUInt32LE(4) === data.length - 8 && header.toString('latin1', 8, 16) === 'WAVEfmt ' &&
    header.readUInt32LE(16) === 16 && header.readUInt16LE(20) === 1 &&
    header.readUInt16LE(22) === 1 && header.readUInt32LE(24) === RATE &&
    header.readUInt16LE(34) === 16 && header.toString('latin1', 36, 40) === 'data' &&
    header.readUInt32LE(40) === data.length - 44;
  if (!ok) throw new Error(`${name} is not a plain 16-bit mono ${RATE} Hz PCM WAVE file`);
  const s = samples(file);
  const peak = peakOf(s);
  const loudness = loudnessOf(file);
  const length = s.length / RATE;
  const problems = [];
  if (peak > LOUDNESS.peak + 0.1) problems.push(`its peak is ${peak.toFixed(1)} dB`);
  if (loudness < LOUDNESS.target - 12) {
    problems.push(`it is almost silent (${loudness.toFixed(1)} dB)`);
  }
  if (length < shortest || length > longest) {
    problems.push(`it lasts ${length.toFixed(3)} s, not ${shortest} to ${longest} s`);
  }
  // A held sound keeps its level until it fades out in its last third.
  if (steady) {
    const { levels } = envelope(samples(file, LOUDNESS.weighting), 0.03, 0.01);
    const held = levels.slice(Math.round(levels.length * 0.1), Math.round(levels.length * 0.7));
    const swing = Math.max(...held) - Math.min(...held);
    if (swing > 6) problems.push(`its level swings by ${swing.toFixed(1)} dB while it is held`);
  }
  // Near-silence at either end longer than what trimming keeps is silence left in.
  const span = soundSpan(file, TRIM.silence);
  const margin = TRIM.keep + 0.006;
  if (span.first > margin || span.length - span.last > margin) problems.push('it is not trimmed');
  if (problems.length) throw new Error(`${name}: ${problems.join(', ')}`);
  return { length, peak, loudness };
}

// ---- making them ---------------------------------------------------------------------------

const VOWELS = 'aeiouyøœɑɛəɜɐɪɔʊʏ';
const isVowel = (phoneme) => VOWELS.includes(phoneme[0]);
// A held sound is one sound: "ʃʃʃt" is ʃt.
const collapsed = (list) => list.filter((p, i) => p !== list[i - 1]);
export const same = (a, b) => a.length === b.length && a.every((p, i) => p === b[i]);

export function espeakVersion() {
  const m = espeak(['--version']).match(/text-to-speech:\s*(\S+)/);
  if (!m) throw new Error(`${ESPEAK} --version names no version`);
  return m[1];
}

function credit(version, what) {
  return `eigene Sprachausgabe mit espeak-ng ${version} (Stimme ${VOICE.name}) ${what}`;
}

function makeWords(imagesDir, words, version) {
  const rows = [];
  for (const row of words) {
    const file = `${row.entry}/${row.word}.wav`;
    const input = row.espeakDiffers ? `[[${phonemeInput(row.word, row.spoken)}]]` : row.word;
    const said = espeakIpa(input);
    if (!beginsWithSound(said, soundsOf(row.entry))) {
      throw new Error(`${file}: espeak-ng says ${input} as [${said}], which begins with none ` +
        `of the sounds of "${row.entry}" (${soundsOf(row.entry).join(' ')})`);
    }
    if (!saysSpoken(said, row.spoken)) {
      throw new Error(`${file}: espeak-ng says ${input} as [${said}], words.tsv says ` +
        `[${row.spoken}]` + (row.espeakDiffers ? '; give the word its phoneme input in WORD_INPUT'
        : '; record what espeak-ng says, or why it is wrong (espeak_differs)'));
    }
    const made = render(input);
    if (made.cutOff) throw new Error(`${file}: espeak-ng's output ends inside the word`);
    // Even a quick word takes 40 ms a phoneme; less is a word cut short.
    const shortest = 0.04 * phonemes(row.spoken).length;
    rows.push({ file, input, ...finish(made.file, imagesDir, file, { shortest, longest: 1.6 }),
      text: credit(version, input === row.word ? `aus dem Wort „${row.word}“`
        : `aus den Phonemen ${input}`) });
  }
  return rows;
}

// The phonemes each part of an entry's sound keeps, as espeak-ng says them: a held sound as one,
// the vowel a part is cut before left out.
export function partPhonemes(parts) {
  return parts.map((part) => {
    const saying = `[[${part.say}]]`;
    const phones = collapsed(phonemes(espeakIpa(saying)));
    if (part.cut !== undefined && !isVowel(phones.pop() ?? '')) {
      throw new Error(`${saying} is cut where its vowel begins, but ends in no vowel`);
    }
    return phones;
  });
}

function makeEntrySounds(imagesDir, entries, version) {
  const rows = [];
  for (const entry of entries) {
    const recipe = ENTRY_SOUNDS[entry];
    const file = `laute/${entry}.wav`;
    if (!recipe) throw new Error(`${file}: ENTRY_SOUNDS has no sound for "${entry}"`);
    const parts = recipe.parts ?? [recipe];
    const input = parts.map((part) => `[[${part.say}]]`).join(' ');
    const said = partPhonemes(parts);
    if (!soundsOf(entry).some((sound) => same(phonemes(sound), said.flat()))) {
      throw new Error(`${file}: ${input} says [${said.flat().join('')}], none of the sounds ` +
        `of "${entry}" (${soundsOf(entry).join(' ')})`);
    }
    const files = parts.map((part, i) => {
      const lifted = part.cut === undefined && !said[i].some(isVowel) &&
        !part.say.includes('_^_');
      const pitch = VOICE.pitch + (lifted ? SOUND_PITCH_LIFT : 0);
      return render(`[[${part.say}]]`, { ...part, pitch }).file;
    });
    const [shortest, longest] = recipe.length;
    rows.push({ file, input, ...finish(joined(files), imagesDir, file, { shortest, longest,
      steady: recipe.steady }), text: credit(version, `aus den Phonemen ${input}`) });
  }
  return rows;
}

function makePhrases(imagesDir, version) {
  return PHRASES.map(({ file: name, text, pitch }) => {
    const file = `saetze/${name}`;
    const made = render(text, { pitch });
    if (made.cutOff) throw new Error(`${file}: espeak-ng's output ends inside the phrase`);
    return { file, input: text, ...finish(made.file, imagesDir, file, { shortest: 0.3,
      longest: 2.5 }), text: credit(version, `aus dem Text „${text}“`) };
  });
}

function table(rows) {
  const line = (r) => `  ${r.file.padEnd(30)} ${r.length.toFixed(3).padStart(6)} s ` +
    `${r.peak.toFixed(1).padStart(6)} dB ${r.loudness.toFixed(1).padStart(6)} dB ` +
    `${r.gain.toFixed(1).padStart(6)} dB  ${r.input}`;
  return rows.map(line).join('\n');
}

// Speaks every file; returns the credits for QUELLEN.txt, one list per kind.
export function makeSounds(imagesDir, words, entries) {
  const version = espeakVersion();
  const wordRows = makeWords(imagesDir, words, version);
  const entryRows = makeEntrySounds(imagesDir, entries, version);
  const phraseRows = makePhrases(imagesDir, version);
  const byLength = [...wordRows].sort((a, b) => a.length - b.length);
  const limited = wordRows.filter((r) => r.loudness < LOUDNESS.target - 0.5);
  console.log(`sounds (length, peak, loudness, gain):\n${table([...entryRows, ...phraseRows])}\n` +
    `  ${wordRows.length} words, ${byLength[0].length.toFixed(3)} s (${byLength[0].file}) to ` +
    `${byLength.at(-1).length.toFixed(3)} s (${byLength.at(-1).file}); ` +
    `${limited.length} held below ${LOUDNESS.target} dB by their peak` +
    (wordRows.some((r) => r.input.startsWith('[[')) ? `; from phonemes:\n${table(wordRows
      .filter((r) => r.input.startsWith('[[')))}` : ''));
  const credits = (rows) => rows.map(({ file, text }) => ({ file, text }));
  return { words: credits(wordRows), entries: credits(entryRows), phrases: credits(phraseRows),
    version };
}
