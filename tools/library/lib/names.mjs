// SPDX-License-Identifier: Apache-2.0
// The names files beside the answer pictures (images/<entry>/<Wort>.txt, game/names.h): the other
// names children give a picture, from names.tsv, and a line "Anlaut: <entry>" where the word
// begins with another letter's sound than its folder's sound file says ("Vogel" in v with f).
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { ENTRIES, LETTER_TABLE } from './facts.mjs';
import { phonemes } from './sounds.mjs';

export const HEADER = ['entry', 'word', 'other_names', 'namings'];

// The first sound each letter's sound file (images/laute/) says, where it is not the first of the
// sounds game/library.def gives the entry (lib/sounds.mjs, ENTRY_SOUNDS).
const LAUT_SAYS = { ch: 'tʃ', s: 'z', v: 'v', y: 'j' };

function lautOf(entry) {
  return LAUT_SAYS[entry] ?? phonemes(LETTER_TABLE.find((l) => l.entry === entry).sounds[0])[0];
}

// Long and short vowels and the two r are one sound to a child: no Anlaut line for them.
const plain = (phoneme) => phoneme.replace('ɑ', 'a').replace('ɛ', 'e').replace('ɪ', 'i')
  .replace('ɔ', 'o').replace('ʊ', 'u').replace('œ', 'ø').replace('ʏ', 'y').replace('ʁ', 'r')
  .replace('ɾ', 'r');

// The entry whose sound file says the word's first sound, where that is not its own folder's.
export function anlautOf(row) {
  const first = plain(phonemes(row.spoken)[0] ?? '');
  if (!first || plain(lautOf(row.entry)) === first) return '';
  const saying = ENTRIES.filter((e) => plain(lautOf(e)) === first);
  if (saying.length !== 1) {
    throw new Error(`${row.entry}/${row.word} begins with [${first}], which no one letter's ` +
      `sound file says (${saying.join(', ') || 'none'})`);
  }
  return saying[0];
}

export function readNames(file, words) {
  const text = readFileSync(file, 'utf8');
  if (text !== text.normalize('NFC')) throw new Error(`${file} is not stored in NFC`);
  const lines = text.split('\n').filter((l) => l.trim() !== '');
  if (lines.shift() !== HEADER.join('\t')) {
    throw new Error(`${file}: header must be "${HEADER.join('<TAB>')}"`);
  }
  const names = new Map();
  lines.forEach((line, i) => {
    const [entry, word, others] = line.split('\t');
    const key = `${entry}/${word}`;
    if (!words.some((w) => w.entry === entry && w.word === word) || names.has(key)) {
      throw new Error(`${file}:${i + 2}: "${key}" is no picture of words.tsv, or listed twice`);
    }
    names.set(key, others.split(',').map((n) => n.trim()).filter(Boolean));
  });
  return names;
}

// Writes the names file of every picture that has other names or an Anlaut; returns the files
// written, relative to images/.
export function writeNamesFiles(imagesDir, words, names) {
  const written = [];
  for (const row of words) {
    const others = names.get(`${row.entry}/${row.word}`) ?? [];
    const anlaut = anlautOf(row);
    if (!others.length && !anlaut) continue;
    const lines = [];
    if (others.length) {
      lines.push('# Andere Namen, die Kinder für dieses Bild sagen, einer je Zeile:', ...others);
    }
    if (anlaut) {
      lines.push(`# ${row.word} beginnt mit dem Laut von „${anlaut}“:`, `Anlaut: ${anlaut}`);
    }
    const file = `${row.entry}/${row.word}.txt`;
    writeFileSync(join(imagesDir, file), `${lines.join('\n')}\n`);
    written.push(file);
  }
  return written;
}
