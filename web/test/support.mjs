// Shared by the browser tests: a static file server on 127.0.0.1, headless
// Chromium through puppeteer-core, and a page that fails the test on any
// page error, console error or failed request.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const Types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.png': 'image/png',
};

// Serves `root` on a free port of 127.0.0.1; resolves to { server, url }.
export function serve(site) {
  const root = path.resolve(site);
  const server = http.createServer((request, response) => {
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
      response.writeHead(200, {
        'Content-Type': Types[path.extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store',
      });
      response.end(body);
    });
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({ server, url: `http://127.0.0.1:${server.address().port}/` });
    });
  });
}

export async function launch() {
  return puppeteer.launch({
    executablePath: process.env.SKYREEL_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    // A page the browser thinks is in the background gets no animation
    // frames, and the game runs on them: the tests never want that.
    args: ['--no-sandbox', '--disable-gpu', '--window-size=1000,700',
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

// Polls `probe` in the page until it returns a truthy value.
export async function waitFor(page, probe, what, timeoutMs = 20000, ...args) {
  try {
    return await page.waitForFunction(probe, { timeout: timeoutMs, polling: 50 }, ...args);
  } catch (error) {
    const timedOut = error.name === 'TimeoutError';
    throw new Error(`${timedOut ? 'timed out' : 'failed'} waiting for ${what}${timedOut ? '' : ': ' + error.message}`);
  }
}

// The title slides in over its first 91 updates, and a confirm key before it
// settles only cuts the slide short; past this many it takes the key.
const TitleSettledUpdates = 100;

// Waits until the game in `page` shows a settled title.
export function waitForTitle(page, what = 'the title to run') {
  // The game's exports can be called only once the runtime has started.
  return waitFor(page, (settled) => window.Module && Module.calledRun && Module._skyreel_updates() > settled,
                 what, 20000, TitleSettledUpdates);
}

// Holds a key for about `ms` milliseconds (a few game updates at 16 ms).
export async function tap(page, code, ms = 100) {
  await page.keyboard.down(code);
  await sleep(ms);
  await page.keyboard.up(code);
}

// Taps the fire key until the game starts its shot sound (effect 9): the
// title or a stage start may swallow the first presses. True once it did.
export async function fireUntilShot(page, code) {
  for (let i = 0; i < 60; ++i) {
    await tap(page, code, 80);
    await sleep(120);
    if (await page.evaluate(() => Module._skyreel_effect_starts(9) > 0)) {
      return true;
    }
  }
  return false;
}

export function check(condition, text) {
  if (!condition) {
    throw new Error(text);
  }
  console.log(`ok: ${text}`);
}

// Runs `body` with a served site and a browser; prints the test runner's
// closing line and sets the exit code.
export async function run(name, site, body) {
  const { server, url } = await serve(site);
  const browser = await launch();
  let failed = false;
  try {
    await body(browser, url);
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
