// SPDX-License-Identifier: Apache-2.0
// Turns a picture source ("noto:red-apple" or "own:xylophon") into a standalone SVG document.
//
// Own drawings live in own/<name>.svg. Besides plain SVG they may place emoji from the picture
// set with a placeholder element, which is expanded here:
//
//   <emoji name="red-apple" x="0" y="0" width="64" height="64"
//          view="0 0 64 128" recolor="#aabbcc=#112233;#ddeeff=#445566" transform="rotate(10)"/>
//
// view crops the emoji's box, recolor swaps colours inside it, transform is applied around it.
import { readFileSync, existsSync } from 'node:fs';
import { join } from 'node:path';
import { emojiIcon, standaloneEmoji } from './emoji.mjs';

const XMLNS = 'xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"';

function attributes(text) {
  const result = {};
  for (const m of text.matchAll(/([\w:-]+)\s*=\s*"([^"]*)"/g)) result[m[1]] = m[2];
  return result;
}

function recolored(body, recolor) {
  if (!recolor) return body;
  let out = body;
  for (const pair of recolor.split(';').filter(Boolean)) {
    const [from, to] = pair.split('=').map((s) => s.trim());
    if (!from || !to) throw new Error(`bad recolor pair "${pair}"`);
    const pattern = new RegExp(`"${from.replace(/[.*+?^${}()|[\]\\]/g, '\\$&')}"`, 'gi');
    if (!pattern.test(out)) throw new Error(`recolor: ${from} does not occur`);
    out = out.replace(pattern, `"${to}"`);
  }
  return out;
}

// Expands the <emoji/> placeholders and reports which emoji were used.
export function expandPlaceholders(toolDir, text, used) {
  return text.replace(/<emoji\b([^>]*?)\/>/g, (_, attrText) => {
    const a = attributes(attrText);
    const set = a.set ?? 'noto';
    if (!a.name) throw new Error('<emoji/> without name');
    const { body, box } = emojiIcon(toolDir, set, a.name);
    used.push({ set, name: a.name });
    const view = a.view ?? `${box.left} ${box.top} ${box.width} ${box.height}`;
    const inner =
      `<svg x="${a.x ?? 0}" y="${a.y ?? 0}" width="${a.width ?? box.width}" ` +
      `height="${a.height ?? box.height}" viewBox="${view}" overflow="hidden">` +
      `${recolored(body, a.recolor)}</svg>`;
    return a.transform ? `<g transform="${a.transform}">${inner}</g>` : inner;
  });
}

// Splits a standalone SVG into its viewBox and its inner content.
export function parseSvg(text) {
  const open = text.match(/<svg\b([^>]*)>/);
  const close = text.lastIndexOf('</svg>');
  if (!open || close < 0) throw new Error('not an SVG document');
  const a = attributes(open[1]);
  let viewBox = a.viewBox;
  if (!viewBox) {
    if (!a.width || !a.height) throw new Error('SVG needs a viewBox or width and height');
    viewBox = `0 0 ${parseFloat(a.width)} ${parseFloat(a.height)}`;
  }
  const [x, y, w, h] = viewBox.trim().split(/[\s,]+/).map(Number);
  return { box: { x, y, w, h }, content: text.slice(open.index + open[0].length, close) };
}

export function wrapSvg(width, height, content, viewBox = `0 0 ${width} ${height}`) {
  return (
    `<svg ${XMLNS} width="${width}" height="${height}" viewBox="${viewBox}">` + `${content}</svg>\n`
  );
}

// Source of one picture: returns { svg, parts } where parts lists the emoji it is made of.
export function sourceSvg(toolDir, source) {
  const m = source.match(/^(noto|own):([\w.-]+)$/);
  if (!m) throw new Error(`unknown picture source "${source}"`);
  const [, kind, name] = m;
  if (kind === 'own') {
    const file = join(toolDir, 'own', `${name}.svg`);
    if (!existsSync(file)) throw new Error(`own drawing ${file} is missing`);
    const parts = [];
    const svg = expandPlaceholders(toolDir, readFileSync(file, 'utf8'), parts);
    return { svg, parts, file: `tools/library/own/${name}.svg` };
  }
  return { svg: standaloneEmoji(toolDir, kind, name), parts: [{ set: kind, name }] };
}
