// Damaged data in the browser behaves as on the desktop: before the game
// starts, the packed sprite sheet is removed and the confirm sound is cut
// short; the game still runs and plays, without that picture and that
// sound, and nothing fails on the page.
// Usage: node damaged.mjs SITE_DIR OUTPUT_DIR
import path from 'node:path';
import fs from 'node:fs';
import { run, openPage, waitFor, waitForTitle, tap, sleep, check, fireUntilShot } from './support.mjs';

const [site, output] = process.argv.slice(2);
fs.mkdirSync(output, { recursive: true });

await run('damaged', site, async (browser, url) => {
  const { page, problems } = await openPage(browser);
  // The page's Module gets a step between the data's arrival and main().
  await page.evaluateOnNewDocument(() => {
    let module;
    Object.defineProperty(window, 'Module', {
      configurable: true,
      get: () => module,
      set: (value) => {
        module = value;
        if (value.damageWrapped) {
          return; // the game's script assigns the same object again
        }
        value.damageWrapped = true;
        const started = value.onRuntimeInitialized;
        value.onRuntimeInitialized = function () {
          FS.unlink('/data/texture1.png');
          const wav = FS.readFile('/data/se_confirm.wav');
          FS.writeFile('/data/se_confirm.wav', wav.subarray(0, 60)); // header promises more
          window.damaged = true;
          if (started) {
            started.call(this);
          }
        };
      },
    });
  });
  await page.goto(url);
  await waitFor(page, () => window.damaged, 'the data to be damaged');
  await waitForTitle(page);

  await tap(page, 'KeyZ');
  const fired = await fireUntilShot(page, 'KeyZ');
  check(fired, 'the game reaches play and fires without its sprite sheet');
  await page.screenshot({ path: path.join(output, 'web-damaged.png') });
  const updates = await page.evaluate(() => Module._skyreel_updates());
  await sleep(500);
  check(await page.evaluate(() => Module._skyreel_updates()) > updates, 'the game keeps running');
  check(await page.evaluate(() => Module._skyreel_effect_starts(8) === 0),
        'the cut-short confirm sound is not heard');
  check(problems.length === 0, `no page or console errors${problems.length ? ':\n' + problems.join('\n') : ''}`);
});
