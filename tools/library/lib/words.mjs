// SPDX-License-Identifier: Apache-2.0
// The word list (words.tsv): which answer pictures exist, under which letter, made from what.
import { readFileSync } from 'node:fs';
import { ENTRIES } from './facts.mjs';

export { ENTRIES };

// How many pictures each letter needs at least, and why a letter has fewer than the others:
// minimum.tsv (entry, minimum, reason; the entry "*" stands for every letter not listed).
// tests/tst_wordlist.cpp reads the same file.
export function readMinimum(file) {
  const text = readFileSync(file, 'utf8').normalize('NFC');
  const lines = text.split('\n').filter((l) => l.trim() !== '');
  if (lines.shift() !== 'entry\tminimum\treason') {
    throw new Error(`${file}: header must be "entry<TAB>minimum<TAB>reason"`);
  }
  const minimum = {};
  lines.forEach((line, i) => {
    const [entry, count, reason] = line.split('\t');
    if ((entry !== '*' && !ENTRIES.includes(entry)) || !/^[1-9]\d*$/.test(count ?? '') ||
        !reason?.trim() || entry in minimum) {
      throw new Error(`${file}:${i + 2}: expected a letter listed once, a count and a reason`);
    }
    minimum[entry] = Number(count);
  });
  if (!('*' in minimum)) throw new Error(`${file}: the row for "*" (every other letter) is missing`);
  return (entry) => minimum[entry] ?? minimum['*'];
}

// spoken: how the word is said, in IPA, as `espeak-ng -v de -q --ipa WORD` gives it; where
// espeak-ng is wrong for the word, the form a child hears, and espeak_differs says why.
export const HEADER = ['entry', 'word', 'source', 'spoken', 'espeak_differs'];

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

export function readWords(file, minimumFile) {
  const minimumOf = readMinimum(minimumFile);
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
    const [entry, word, source, spoken, espeakDiffers] = cells.map((c) => c.trim());
    if (!ENTRIES.includes(entry)) problems.push(`${where}: unknown entry "${entry}"`);
    if (!/^[\p{L}][\p{L}-]*$/u.test(word)) problems.push(`${where}: "${word}" is no file name`);
    const misplaced = placementProblem(entry, word);
    if (misplaced) problems.push(`${where}: ${misplaced}`);
    const key = `${entry}/${lower(word)}`;
    if (seen.has(key)) problems.push(`${where}: "${word}" is listed twice`);
    if (!spoken) problems.push(`${where}: "${word}" has no spoken form (espeak-ng -v de -q --ipa)`);
    seen.add(key);
    rows.push({ entry, word, source, spoken, espeakDiffers });
  });
  for (const entry of ENTRIES) {
    const count = rows.filter((r) => r.entry === entry).length;
    const minimum = minimumOf(entry);
    if (count < minimum) problems.push(`"${entry}" has ${count} pictures, needs ${minimum}`);
  }
  if (problems.length) throw new Error(problems.join('\n'));
  return rows;
}

// "sch" -> "Sch sch", as the letter picture shows it.
export function letterLabel(entry) {
  return `${entry[0].toLocaleUpperCase('de-DE')}${entry.slice(1)} ${entry}`;
}
