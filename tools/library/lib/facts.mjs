// SPDX-License-Identifier: Apache-2.0
// The letter table and the picture boxes' sizes, read from their one home, game/library.def,
// which the game includes as C++.
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const defFile = join(dirname(fileURLToPath(import.meta.url)), '..', '..', '..', 'game',
  'library.def');

function readFacts() {
  const letters = [];
  const boxes = {};
  for (const line of readFileSync(defFile, 'utf8').split('\n')) {
    let m = line.match(/^LETTER\("([^"]+)", "([^"]+)"\)/);
    if (m) letters.push({ entry: m[1].normalize('NFC'), sounds: m[2].split(' ') });
    m = line.match(/^BOX\((\w+), (\d+), (\d+)\)/);
    if (m) boxes[m[1]] = { w: Number(m[2]), h: Number(m[3]) };
  }
  if (letters.length !== 35 || !boxes.Answer || !boxes.Letter || !boxes.Face) {
    throw new Error(`${defFile}: expected 35 LETTER lines and the boxes Answer, Letter, Face`);
  }
  return { letters, boxes };
}

const facts = readFacts();

// The letter table, entries 1 to 35 in order ("st" twice).
export const LETTER_TABLE = facts.letters;
// The entries once each, in table order: one letter picture and one folder each.
export const ENTRIES = [...new Set(facts.letters.map((l) => l.entry))];
export const ANSWER_BOX = facts.boxes.Answer;
export const LETTER_BOX = facts.boxes.Letter;
export const FACE_BOX = facts.boxes.Face;
