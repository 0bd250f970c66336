// Shared by the browser tests: a static file server on 127.0.0.1, headless
// Chromium through puppeteer-core, a page that fails the test on any page
// error, console error or failed request, and waits bounded in game updates.
//
// A test whose prerequisites are missing (the site `make web` builds, the Node
// packages, Chromium) is skipped with the reason: exit status 77, which ctest
// counts as skipped. With SKYREEL_REQUIRE_ALL=1 (CI) a missing prerequisite
// fails the test instead.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

export const SkipStatus = 77;

const Types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.pack': 'application/octet-stream',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves `site` on a free port of 127.0.0.1; resolves to { server, url }.
// `server.root` may be pointed at another folder (a new build of the site),
// `server.delays` holds files back ({ 'page.js': ms }, as a slow connection
// would), and `server.stop()` closes it and every open connection, as a host
// that has gone away. With `gzip`, files go out compressed to a browser that
// takes gzip, as most static hosts send them.
export function serve(site, { gzip = false } = {}) {
  const server = http.createServer((request, response) => {
    const root = server.root;
    const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    if (!file.startsWith(root + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    fs.readFile(file, (error, body) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      const headers = {
        'Content-Type': Types[path.extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store',
      };
      if (gzip && /\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
        headers['Content-Encoding'] = 'gzip';
        body = zlib.gzipSync(body, { level: 9 });
      }
      setTimeout(() => {
        response.writeHead(200, headers);
        response.end(body);
      }, server.delays[name.slice(1)] || 0);
    });
  });
  server.root = path.resolve(site);
  server.delays = {};
  server.stop = () => {
    server.close();
    server.closeAllConnections();
  };
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({ server, url: `http://127.0.0.1:${server.address().port}/` });
    });
  });
}

const ChromiumPath = process.env.SKYREEL_CHROMIUM || '/usr/bin/chromium';

// Loaded by run() once the prerequisites are known to be there.
let puppeteer = null;

export async function launch() {
  puppeteer = puppeteer || (await import('puppeteer-core')).default;
  return puppeteer.launch({
    executablePath: ChromiumPath,
    headless: true,
    // A page the browser thinks is in the background gets no animation
    // frames, and the game runs on them: the tests never want that.
    // Sound waits for a gesture, as in a browser a person uses.
    args: ['--no-sandbox', '--disable-gpu', '--window-size=1000,700', '--autoplay-policy=document-user-activation-required',
           '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
           '--disable-backgrounding-occluded-windows'],
    defaultViewport: { width: 1000, height: 700 },
  });
}

// A page that records every problem the browser reports.
export async function openPage(browser) {
  const page = await browser.newPage();
  await page.bringToFront();
  const problems = [];
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') {
      problems.push(`console error: ${message.text()}`);
    }
  });
  page.on('requestfailed', (request) => {
    problems.push(`request failed: ${request.url()} ${request.failure()?.errorText}`);
  });
  page.on('response', (response) => {
    if (response.status() >= 400) {
      problems.push(`HTTP ${response.status()}: ${response.url()}`);
    }
  });
  return { page, problems };
}

export function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

// Polls `probe` in the page until it returns a truthy value, for at most
// `timeoutMs` of wall time: for states of the page rather than of the game.
export async function waitFor(page, probe, what, timeoutMs = 20000, ...args) {
  try {
    return await page.waitForFunction(probe, { timeout: timeoutMs, polling: 50 }, ...args);
  } catch (error) {
    const timedOut = error.name === 'TimeoutError';
    throw new Error(`${timedOut ? `timed out after ${timeoutMs} ms` : 'failed'} waiting for ${what}` +
                    `${timedOut ? '' : ': ' + error.message}`);
  }
}

// The game's update count, or null before its runtime has started (its
// exports can be called only from then on).
// `quietly`: without counting as a gesture of the user's.
function gameUpdates(page, quietly = false) {
  const read = quietly
    ? peek(page, 'window.Module && Module.calledRun ? Module._skyreel_updates() : null')
    : page.evaluate(() => (window.Module && Module.calledRun ? Module._skyreel_updates() : null));
  return read.catch(() => null); // a page between two documents
}

// A game that makes no update for this long has not started, has stopped or
// is frozen: loading and compiling it takes a few seconds on a busy machine.
const StallMs = 20000;

