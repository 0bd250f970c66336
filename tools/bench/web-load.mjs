// Measures how fast the browser version comes up, in headless Chromium with
// DevTools' network profiles: the time from the start of the page's load to
// its first title picture, and the bytes that crossed the network for it.
//   cold, Slow 3G and Fast 3G: a browser that has never seen the site;
//   warm: a later visit, from the service worker's copy;
//   offline: the server stopped and the page and its worker offline.
// Then, with the processor slowed 4x as on a phone, a game is started and
// its updates counted over 10 s: 62.5 a second within 2% passes.
// Figures, not pass marks, except that last check (exit status 1 when it
// fails). The server compresses with gzip as most static hosts do
// (--no-gzip: as one that does not).
// Usage: node tools/bench/web-load.mjs SITE_DIR [--runs N] [--no-gzip]
import {
  serve, launch, waitFor, waitForStoredSite, fireUntilShot, sleep, networkProfiles, goOffline, countUpdates,
} from '../../web/test/support.mjs';

const args = process.argv.slice(2);
const site = args.find((arg) => !arg.startsWith('--'));
const runsAt = args.indexOf('--runs');
const runs = runsAt >= 0 ? Number(args[runsAt + 1]) : 1;
const gzip = !args.includes('--no-gzip');
if (!site || !(runs >= 1)) {
  console.error('usage: node tools/bench/web-load.mjs SITE_DIR [--runs N] [--no-gzip]');
  process.exit(2);
}

// A page that notes, on its own clock (0 = start of the load), when the
// game first drew its title, and the bytes that had come over the network
// by then (headers and bodies as sent, from the page's resource timing).
async function measuredPage(browser) {
  const page = await browser.newPage();
  await page.bringToFront();
  await page.evaluateOnNewDocument(() => {
    function look() {
      if (window.Module && Module.calledRun && Module._skyreel_updates() > 0) {
        window.firstTitleMs = performance.now();
        window.bytesByTitle = performance.getEntriesByType('navigation').concat(
          performance.getEntriesByType('resource')).reduce((sum, entry) => sum + entry.transferSize, 0);
      } else {
        requestAnimationFrame(look);
      }
    }
    requestAnimationFrame(look);
  });
  const session = await page.createCDPSession();
  await session.send('Network.enable');
  return { page, session };
}

async function firstTitle(page, load) {
  await load();
  await waitFor(page, () => window.firstTitleMs !== undefined, 'the first title picture', 120000);
  return page.evaluate(() => ({ ms: window.firstTitleMs, bytes: window.bytesByTitle }));
}

const profiles = await networkProfiles();
function conditions(name) {
  const profile = profiles[name];
  return {
    offline: false, latency: profile.latency,
    downloadThroughput: profile.download, uploadThroughput: profile.upload,
  };
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

const results = {};
function note(name, result) {
  (results[name] = results[name] || []).push(result);
  console.log(`  ${name}: ${(result.ms / 1000).toFixed(2)} s, ${(result.bytes / 1024).toFixed(0)} KiB`);
}

let playCheck = null;
for (let run = 0; run < runs; ++run) {
  console.log(`run ${run + 1} of ${runs}`);
  for (const profile of ['Slow 3G', 'Fast 3G']) {
    const { server, url } = await serve(site, { gzip });
    const browser = await launch();
    try {
      const { page, session } = await measuredPage(browser);
      await session.send('Network.emulateNetworkConditions', conditions(profile));
      note(`cold, ${profile}`, await firstTitle(page, () => page.goto(url)));
      if (profile !== 'Fast 3G') {
        continue;
      }
      // The later visits, on the same slow network: from the stored copy.
      await waitForStoredSite(page);
      note('warm', await firstTitle(page, () => page.reload()));

      await goOffline(browser, server, session);
      note('offline', await firstTitle(page, () => page.reload()));

      if (run === 0) {
        // A phone's slower processor: play at a quarter of this one's speed.
        await session.send('Emulation.setCPUThrottlingRate', { rate: 4 });
        await page.reload();
        await waitFor(page, () => window.firstTitleMs !== undefined, 'the title at 4x slower', 120000);
        await sleep(2000); // past the title's slide-in
        if (!await fireUntilShot(page, 'KeyZ')) {
          throw new Error('no game started at 4x slower');
        }
        playCheck = await countUpdates(page);
      }
    } finally {
      await browser.close();
      server.stop();
    }
  }
}

console.log(`\nSkyreel in the browser, ${runs} run(s), the server ${gzip ? 'compressing (gzip)' : 'not compressing'}:`);
console.log('| load | first title picture | bytes transferred |');
console.log('|---|---|---|');
for (const [name, list] of Object.entries(results)) {
  const ms = median(list.map((result) => result.ms));
  const bytes = median(list.map((result) => result.bytes));
  console.log(`| ${name} | ${(ms / 1000).toFixed(1)} s | ${(bytes / 1024).toFixed(0)} KiB |`);
}
if (playCheck) {
  const rate = (1000 * playCheck.updates / playCheck.ms).toFixed(2);
  console.log(`\nplay at 4x CPU slowdown: ${playCheck.updates} updates in ${(playCheck.ms / 1000).toFixed(1)} s ` +
              `(${rate} a second, expected ${playCheck.expected.toFixed(1)}): ` +
              `${playCheck.ok ? 'within 2%' : 'NOT within 2%'}`);
  process.exitCode = playCheck.ok ? 0 : 1;
}
