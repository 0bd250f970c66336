// The installed web app plays with no network at all. One visit stores the
// whole site (and Chromium finds nothing against installing it); then the
// server is stopped and the service worker's own requests are cut off too,
// so a file missing from its copy would fail. The page loads again, reaches
// the title and plays, and after quitting "Play again" works as well.
// Usage: node offline.mjs SITE_DIR
import fs from 'node:fs';
import {
  run, openPage, waitFor, waitForTitle, waitForStoredSite, storedFiles, tap, check, fireUntilShot, goOffline,
} from './support.mjs';

const [site] = process.argv.slice(2);

await run('offline', site, async (browser, url, server) => {
  const { page, problems } = await openPage(browser);
  await page.goto(url);
  await waitForTitle(page);
  await waitForStoredSite(page);

  const session = await page.createCDPSession();
  const { installabilityErrors } = await session.send('Page.getInstallabilityErrors');
  check(installabilityErrors.length === 0,
        `Chromium finds the page installable${installabilityErrors.length ? ': ' + JSON.stringify(installabilityErrors) : ''}`);

  const siteFiles = fs.readdirSync(site).filter((name) => name !== 'sw.js').sort();
  const stored = await storedFiles(page);
  const names = Object.keys(stored);
  check(names.length === 1 && /^skyreel-[0-9a-f]{16}$/.test(names[0]) &&
        JSON.stringify(stored[names[0]]) === JSON.stringify(siteFiles),
        `one cache, ${names[0]}, holds every file of the site (${siteFiles.length})`);

  // No network: the host is gone, and the page and its worker are offline.
  await goOffline(browser, server, session);
  const reachable = await fetch(url).then(() => true, () => false);
  check(!reachable, 'the server no longer answers');

  await page.reload();
  await waitForTitle(page, 'the title offline');
  const said = await page.$eval('#announce', (e) => e.textContent);
  check(/ready/.test(said), `the live region says: "${said}"`);
  check(await fireUntilShot(page, 'KeyZ'), 'offline, a game starts and the ship fires');

  await tap(page, 'Escape');
  await waitFor(page, () => !document.getElementById('ended').hidden, 'the play-again offer');
  check(/Thanks/.test(await page.$eval('#announce', (e) => e.textContent)), 'the live region says the game has ended');
  await Promise.all([page.waitForNavigation(), page.click('#again')]);
  await waitForTitle(page, 'the title after playing again offline');
  check(true, '"Play again" brings the title back offline');

  check(problems.length === 0, `no page or console errors${problems.length ? ':\n' + problems.join('\n') : ''}`);
});
