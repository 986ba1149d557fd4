// SPDX-License-Identifier: Apache-2.0
// Reads the emoji sets shipped as iconify JSON and turns one icon into a standalone SVG.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';

export const SETS = {
  noto: {
    package: '@iconify-json/noto',
    title: 'Noto Emoji',
    author: 'Google Inc.',
    licence: 'Apache-2.0',
  },
};

const loaded = new Map();

function loadSet(toolDir, prefix) {
  if (!SETS[prefix]) throw new Error(`unknown picture set "${prefix}"`);
  if (!loaded.has(prefix)) {
    const dir = join(toolDir, 'node_modules', SETS[prefix].package);
    const data = JSON.parse(readFileSync(join(dir, 'icons.json'), 'utf8'));
    const pkg = JSON.parse(readFileSync(join(dir, 'package.json'), 'utf8'));
    loaded.set(prefix, { data, version: pkg.version });
  }
  return loaded.get(prefix);
}

export function setVersion(toolDir, prefix) {
  return loadSet(toolDir, prefix).version;
}

// Resolves aliases (which may flip or rotate their parent) down to a body and its box.
export function emojiIcon(toolDir, prefix, name) {
  const { data } = loadSet(toolDir, prefix);
  let transforms = [];
  let current = name;
  for (let depth = 0; depth < 10; ++depth) {
    if (data.icons[current]) {
      const icon = data.icons[current];
      const box = {
        left: icon.left ?? data.left ?? 0,
        top: icon.top ?? data.top ?? 0,
        width: icon.width ?? data.width ?? 16,
        height: icon.height ?? data.height ?? 16,
      };
      let body = icon.body;
      for (const t of transforms.reverse()) body = wrapTransform(body, box, t);
      return { body, box };
    }
    const alias = data.aliases?.[current];
    if (!alias) break;
    if (alias.hFlip || alias.vFlip || alias.rotate) transforms.push(alias);
    current = alias.parent;
  }
  throw new Error(`${prefix}:${name} is not in the picture set`);
}

function wrapTransform(body, box, t) {
  const parts = [];
  const cx = box.left + box.width / 2;
  const cy = box.top + box.height / 2;
  if (t.rotate) parts.push(`rotate(${(t.rotate % 4) * 90} ${cx} ${cy})`);
  if (t.hFlip || t.vFlip) {
    parts.push(
      `translate(${cx} ${cy}) scale(${t.hFlip ? -1 : 1} ${t.vFlip ? -1 : 1}) translate(${-cx} ${-cy})`,
    );
  }
  return `<g transform="${parts.join(' ')}">${body}</g>`;
}

// A nested <svg> element that places the icon (or a part of its box) at x/y with the given size.
export function nestedEmoji(toolDir, prefix, name, x, y, width, height, viewBox) {
  const { body, box } = emojiIcon(toolDir, prefix, name);
  const vb = viewBox ?? `${box.left} ${box.top} ${box.width} ${box.height}`;
  return (
    `<svg x="${x}" y="${y}" width="${width}" height="${height}" viewBox="${vb}" ` +
    `preserveAspectRatio="xMidYMid meet" overflow="visible">${body}</svg>`
  );
}

export function standaloneEmoji(toolDir, prefix, name, size = 512) {
  const { body, box } = emojiIcon(toolDir, prefix, name);
  return (
    `<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" ` +
    `width="${size}" height="${size}" ` +
    `viewBox="${box.left} ${box.top} ${box.width} ${box.height}">${body}</svg>\n`
  );
}
