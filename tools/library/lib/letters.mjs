// SPDX-License-Identifier: Apache-2.0
// Letter pictures: "A a", "Sch sch", ... set in Andika, all at one size and on one baseline.
import { CONVERT, run } from './render.mjs';
import { LETTER_BOX } from './facts.mjs';
import { letterLabel } from './words.mjs';

export const LETTER_FONT = '/usr/share/fonts/truetype/andika/Andika-Regular.ttf';
export const LETTER_SIZE = LETTER_BOX;
const INK = '#1c3f94';
const MARGIN = { x: 14, y: 6 };

const PROBE = { w: 1400, h: 400, x: 100, baseline: 280, pointsize: 200 };

function probe(label, pointsize) {
  const out = run(CONVERT, ['-size', `${PROBE.w}x${PROBE.h}`, 'xc:white', '-font', LETTER_FONT,
    '-pointsize', String(pointsize), '-fill', 'black', '-annotate',
    `+${PROBE.x}+${PROBE.baseline}`, label, '-trim', '-format', '%w %h %X %Y', 'info:']);
  const [w, h, x, y] = out.trim().split(/\s+/).map((v) => Number(v.replace('+', '')));
  return { w, h, x, y };
}

// One point size and one baseline for all entries, so that every letter picture shows its
// letters at the same height and the widest and tallest of them still fit.
export function letterLayout(entries) {
  const boxes = entries.map((e) => ({ entry: e, label: letterLabel(e), ink: probe(letterLabel(e),
    PROBE.pointsize) }));
  const top = Math.min(...boxes.map((b) => b.ink.y));
  const bottom = Math.max(...boxes.map((b) => b.ink.y + b.ink.h));
  const widest = Math.max(...boxes.map((b) => b.ink.w));
  const scale = Math.min((LETTER_SIZE.w - 2 * MARGIN.x) / widest,
    (LETTER_SIZE.h - 2 * MARGIN.y) / (bottom - top));
  const pointsize = Math.floor(PROBE.pointsize * scale * 10) / 10;
  const inkHeight = (bottom - top) * scale;
  const baseline = Math.round(MARGIN.y + (LETTER_SIZE.h - 2 * MARGIN.y - inkHeight) / 2 +
    (PROBE.baseline - top) * scale);
  return boxes.map((b) => {
    const ink = probe(b.label, pointsize);
    const left = ink.x - PROBE.x;
    const x = Math.round((LETTER_SIZE.w - ink.w) / 2 - left);
    return { entry: b.entry, label: b.label, pointsize, x, baseline };
  });
}

export function writeLetter(layout, outFile) {
  run(CONVERT, ['-size', `${LETTER_SIZE.w}x${LETTER_SIZE.h}`, 'xc:white', '-font', LETTER_FONT,
    '-pointsize', String(layout.pointsize), '-fill', INK, '-annotate',
    `+${layout.x}+${layout.baseline}`, layout.label, '-dither', 'None', '-colors', '256',
    outFile]);
}