// The bound of every wait on the game: it has run `updates` updates since
// the wait began, or made none for StallMs. Returns the reason to give up,
// naming `what`, or null while the wait may go on.
function gameWatch(page, what, updates, quietly = false) {
  let first = null;
  let last = null;
  let lastChange = Date.now();
  return async () => {
    const now = await gameUpdates(page, quietly);
    if (now !== last) {
      last = now;
      lastChange = Date.now();
    }
    if (now !== null && (first === null || now < first)) {
      first = now; // the first update seen, or a page loaded again
    }
    if (first !== null && now - first >= updates) {
      return `gave up waiting for ${what} after ${now - first} game updates`;
    }
    if (Date.now() - lastChange > StallMs) {
      const state = last === null ? 'its runtime never started' : `it stopped at update ${last}`;
      return `gave up waiting for ${what}: the game made no update in ${StallMs / 1000} s (${state})`;
    }
    return null;
  };
}

// Polls `probe`, run in the page with `args`, until it returns a truthy
// value, which it resolves to; allows the game `updates` updates for it (a
// small multiple of what the state needs), then fails naming `what`.
export async function waitForGame(page, probe, what, updates, ...args) {
  const giveUp = gameWatch(page, what, updates);
  for (;;) {
    const value = await page.evaluate(probe, ...args).catch(() => undefined);
    if (value) {
      return value;
    }
    const reason = await giveUp();
    if (reason) {
      throw new Error(reason);
    }
    await sleep(50);
  }
}

// The value of `expression` in the page, read without counting as a gesture
// of the user's (puppeteer's own evaluation counts as one, and lets sound
// start at once).
export async function peek(page, expression) {
  const session = await page.createCDPSession();
  const { result } = await session.send('Runtime.evaluate', { expression, returnByValue: true });
  await session.detach();
  return result.value;
}

// The title slides in over its first 91 updates, and a confirm key before it
// settles only cuts the slide short; past this many it takes the key.
const TitleSettledUpdates = 100;

// Waits until the game in `page` shows a settled title; `quietly` reads the
// page without counting as a gesture of the user's.
export async function waitForTitle(page, what = 'the title to run', { quietly = false } = {}) {
  if (!quietly) {
    return waitForGame(page, (settled) => window.Module && Module.calledRun && Module._skyreel_updates() > settled,
                       what, 3 * TitleSettledUpdates, TitleSettledUpdates);
  }
  const giveUp = gameWatch(page, what, 3 * TitleSettledUpdates, true);
  for (;;) {
    if (await gameUpdates(page, true) > TitleSettledUpdates) {
      return;
    }
    const reason = await giveUp();
    if (reason) {
      throw new Error(reason);
    }
    await sleep(50);
  }
}

// Holds a key for about `ms` milliseconds (a few game updates at 16 ms).
export async function tap(page, code, ms = 100) {
  await page.keyboard.down(code);
  await sleep(ms);
  await page.keyboard.up(code);
}

// Taps the fire key (a key code, or a function that presses fire once)
// until the game starts another shot sound (effect 9): the confirmed title
// blinks for 91 updates, and a stage start or the shots in flight may swallow
// presses. True once it did; fails naming the shot after 600 updates.
export async function fireUntilShot(page, fire) {
  const press = typeof fire === 'function' ? fire : () => tap(page, fire, 80);
  const before = await page.evaluate(() => Module._skyreel_effect_starts(9));
  const giveUp = gameWatch(page, `a shot sound from ${typeof fire === 'function' ? 'fire' : fire}`, 600);
  for (;;) {
    await press();
    await sleep(120);
    if (await page.evaluate((n) => Module._skyreel_effect_starts(9) > n, before)) {
      return true;
    }
    const reason = await giveUp();
    if (reason) {
      throw new Error(reason);
    }
  }
}

// The bytes of the game's picture in a rectangle of game pixels, to tell
// two pictures apart.
export function regionPixels(page, x, y, w, h) {
  return page.evaluate((x, y, w, h) => {
    const copy = document.createElement('canvas');
    copy.width = 480;
    copy.height = 272;
    const context = copy.getContext('2d');
    context.drawImage(document.getElementById('canvas'), 0, 0);
    return Array.from(context.getImageData(x, y, w, h).data);
  }, x, y, w, h);
}

export function differs(a, b) {
  return a.some((value, i) => value !== b[i]);
}

// The game's picture around the ship's rail, in game pixels.
export const ShipRows = [80, 200, 224, 56];

// Fingers on a touch screen, through the browser's own touch input: each
// call gives all the fingers down after it, as { name: [x, y] } in CSS px;
// fingers that are new go down, missing ones lift, the others move.
export function touchScreen(page) {
  const down = new Map();
  return async function fingers(next) {
    for (const [name, finger] of down) {
      if (!(name in next)) {
        await finger.end();
        down.delete(name);
      }
    }
    for (const [name, [x, y]] of Object.entries(next)) {
      if (down.has(name)) {
        await down.get(name).move(x, y);
      } else {
        down.set(name, await page.touchscreen.touchStart(x, y));
      }
    }
  };
}

