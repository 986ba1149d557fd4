// SPDX-License-Identifier: Apache-2.0
// Thin wrappers around rsvg-convert and ImageMagick, the two renderers the library is made with.
import { execFileSync } from 'node:child_process';
import { existsSync, readFileSync, writeFileSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { inflateSync } from 'node:zlib';
import { parseSvg, wrapSvg } from './svg.mjs';

// /usr/local/bin may hold other programs called "convert"; the Debian one is the one we mean.
export const CONVERT = existsSync('/usr/bin/convert-im6.q16')
  ? '/usr/bin/convert-im6.q16'
  : '/usr/bin/convert';
export const MONTAGE = existsSync('/usr/bin/montage-im6.q16')
  ? '/usr/bin/montage-im6.q16'
  : '/usr/bin/montage';
export const RSVG = 'rsvg-convert';

// PNG files without time stamps, so that a second run writes the same bytes.
export const PNG_CLEAN = ['-define', 'png:exclude-chunks=date,time,tIME', '+set', 'date:create',
  '+set', 'date:modify'];

// Answer pictures are decoded while the program starts. Rows stored with PNG filter None (type 0)
// decode with the least work, and for these flat pictures they are also smaller on the whole
// (at zlib level 9 with the default strategy) than with the adaptive filters. ImageMagick hands
// png:compression-filter to libpng as it is, and libpng 1.6 takes 0 there as "no choice made"
// and filters adaptively, while 1 to 4 come out as None on every row: so 1 it is, and
// writeUnfilteredPng() checks the result.
export const PNG_UNFILTERED = ['-define', 'png:compression-filter=1', '-define',
  'png:compression-level=9', '-define', 'png:compression-strategy=0'];

export function run(program, args) {
  try {
    return execFileSync(program, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  } catch (e) {
    throw new Error(`${program} ${args.join(' ')} failed:\n${e.stderr || e.message}`);
  }
}

let scratch = null;
let counter = 0;
export function scratchFile(suffix) {
  if (!scratch) scratch = mkdtempSync(join(tmpdir(), 'lautgarten-library-'));
  counter += 1;
  return join(scratch, `${counter}${suffix}`);
}
export function removeScratch() {
  if (scratch) rmSync(scratch, { recursive: true, force: true });
  scratch = null;
}

export function svgToPng(svgText, outFile, extra = []) {
  const svgFile = scratchFile('.svg');
  writeFileSync(svgFile, svgText);
  run(RSVG, [...extra, '-o', outFile, svgFile]);
  return outFile;
}

// Bounding box of everything that is not transparent, as "x y w h" in pixels.
export function inkBox(pngFile) {
  const out = run(CONVERT, [pngFile, '-alpha', 'extract', '-threshold', '2%', '-format', '%@',
    'info:']).trim();
  const m = out.match(/^(\d+)x(\d+)\+(-?\d+)\+(-?\d+)$/);
  if (!m) throw new Error(`cannot measure ${pngFile}: ${out}`);
  const [, w, h, x, y] = m.map(Number);
  return { x, y, w, h };
}

// Bounding box of the drawn content of an SVG document, in its own user units.
export function contentBox(svgText) {
  const { box } = parseSvg(svgText);
  const size = 1024;
  const scale = size / Math.max(box.w, box.h);
  const png = scratchFile('.png');
  svgToPng(svgText, png, ['-w', String(Math.round(box.w * scale)), '-h',
    String(Math.round(box.h * scale))]);
  const ink = inkBox(png);
  const pad = 1;
  return {
    x: box.x + (ink.x - pad) / scale,
    y: box.y + (ink.y - pad) / scale,
    w: (ink.w + 2 * pad) / scale,
    h: (ink.h + 2 * pad) / scale,
  };
}

const r = (v) => Math.round(v * 1000) / 1000;

// An SVG of the given canvas size with the drawn content of svgText scaled to fit into the
// area (ax, ay, aw, ah) and centred there.
export function fitted(svgText, canvasW, canvasH, area, background) {
  const { content } = parseSvg(svgText);
  const ink = contentBox(svgText);
  const scale = Math.min(area.w / ink.w, area.h / ink.h);
  const w = ink.w * scale;
  const h = ink.h * scale;
  const x = area.x + (area.w - w) / 2;
  const y = area.y + (area.h - h) / 2;
  const ground = background
    ? `<rect width="${canvasW}" height="${canvasH}" fill="${background}"/>`
    : '';
  return wrapSvg(
    canvasW,
    canvasH,
    `${ground}<svg x="${r(x)}" y="${r(y)}" width="${r(w)}" height="${r(h)}" ` +
      `viewBox="${r(ink.x)} ${r(ink.y)} ${r(ink.w)} ${r(ink.h)}" overflow="hidden">${content}</svg>`,
  );
}

// The filter types used by the rows of a non-interlaced PNG file, e.g. Set { 0 }.
export function rowFilters(file) {
  const data = readFileSync(file);
  if (data.toString('latin1', 1, 4) !== 'PNG') throw new Error(`${file} is not a PNG file`);
  let header = null;
  const idat = [];
  for (let at = 8; at + 8 <= data.length;) {
    const length = data.readUInt32BE(at);
    const type = data.toString('latin1', at + 4, at + 8);
    const body = data.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') header = body;
    if (type === 'IDAT') idat.push(body);
    at += 12 + length;
  }
  const channels = header && { 0: 1, 2: 3, 3: 1, 4: 2, 6: 4 }[header[9]];
  if (!channels || header[12] !== 0) throw new Error(`${file}: no readable PNG header`);
  const height = header.readUInt32BE(4);
  const stride = Math.ceil((header.readUInt32BE(0) * channels * header[8]) / 8) + 1;
  const rows = inflateSync(Buffer.concat(idat));
  if (rows.length !== stride * height) throw new Error(`${file}: image data of the wrong size`);
  const filters = new Set();
  for (let y = 0; y < height; y += 1) filters.add(rows[y * stride]);
  return filters;
}

// Writes inFile as a PNG file whose rows all use filter None (see PNG_UNFILTERED).
export function writeUnfilteredPng(inFile, outFile) {
  run(CONVERT, [inFile, ...PNG_CLEAN, ...PNG_UNFILTERED, outFile]);
  const filters = [...rowFilters(outFile)];
  if (filters.some((f) => f !== 0)) {
    throw new Error(`${outFile} has rows with PNG filters ${filters.join(', ')}, not only 0 ` +
      `(None): this ImageMagick or libpng reads ${PNG_UNFILTERED.join(' ')} differently`);
  }
}

export function imageSize(file) {
  const [w, h] = run(CONVERT, [`${file}[0]`, '-format', '%w %h', 'info:']).trim().split(' ');
  return { w: Number(w), h: Number(h) };
}
