// Puts the game into the site and writes the two files of the site that
// depend on all the others: the loader, with the byte count of each game file
// (so its bar shows all of them from the first moment), and the service
// worker, with the list of files it stores and a cache name that carries a
// hash of them. A new build whose files differ in any byte gets a new cache
// name, and with it a new service worker that replaces the old one.
// The game's packed data goes in as skyreel.pack: the same bytes, each
// stored as its difference from the byte two places before, the even places
// first and then the odd. The sounds are 16-bit samples that change little
// from one to the next, so a host's gzip makes a third less of it (loader.js
// undoes it).
// Usage: node stamp-site.mjs SITE_DIR PAGE_DIR GAME_DIR FILE...
//   GAME_DIR  the link's skyreel.js, skyreel.wasm and skyreel.data
//   FILE...   every file of the site (paths relative to SITE_DIR), loader.js
//             and sw.js among them, which are written from PAGE_DIR.
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';

// The files the loader fetches and counts.
const GameFiles = ['skyreel.js', 'skyreel.wasm', 'skyreel.pack'];

const [site, pageDir, gameDir, ...files] = process.argv.slice(2);
if (!site || !pageDir || !gameDir || !files.includes('sw.js') || !files.includes('loader.js')) {
  console.error('usage: node stamp-site.mjs SITE_DIR PAGE_DIR GAME_DIR FILE... (loader.js and sw.js among them)');
  process.exit(2);
}

function pack(data) {
  const half = (data.length + 1) >> 1;
  const packed = Buffer.alloc(data.length);
  for (let i = 0; i < data.length; ++i) {
    const before = i >= 2 ? data[i - 2] : 0;
    packed[(i & 1 ? half : 0) + (i >> 1)] = (data[i] - before) & 255;
  }
  return packed;
}

fs.copyFileSync(path.join(gameDir, 'skyreel.js'), path.join(site, 'skyreel.js'));
fs.copyFileSync(path.join(gameDir, 'skyreel.wasm'), path.join(site, 'skyreel.wasm'));
fs.writeFileSync(path.join(site, 'skyreel.pack'), pack(fs.readFileSync(path.join(gameDir, 'skyreel.data'))));

// Copies PAGE_DIR/name into the site with each marker replaced.
function fill(name, replacements) {
  let text = fs.readFileSync(path.join(pageDir, name), 'utf8');
  for (const [marker, value] of Object.entries(replacements)) {
    if (!text.includes(marker)) {
      throw new Error(`${name} has no ${marker}`);
    }
    text = text.replace(marker, value);
  }
  fs.writeFileSync(path.join(site, name), text);
}

const sizes = {};
for (const name of GameFiles) {
  sizes[name] = fs.statSync(path.join(site, name)).size;
}
fill('loader.js', { '/* @sizes */ {}': JSON.stringify(sizes) });

// The service worker hashes and stores every other file, itself excepted:
// the browser compares sw.js byte for byte to find a new build.
const stored = files.filter((name) => name !== 'sw.js').sort();
const hash = crypto.createHash('sha256');
for (const name of stored) {
  hash.update(name + '\0');
  hash.update(fs.readFileSync(path.join(site, name)));
  hash.update('\0');
}
const version = hash.digest('hex').slice(0, 16);
fill('sw.js', { '/* @files */ []': JSON.stringify(stored), '@version@': version });
console.log(`stamp-site: ${stored.length} files, cache skyreel-${version}`);