// The centre of an element of the page, in CSS px.
export function centreOf(page, selector) {
  return peek(page, `(() => {
    const r = document.querySelector(${JSON.stringify(selector)}).getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2];
  })()`);
}

// DevTools' network profiles ('Slow 3G', 'Fast 3G' ...), as puppeteer names them.
export async function networkProfiles() {
  return (await import('puppeteer-core')).PredefinedNetworkConditions;
}

// Waits until the service worker has stored the site and is active.
export function waitForStoredSite(page) {
  return waitFor(page, async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    return registration && registration.active && registration.active.state === 'activated';
  }, 'the service worker to store the site', 60000);
}

// Stops the host and takes the site's service worker and the page of
// `session` (its DevTools session) off the network.
export async function goOffline(browser, server, session) {
  server.stop();
  const worker = await browser.waitForTarget((target) => target.type() === 'service_worker');
  const offline = { offline: true, latency: 0, downloadThroughput: -1, uploadThroughput: -1 };
  for (const each of [await worker.createCDPSession(), session]) {
    await each.send('Network.enable');
    await each.send('Network.emulateNetworkConditions', offline);
  }
}

// Game updates a second: one each 16 ms.
const UpdatesPerSecond = 62.5;

// The game's updates over 10 s of the page's own clock, and whether they
// are within 2% of 62.5 a second: { updates, ms, expected, ok }.
export async function countUpdates(page) {
  const counted = await page.evaluate(async () => {
    const u0 = Module._skyreel_updates();
    const t0 = performance.now();
    await new Promise((resolve) => setTimeout(resolve, 10000));
    return { updates: Module._skyreel_updates() - u0, ms: performance.now() - t0 };
  });
  const expected = counted.ms * UpdatesPerSecond / 1000;
  return { ...counted, expected, ok: Math.abs(counted.updates - expected) <= 0.02 * expected };
}

// The names of the site's caches, and the files in each (paths from the root).
export function storedFiles(page) {
  return page.evaluate(async () => {
    const stored = {};
    for (const name of await caches.keys()) {
      const requests = await (await caches.open(name)).keys();
      stored[name] = requests.map((request) => new URL(request.url).pathname.slice(1)).sort();
    }
    return stored;
  });
}

export function check(condition, text) {
  if (!condition) {
    throw new Error(text);
  }
  console.log(`ok: ${text}`);
}

// Why the test cannot run here, or null: `site` must hold a page, the Node
// packages must be installed and Chromium must be there.
async function missingPrerequisite(site) {
  const pages = fs.existsSync(site) ? fs.readdirSync(site).filter((f) => f.endsWith('.html')) : [];
  if (pages.length === 0) {
    return `no page in ${site}: the browser version is not built (make web)`;
  }
  try {
    fs.accessSync(ChromiumPath, fs.constants.X_OK);
  } catch {
    return `no Chromium at ${ChromiumPath} (tools/install-web-deps.sh, or set SKYREEL_CHROMIUM)`;
  }
  try {
    puppeteer = (await import('puppeteer-core')).default;
  } catch (error) {
    return `the Node packages are not installed (tools/install-web-deps.sh): ${error.message}`;
  }
  return null;
}

// Whether the test can run here. When it cannot, says why and sets the exit
// status: skipped, or failed under SKYREEL_REQUIRE_ALL=1. run() asks first; a
// test that prepares files from the site before run() asks before that.
export async function canRun(name, site) {
  const missing = await missingPrerequisite(site);
  if (!missing) {
    return true;
  }
  if (process.env.SKYREEL_REQUIRE_ALL === '1') {
    console.error(`FAILED ${name}: ${missing} (SKYREEL_REQUIRE_ALL=1 forbids skipping)`);
    process.exitCode = 1;
  } else {
    console.log(`SKIPPED ${name}: ${missing}`);
    process.exitCode = SkipStatus;
  }
  return false;
}

// Runs `body(browser, url, server)` with a served site and a browser; prints
// the test runner's
// closing line and sets the exit code.
export async function run(name, site, body) {
  if (!(await canRun(name, site))) {
    return;
  }
  const { server, url } = await serve(site);
  const browser = await launch();
  let failed = false;
  try {
    await body(browser, url, server);
  } catch (error) {
    failed = true;
    console.error(`FAILED ${name}: ${error.stack || error}`);
  } finally {
    await browser.close();
    server.close();
  }
  console.log(failed ? '0 passed, 1 failed' : '1 passed, 0 failed');
  process.exitCode = failed ? 1 : 0;
}
