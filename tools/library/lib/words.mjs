// SPDX-License-Identifier: Apache-2.0
// The word list (words.tsv): which answer pictures exist, under which letter, made from what.
import { readFileSync } from 'node:fs';
import { ENTRIES } from './facts.mjs';

export { ENTRIES };

// Everywhere at least five pictures, except where German has fewer things a young child names
// at once with a word of that letter and with no word of another (tests/tst_wordlist.cpp gives
// the reason for each).
export const MINIMUM = {
  ch: 2, i: 3, j: 3, o: 3, qu: 2, u: 3, x: 1, y: 1, au: 3, sp: 4,
  '\u00f6': 1, '\u00e4': 1, '\u00fc': 1,
};
export const DEFAULT_MINIMUM = 5;

export const HEADER = ['entry', 'word', 'source'];

const lower = (s) => s.toLocaleLowerCase('de-DE');

// Longer entries that a word under a single-letter entry must not start with ("Auto" is "au").
export function longerEntries(entry) {
  return ENTRIES.filter((e) => e.length > entry.length && e.startsWith(entry));
}

// Why a word does not belong under an entry, or null when it does.
export function placementProblem(entry, word) {
  const w = lower(word);
  if (!w.startsWith(entry)) return `"${word}" does not begin with "${entry}"`;
  const longer = longerEntries(entry).find((e) => w.startsWith(e));
  if (longer) return `"${word}" begins with "${longer}" and belongs there, not under "${entry}"`;
  return null;
}

export function readWords(file) {
  const text = readFileSync(file, 'utf8');
  if (text !== text.normalize('NFC')) throw new Error(`${file} is not stored in NFC`);
  const lines = text.split('\n').filter((l) => l.trim() !== '');
  const header = lines.shift().split('\t');
  if (header.join('\t') !== HEADER.join('\t')) {
    throw new Error(`${file}: header must be "${HEADER.join('<TAB>')}"`);
  }
  const problems = [];
  const rows = [];
  const seen = new Set();
  lines.forEach((line, i) => {
    const where = `${file}:${i + 2}`;
    const cells = line.split('\t');
    if (cells.length !== HEADER.length) {
      problems.push(`${where}: expected ${HEADER.length} columns`);
      return;
    }
    const [entry, word, source] = cells.map((c) => c.trim());
    if (!ENTRIES.includes(entry)) problems.push(`${where}: unknown entry "${entry}"`);
    if (!/^[\p{L}][\p{L}-]*$/u.test(word)) problems.push(`${where}: "${word}" is no file name`);
    const misplaced = placementProblem(entry, word);
    if (misplaced) problems.push(`${where}: ${misplaced}`);
    const key = `${entry}/${lower(word)}`;
    if (seen.has(key)) problems.push(`${where}: "${word}" is listed twice`);
    seen.add(key);
    rows.push({ entry, word, source });
  });
  for (const entry of ENTRIES) {
    const count = rows.filter((r) => r.entry === entry).length;
    const minimum = MINIMUM[entry] ?? DEFAULT_MINIMUM;
    if (count < minimum) problems.push(`"${entry}" has ${count} pictures, needs ${minimum}`);
  }
  if (problems.length) throw new Error(problems.join('\n'));
  return rows;
}

// "sch" -> "Sch sch", as the letter picture shows it.
export function letterLabel(entry) {
  return `${entry[0].toLocaleUpperCase('de-DE')}${entry.slice(1)} ${entry}`;
}
