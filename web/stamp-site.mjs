// Writes the two files of the site that depend on all the others, once those
// are in place: the loader, with the byte count of each game file (so its
// bar shows all of them from the first moment), and the service worker, with
// the list of files it stores and a cache name that carries a hash of them.
// A new build whose files differ in any byte gets a new cache name, and with
// it a new service worker that replaces the old one.
// Usage: node stamp-site.mjs SITE_DIR PAGE_DIR FILE...
//   FILE...  every file of the site (paths relative to SITE_DIR), sw.js
//            among them; loader.js and sw.js are written from PAGE_DIR.
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';

// The files the loader fetches and counts.
const GameFiles = ['skyreel.js', 'skyreel.wasm', 'skyreel.data'];

const [site, pageDir, ...files] = process.argv.slice(2);
if (!site || !pageDir || !files.includes('sw.js') || !files.includes('loader.js')) {
  console.error('usage: node stamp-site.mjs SITE_DIR PAGE_DIR FILE... (loader.js and sw.js among them)');
  process.exit(2);
}

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
