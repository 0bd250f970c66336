// Keys by the letters of the player's keyboard layout, and the page's sound.
// On AZERTY and QWERTZ keyboards the key labelled Z starts and fires and the
// key labelled Q quits, as on the desktop, while the keys in the QWERTY Z
// and Q places do nothing; the events are the ones each layout produces.
// The mute button silences the game's sound while the game runs on, and a
// hidden page stops all sound until it is shown again.
// Usage: node sound-keys.mjs SITE_DIR
import { run, openPage, waitFor, waitForGame, waitForTitle, sleep, check, fireUntilShot } from './support.mjs';

const [site] = process.argv.slice(2);

// What each layout sends for the keys labelled Z and Q, and for the keys in
// the places where QWERTY has Z and Q.
const Layouts = {
  AZERTY: {
    z: { code: 'KeyW', key: 'z', keyCode: 90 }, q: { code: 'KeyA', key: 'q', keyCode: 81 },
    others: [{ code: 'KeyZ', key: 'w', keyCode: 87 }, { code: 'KeyQ', key: 'a', keyCode: 65 }],
  },
  QWERTZ: {
    z: { code: 'KeyY', key: 'z', keyCode: 90 }, q: { code: 'KeyQ', key: 'q', keyCode: 81 },
    others: [{ code: 'KeyZ', key: 'y', keyCode: 89 }],
  },
};

async function press(session, key) {
  const common = { code: key.code, key: key.key, windowsVirtualKeyCode: key.keyCode };
  await session.send('Input.dispatchKeyEvent', { type: 'keyDown', text: key.key, ...common });
  await sleep(80);
  await session.send('Input.dispatchKeyEvent', { type: 'keyUp', ...common });
}

function effects(page, n) {
  return page.evaluate((n) => Module._skyreel_effect_starts(n), n);
}

// Waits for `count` more game updates.
async function updates(page, count, what) {
  const from = await page.evaluate(() => Module._skyreel_updates());
  await waitForGame(page, (until) => Module._skyreel_updates() >= until, what, 2 * count, from + count);
}

// Waits until the sound clock has run `seconds` on.
async function audioClock(page, seconds, what) {
  const from = await page.evaluate(() => SDL.audioContext.currentTime);
  await waitFor(page, (until) => SDL.audioContext.currentTime > until, what, 20000, from + seconds);
}

// The loudest sample the game's sound reaches from now on, read from its
// master volume's output.
async function listen(page) {
  await page.evaluate(() => {
    if (!window.listener) {
      const analyser = SDL.audioContext.createAnalyser();
      SDL.audioContext.destination.connect(analyser);
      const samples = new Float32Array(analyser.fftSize);
      window.listener = { peak: 0 };
      setInterval(() => {
        analyser.getFloatTimeDomainData(samples);
        for (const v of samples) {
          window.listener.peak = Math.max(window.listener.peak, Math.abs(v));
        }
      }, 5);
    }
    window.listener.peak = 0;
  });
}

await run('sound-keys', site, async (browser, url) => {
  for (const [name, layout] of Object.entries(Layouts)) {
    const { page, problems } = await openPage(browser);
    const session = await page.createCDPSession();
    await page.goto(url);
    await waitForTitle(page);

    for (const other of layout.others) {
      await press(session, other);
    }
    await updates(page, 30, `${name}: the game to run on after the other keys`);
    check(await effects(page, 8) === 0 && await page.$eval('#ended', (e) => e.hidden),
          `${name}: the keys in the QWERTY Z and Q places neither confirm nor quit`);
    await press(session, layout.z);
    await waitForGame(page, () => Module._skyreel_effect_starts(8) === 1, `${name}: the key labelled Z to confirm`, 60);
    check(await fireUntilShot(page, () => press(session, layout.z)), `${name}: the key labelled Z fires`);

    if (name === 'AZERTY') {
      await waitFor(page, () => SDL.audioContext.state === 'running', 'the sound to start with the first key');
      await listen(page);
      check(await fireUntilShot(page, () => press(session, layout.z)), 'a shot with sound on');
      await waitFor(page, () => window.listener.peak > 0.01, 'the shot to be heard');
      check(true, 'the shot is heard');

      await page.click('#mute');
      // The listener hears the last 2048 samples: those from before the
      // mute pass first.
      await audioClock(page, 0.1, 'the sound clock to pass the mute');
      await listen(page);
      const updatesBefore = await page.evaluate(() => Module._skyreel_updates());
      check(await fireUntilShot(page, () => press(session, layout.z)), 'muted, the game still fires');
      await audioClock(page, 0.5, 'the sound clock to run on past the shot');
      const heard = await page.evaluate(() => window.listener.peak);
      check(heard === 0 && await page.evaluate((n) => Module._skyreel_updates() > n, updatesBefore),
            `muted, nothing is heard (peak ${heard}) while the game runs on`);
      await page.click('#mute');
      check(await page.$eval('#mute', (e) => e.getAttribute('aria-pressed')) === 'false', 'the mute button turns sound on again');

      // Another tab in front hides the page: all sound stops, bonus tune
      // included, and starts again on return.
      const other = await browser.newPage();
      await other.bringToFront();
      await waitFor(page, () => document.hidden && SDL.audioContext.state === 'suspended',
                    'the sound to stop in a hidden page');
      check(true, 'a hidden page plays no sound');
      await other.close();
      await page.bringToFront();
      await waitFor(page, () => !document.hidden && SDL.audioContext.state === 'running',
                    'the sound to start again on return');
      check(true, 'the sound comes back with the page');
    }

    await press(session, layout.q);
    await waitFor(page, () => !document.getElementById('ended').hidden, `${name}: the key labelled Q to quit`);
    check(true, `${name}: the key labelled Q quits`);
    check(problems.length === 0, `${name}: no page or console errors${problems.length ? ':\n' + problems.join('\n') : ''}`);
    await page.close();
  }
});
