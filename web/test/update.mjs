// A new build replaces the stored one, never under a running game. Two
// builds of the site: the second differs in one file (its page title), so
// stamp-site.mjs gives it a new cache name. The first is visited and stored;
// the host then serves the second to a page that runs from the stored first. The running game carries on while the
// new build is stored beside the old; after quitting, "Play again" starts
// the new build, and the old cache is gone.
// Usage: node update.mjs SITE_DIR STAMP_SCRIPT PAGE_DIR GAME_DIR
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import {
  canRun, run, openPage, waitFor, waitForTitle, waitForStoredSite, storedFiles, waitForGame, tap, sleep, check,
  fireUntilShot,
} from './support.mjs';

const [site, stampScript, pageDir, gameDir] = process.argv.slice(2);
if (!(await canRun('update', site))) {
  process.exit();
}
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'skyreel-update-'));
const first = path.join(work, 'first');
const second = path.join(work, 'second');
fs.cpSync(site, first, { recursive: true });
fs.cpSync(site, second, { recursive: true });
const index = path.join(second, 'index.html');
fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace('<html lang="en">', '<html lang="en" data-build="2">'));
const files = JSON.parse(/const Files = (\[.*\]);/.exec(fs.readFileSync(path.join(site, 'sw.js'), 'utf8'))[1]);
execFileSync(process.execPath, [stampScript, second, pageDir, gameDir, ...files, 'sw.js'], { stdio: 'inherit' });

try {
  await run('update', first, async (browser, url, server) => {
    const { page, problems } = await openPage(browser);
    await page.goto(url);
    await waitForTitle(page);
    await waitForStoredSite(page);
    // A second visit runs from the stored copy, under the worker.
    await page.reload();
    await waitForTitle(page, 'the title from the stored copy');
    check(await page.evaluate(() => navigator.serviceWorker.controller !== null), 'the second visit runs from the stored copy');
    const [oldCache] = Object.keys(await storedFiles(page));

    // The second build goes up while the first one's game runs.
    server.root = second;
    check(await fireUntilShot(page, 'KeyZ'), 'a game of the first build runs');
    await page.evaluate(() => {
      window.sameDocument = true;
      return navigator.serviceWorker.getRegistration().then((registration) => registration.update());
    });
    await waitFor(page, async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      return registration.waiting && registration.waiting.state === 'installed';
    }, 'the second build to be stored', 60000);
    const updates = await page.evaluate(() => Module._skyreel_updates());
    await sleep(300);
    const state = await page.evaluate(() => ({
      build: document.documentElement.dataset.build, same: window.sameDocument === true,
      running: Module._skyreel_updates(),
    }));
    check(state.same && state.build === undefined && state.running > updates,
          'the running game of the first build carries on while the second is stored');
    check(Object.keys(await storedFiles(page)).length === 2, 'both builds are stored for now');

    // Quit and play again: the page lets the new build take over first.
    await tap(page, 'Escape');
    await waitFor(page, () => !document.getElementById('ended').hidden, 'the play-again offer');
    await page.click('#again');
    await waitForGame(page, () => document.documentElement.dataset.build === '2' && window.Module && Module.calledRun &&
                      Module._skyreel_updates() > 0, 'the second build\'s title', 600);
    await waitForTitle(page, 'the second build\'s title to settle');
    check(true, '"Play again" starts the second build');
    const stored = await storedFiles(page);
    const names = Object.keys(stored);
    check(names.length === 1 && names[0] !== oldCache,
          `the first build's cache ${oldCache} is deleted; ${names[0]} remains`);
    check(problems.length === 0, `no page or console errors${problems.length ? ':\n' + problems.join('\n') : ''}`);
  });
} finally {
  fs.rmSync(work, { recursive: true, force: true });
}
