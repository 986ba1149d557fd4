// SPDX-License-Identifier: Apache-2.0
// The sounds of the library (lib/sounds.mjs): the rules that decide what may be written, and the
// committed files against the word list. Run with `npm test` in tools/library.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import assert from 'node:assert/strict';
import { after, test } from 'node:test';
import { ENTRIES, readWords } from '../lib/words.mjs';
import { ENTRY_SOUNDS, PHRASES, beginsWithSound, checkFile, partPhonemes, phonemeInput, phonemes,
  same, saysSpoken, soundsOf } from '../lib/sounds.mjs';

const toolDir = join(dirname(fileURLToPath(import.meta.url)), '..');
const imagesDir = join(toolDir, '..', '..', 'images');
const has = (program) => !spawnSync(program, ['--version']).error;

// The same rule as game/sounds.cpp, which the game's pages use: a sound that is one phoneme for
// the game must be one here, or a word could be filed under a sound the game never plays for it.
test('a spoken form begins with a sound phoneme by phoneme', () => {
  for (const [ipa, sounds, begins] of [
    ['tsˈeːbʁa', ['t'], false], ['tsˈeːbʁa', ['ts'], true], ['ʃtˈɛʁn', ['ʃt'], true],
    ['ʃtˈɛʁn', ['ʃ'], true], ['ˈaɪs', ['a'], true], ['ˈɔøɜ', ['o'], false],
    ['pfˈɛɐt', ['p'], false],
  ]) {
    assert.equal(beginsWithSound(ipa, sounds), begins, `${ipa} and ${sounds}`);
  }
});

// espeak-ng prints "??" where it cannot name a vowel before r; a "?" may stand for one phoneme,
// never for two, and stress marks do not count.
test('espeak-ng\'s reading is compared phoneme by phoneme', () => {
  assert.ok(saysSpoken('ɡˈ??kə', 'ˈɡʊʁkə'));
  assert.ok(saysSpoken('dˈoːnat', 'ˈdoːnat'));
  assert.ok(!saysSpoken('dˈoːnuːt', 'ˈdoːnat'));
  assert.ok(!saysSpoken('ɡˈ?kə', 'ˈɡʊʁkə'));
});

// Longer symbols first: "ɔø" is one diphthong, not ɔ and ø; an unknown symbol stops with advice.
test('a spoken form becomes espeak-ng phoneme input', () => {
  assert.equal(phonemeInput('Donut', 'ˈdoːnat'), "'do:nat");
  assert.equal(phonemeInput('Joghurt', 'ˈjoːɡʊʁt'), "'jo:gUrt");
  assert.equal(phonemeInput('Feuer', 'fˈɔøɜ'), "f'OY3");
  assert.equal(phonemeInput('Zwiebel', 'tsvˈiːbəl'), "tsv'i:b@l");
  assert.throws(() => phonemeInput('Thriller', 'θrɪlɐ'), /WORD_INPUT/);
});

// Where espeak-ng is installed: every entry's sound says one of the entry's sounds, and a word
// made from its spoken form comes out as that form.
test('espeak-ng says what the tables mean', { skip: !has('espeak-ng') }, () => {
  for (const entry of ENTRIES) {
    const said = partPhonemes(ENTRY_SOUNDS[entry].parts ?? [ENTRY_SOUNDS[entry]]).flat();
    assert.ok(soundsOf(entry).some((sound) => same(phonemes(sound), said)),
      `${entry}: [${said.join('')}]`);
  }
});

// What make-library writes is checked before it is written: each of these faults is refused.
test('a sound file is refused when it is silent, clipped, untrimmed, too long or swells',
  { skip: !has('sox') }, () => {
    const dir = mkdtempSync(join(tmpdir(), 'lautgarten-sounds-'));
    after(() => rmSync(dir, { recursive: true, force: true }));
    const make = (name, effects, rate = '22050') => {
      const file = join(dir, name);
      spawnSync('sox', ['-D', '-n', '-r', rate, '-c', '1', '-b', '16', file, 'synth', '0.6',
        'sine', '220', ...effects]);
      return file;
    };
    const limits = { shortest: 0.3, longest: 1, steady: true };
    const fades = ['fade', 't', '0.003', '0', '0.005'];
    assert.equal(checkFile(make('good.wav', ['gain', '-12', ...fades]), 'good', limits).length,
      0.6);
    for (const [name, effects, fault, rate] of [
      ['silent.wav', ['gain', '-50', ...fades], /almost silent/],
      ['clipped.wav', ['gain', '0', ...fades], /peak/],
      ['untrimmed.wav', ['gain', '-12', ...fades, 'pad', '0.1', '0.1'], /not trimmed/],
      ['long.wav', ['gain', '-12', ...fades, 'repeat', '1'], /lasts/],
      ['swelling.wav', ['gain', '-12', 'tremolo', '3', '90', ...fades], /swings/],
      ['44k.wav', ['gain', '-12', ...fades], /not a plain/, '44100'],
    ]) {
      assert.throws(() => checkFile(make(name, effects, rate), name, limits), fault, name);
    }
  });

// A word added to words.tsv or an entry added to game/library.def without running make-library
// leaves the game without its sound; a word taken out leaves a sound behind.
test('the library holds a sound for every word, entry and phrase, and no other', () => {
  const words = readWords(join(toolDir, 'words.tsv'), join(toolDir, 'minimum.tsv'));
  const wavs = (dir) => readdirSync(join(imagesDir, dir)).filter((f) => f.endsWith('.wav'))
    .map((f) => f.normalize('NFC')).sort();
  for (const entry of ENTRIES) {
    assert.deepEqual(wavs(entry), words.filter((w) => w.entry === entry)
      .map((w) => `${w.word}.wav`).sort(), entry);
  }
  assert.deepEqual(wavs('laute'), ENTRIES.map((e) => `${e}.wav`).sort());
  assert.deepEqual(wavs('saetze'), PHRASES.map((p) => p.file).sort());
});
