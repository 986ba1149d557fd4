// SPDX-License-Identifier: Apache-2.0
// The Debian copyright file (machine-readable format 1.0) of the package, written from the same
// credits that images/QUELLEN.txt lists. Each credit's origin is read from its text, the words
// QUELLEN.txt shows a reader ("Noto Emoji …", "eigene Zeichnung …", "gesetzt in Andika"), so
// the two files cannot tell different stories; a credit it cannot place stops make-library.
import { existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { SETS } from './emoji.mjs';
import { LETTER_FONT } from './letters.mjs';
import { BANNER_FONT } from './window.mjs';

const FORMAT = 'https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/';
const OWN = { holder: 'Lautgarten', licence: 'Apache-2.0' };
const UPSTREAM = {
  name: 'Lautgarten',
  contact: 'Lautgarten <lautgarten@lautgarten.de>',
  source: 'https://lautgarten.de/',
};
// Fonts that make-library draws into pictures; what a credit names is matched to these files.
const FONT_FILES = [LETTER_FONT, BANNER_FONT];

// One string of a TrueType/OpenType name table: 0 copyright, 1 family, 14 licence address.
function fontName(file, id) {
  const data = readFileSync(file);
  for (let i = 0; i < data.readUInt16BE(4); ++i) {
    const record = 12 + 16 * i;
    if (data.toString('latin1', record, record + 4) !== 'name') continue;
    const table = data.readUInt32BE(record + 8);
    const strings = table + data.readUInt16BE(table + 4);
    for (let j = 0; j < data.readUInt16BE(table + 2); ++j) {
      const entry = table + 6 + 12 * j;
      const [platform, , language, nameId, length, offset] =
        [0, 2, 4, 6, 8, 10].map((k) => data.readUInt16BE(entry + k));
      // Windows, English (United States): UTF-16 big-endian.
      if (platform !== 3 || language !== 0x409 || nameId !== id) continue;
      const raw = Buffer.from(data.subarray(strings + offset, strings + offset + length));
      return raw.swap16().toString('utf16le').replace(/\s+/g, ' ').trim();
    }
  }
  throw new Error(`${file} has no name ${id}`);
}

const squeeze = (text) => text.toLowerCase().replace(/[^\p{L}\p{N}]/gu, '');

// The font's name as the credit spells it ("Cabin Sketch" for the family "CabinSketch").
function spelled(text, family) {
  const words = text.split(/\s+/).map((w) => w.replace(/^[^\p{L}\p{N}]+|[^\p{L}\p{N}]+$/gu, ''));
  for (let length = 1; length <= 3; ++length) {
    for (let i = 0; i + length <= words.length; ++i) {
      const run = words.slice(i, i + length).join(' ');
      if (squeeze(run) === squeeze(family)) return run;
    }
  }
  return family;
}

// The comment below speaks of the SIL Open Font License; a font under another stops here.
function loadFonts() {
  return FONT_FILES.map((file) => {
    if (!/\bOFL\b/.test(fontName(file, 14))) {
      throw new Error(`copyright: ${file} is not under the SIL Open Font License`);
    }
    return { family: fontName(file, 1), copyright: fontName(file, 0) };
  });
}

// The emoji sets as their packages describe themselves; QUELLEN.txt names the same holder.
function loadSets(toolDir) {
  return Object.values(SETS).map((set) => {
    const dir = join(toolDir, 'node_modules', set.package);
    const info = JSON.parse(readFileSync(join(dir, 'info.json'), 'utf8'));
    const version = JSON.parse(readFileSync(join(dir, 'package.json'), 'utf8')).version;
    if (info.license?.spdx !== set.licence) {
      throw new Error(`${set.package} now says its licence is ${info.license?.spdx}, ` +
        `not ${set.licence}: check the pictures made from it`);
    }
    return { ...set, version, url: info.author?.url };
  });
}

// Who holds the rights to one picture or sound, which font is drawn into it, and whether
// espeak-ng spoke it.
function origin(credit, sets, fonts) {
  const text = credit.text;
  const speech = /\bespeak-ng\b/.test(text);
  const holders = [];
  if (/^eigene\b/i.test(text)) holders.push(OWN.holder);
  const usedSets = sets.filter((set) => text.includes(set.title));
  holders.push(...usedSets.map((set) => set.author));
  const usedFonts = fonts.filter((font) => squeeze(text).includes(squeeze(font.family)))
    .map((font) => ({ ...font, shown: spelled(text, font.family) }));
  if (usedFonts.length && !holders.length) holders.push(OWN.holder);
  if (!holders.length || (/\b(Schrift|gesetzt)\b/.test(text) && !usedFonts.length)) {
    throw new Error(`copyright: cannot tell the origin of ${credit.file} from "${text}"`);
  }
  return { holders, sets: usedSets, fonts: usedFonts, speech };
}

// A path as a Files pattern: the wildcards and the backslash escaped, blanks matched by "?".
function pattern(path) {
  return path.replace(/[\\*?]/g, '\\$&').replace(/\s/g, '?');
}

// A field value over several lines: continuation lines start with a blank, empty ones with " .".
function field(name, lines) {
  return [`${name}: ${lines[0]}`, ...lines.slice(1).map((l) => (l ? ` ${l}` : ' .'))];
}

// Lines of at most 78 characters once a field's name stands before the first.
function wrap(text, label = '') {
  const lines = [];
  let line = '';
  for (const word of text.split(/\s+/).filter(Boolean)) {
    const width = lines.length ? 77 : 76 - label.length;
    if (line && line.length + 1 + word.length > width) {
      lines.push(line);
      line = word;
    } else {
      line = line ? `${line} ${word}` : word;
    }
  }
  if (line) lines.push(line);
  return lines;
}

function comment(group) {
  const own = group.holders.includes(OWN.holder);
  const parts = [];
  for (const set of group.sets) {
    parts.push(`${own ? 'Composed by Lautgarten from' : 'From'} ${set.title} (npm package ` +
      `${set.package} ${set.version}${set.url ? `, ${set.url}` : ''}), scaled to the picture ` +
      'boxes; some are cropped or recoloured.');
  }
  if (group.speech) {
    parts.push('Spoken by the speech synthesizer espeak-ng (its German voice) when ' +
      'tools/library/make-library runs, then trimmed and levelled with SoX; what is spoken is ' +
      'listed in tools/library/lib/sounds.mjs. The sounds are made by Lautgarten; espeak-ng ' +
      'itself is not part of this package.');
  } else if (own && !group.sets.length) {
    parts.push(group.fonts.length ? 'Made by Lautgarten.'
      : 'Drawn by Lautgarten; the drawings are in tools/library/ as SVG.');
  }
  for (const font of group.fonts) {
    parts.push(`The lettering is set in the font ${font.shown} (${font.copyright}), which is ` +
      'licensed under the SIL Open Font License 1.1; that licence does not extend to pictures ' +
      'made with the font. The font itself is not part of this package.');
  }
  return wrap(parts.join(' '), 'Comment');
}

function commonLicence(id) {
  const file = `/usr/share/common-licenses/${id}`;
  if (!existsSync(file)) throw new Error(`copyright: no text for the licence ${id} on this system`);
  return [`License: ${id}`, ...wrap(`On Debian systems, the full text of this licence is in ` +
    `${file}.`, ' ').map((l) => ` ${l}`)];
}

// groups: { 'images': [credits relative to images/], 'resources/pictures': [...] }
export function writeCopyright(toolDir, outFile, groups) {
  const sets = loadSets(toolDir);
  const fonts = loadFonts();
  const stanzas = new Map();
  for (const [dir, credits] of Object.entries(groups)) {
    for (const credit of credits) {
      const o = origin(credit, sets, fonts);
      const key = [o.holders.join('|'), o.fonts.map((f) => f.family).join('|'), o.speech]
        .join('/');
      if (!stanzas.has(key)) stanzas.set(key, { ...o, files: [] });
      stanzas.get(key).files.push(pattern(`${dir}/${credit.file}`));
    }
  }
  const licences = new Set([OWN.licence, ...sets.map((set) => set.licence)]);
  const lines = [
    `Format: ${FORMAT}`,
    `Upstream-Name: ${UPSTREAM.name}`,
    `Upstream-Contact: ${UPSTREAM.contact}`,
    `Source: ${UPSTREAM.source}`,
    ...field('Comment', [
      ...wrap('Written by tools/library/make-library from the list it writes to ' +
        'images/QUELLEN.txt. File names are paths in the source of Lautgarten: the package ' +
        'installs images/ as /usr/lib/lautgarten/images/; the pictures in ' +
        'resources/pictures/ are built into the program, and its icons are installed ' +
        'under /usr/share/icons/.', 'Comment'),
    ]),
    '',
    'Files: *',
    `Copyright: ${OWN.holder}`,
    `License: ${OWN.licence}`,
    '',
  ];
  for (const stanza of stanzas.values()) {
    const licence = [...new Set([...(stanza.holders.includes(OWN.holder) ? [OWN.licence] : []),
      ...stanza.sets.map((set) => set.licence)])].join(' and ');
    lines.push(...field('Files', stanza.files), ...field('Copyright', stanza.holders),
      `License: ${licence}`, ...field('Comment', comment(stanza)), '');
  }
  for (const id of [...licences].sort()) lines.push(...commonLicence(id), '');
  mkdirSync(dirname(outFile), { recursive: true });
  writeFileSync(outFile, lines.join('\n').replace(/\n+$/, '\n'));
}
