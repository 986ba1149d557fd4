// SPDX-License-Identifier: Apache-2.0
// Pictures for the program's windows: icon, buttons, banner, decorations and the bird.
import { writeFileSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { CONVERT, PNG_CLEAN, run, scratchFile, svgToPng, fitted } from './render.mjs';
import { sourceSvg, expandPlaceholders } from './svg.mjs';

export const ICON_SIZES = [16, 32, 48, 64, 128, 256];
export const PAGE_BLUE = 'rgb(128,128,255)';
const PAGE_BLUE_HEX = '#8080ff';
export const BANNER_FONT = '/usr/share/fonts/truetype/cabinsketch/CabinSketch-Bold.ttf';

function own(toolDir, file, used) {
  return expandPlaceholders(toolDir, readFileSync(join(toolDir, 'window', file), 'utf8'), used);
}

// A picture on light blue: the decoration, scaled to fill the box with a small margin.
function decoration(toolDir, source, w, h, outFile, used) {
  const { svg, parts } = sourceSvg(toolDir, source);
  used.push(...parts);
  const png = scratchFile('.png');
  svgToPng(fitted(svg, w, h, { x: 6, y: 6, w: w - 12, h: h - 12 }, PAGE_BLUE_HEX), png);
  run(CONVERT, [png, '-alpha', 'off', ...PNG_CLEAN, outFile]);
}

export function makeWindowPictures(toolDir, outDir) {
  const credits = [];
  const note = (file, text, parts = []) => credits.push({ file, text, parts });

  // Program icon: the globe, as a scalable picture and at the usual icon sizes.
  {
    const parts = [];
    const { svg } = sourceSvg(toolDir, 'noto:globe-showing-europe-africa');
    parts.push({ set: 'noto', name: 'globe-showing-europe-africa' });
    writeFileSync(join(outDir, 'icon.svg'), svg.replace(/width="512" height="512"/,
      'width="256" height="256"'));
    note('icon.svg', 'Noto Emoji', parts);
    for (const size of ICON_SIZES) {
      const png = scratchFile('.png');
      svgToPng(svg, png, ['-w', String(size), '-h', String(size)]);
      run(CONVERT, [png, ...PNG_CLEAN, join(outDir, `icon-${size}.png`)]);
      note(`icon-${size}.png`, 'Noto Emoji', parts);
    }
    // The Windows icon file carries the same sizes in one file.
    run(CONVERT, [...[16, 32, 48, 256].map((size) => join(outDir, `icon-${size}.png`)),
      join(outDir, 'lautgarten.ico')]);
    note('lautgarten.ico', 'Noto Emoji', parts);
  }

  // Buttons: drawn here, exact pixel sizes.
  for (const [file, w, h] of [['house', 35, 32], ['arrow', 24, 36]]) {
    const png = scratchFile('.png');
    svgToPng(own(toolDir, `${file}.svg`, []), png, ['-w', String(w), '-h', String(h)]);
    run(CONVERT, [png, ...PNG_CLEAN, join(outDir, `${file}.png`)]);
    note(`${file}.png`, `eigene Zeichnung (tools/library/window/${file}.svg)`);
  }

  // Welcome banner: only its top-left 681 x 281 pixels are shown, and on the start page the
  // sunflower covers its right part and the instructions its lower right corner, so the
  // lettering keeps to the left: left of x 500 above y 200, left of x 450 below.
  {
    const lines = [['Willkommen', 84, 22], ['im Lautgarten!', 66, 128]];
    const args = ['-size', '800x600', `xc:${PAGE_BLUE}`, '-font', BANNER_FONT, '-gravity',
      'NorthWest'];
    for (const [text, size, top] of lines) {
      // white halo first for contrast with the blue, then the orange letters
      args.push('-pointsize', String(size), '-fill', 'white', '-stroke', 'white',
        '-strokewidth', '9', '-annotate', `+22+${top}`, text,
        '-fill', '#fb8c00', '-stroke', '#ef6c00', '-strokewidth', '1', '-annotate',
        `+22+${top}`, text);
    }
    run(CONVERT, [...args, '-alpha', 'off', '-depth', '8', ...PNG_CLEAN, join(outDir, 'banner.png')]);
    note('banner.png', 'eigene Gestaltung, Schrift Cabin Sketch (SIL Open Font License 1.1)');
  }

  // Decorations on the light blue of the start page.
  {
    const used = [];
    decoration(toolDir, 'noto:sunflower', 160, 164, join(outDir, 'deko-gross.png'), used);
    note('deko-gross.png', 'Noto Emoji', used.splice(0));
    decoration(toolDir, 'noto:tulip', 123, 148, join(outDir, 'deko-klein.png'), used);
    note('deko-klein.png', 'Noto Emoji', used.splice(0));
  }

  // Singing bird: a GIF whose ground is transparent; its edges are blended into the light blue
  // it is shown on.
  {
    const used = [];
    const png = scratchFile('.png');
    svgToPng(fitted(own(toolDir, 'bird.svg', used), 124, 175, { x: 2, y: 2, w: 120, h: 171 }),
      png);
    transparentGif(png, PAGE_BLUE, join(outDir, 'bird.gif'));
    note('bird.gif', 'eigene Zusammenstellung (tools/library/window/bird.svg) aus Noto Emoji',
      used);
  }
  return credits;
}

// GIF knows only fully transparent or opaque pixels: blend half-transparent edges into the
// colour the picture will be shown on, and keep the rest of the ground transparent.
export function transparentGif(pngFile, matte, outFile) {
  run(CONVERT, [pngFile, '(', '+clone', '-background', matte, '-flatten', ')', '(', '-clone', '0',
    '-alpha', 'extract', '-threshold', '25%', ')', '-delete', '0', '-alpha', 'off', '-compose',
    'CopyOpacity', '-composite', '-dither', 'FloydSteinberg', '-colors', '255', outFile]);
}
