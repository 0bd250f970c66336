// The browser version played as a person would: the title comes up, the
// first key starts the sound and the game, the ship moves and fires, the
// game keeps 62.5 updates a second, a gamepad plugged in later plays,
// quitting offers to play again, and a late page.js still lets the game
// start.
// Usage: node play.mjs SITE_DIR OUTPUT_DIR
import path from 'node:path';
import fs from 'node:fs';
import {
  run, openPage, waitFor, waitForGame, waitForTitle, tap, sleep, check, fireUntilShot, regionPixels, differs,
  ShipRows, countUpdates,
} from './support.mjs';

const [site, output] = process.argv.slice(2);
fs.mkdirSync(output, { recursive: true });

await run('play', site, async (browser, url, server) => {
  const { page, problems } = await openPage(browser);
  // Counts the sounds that Web Audio really starts.
  await page.evaluateOnNewDocument(() => {
    window.webAudioStarts = 0;
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...args) {
      window.webAudioStarts += 1;
      return start.apply(this, args);
    };
  });
  await page.goto(url);

  await waitForTitle(page);
  check(await page.$eval('#loading', (e) => e.hidden), 'the loading bar is gone once the game runs');
  const factor = await page.$eval('#play', (e) => Number(e.dataset.scale));
  const box = await page.$eval('#canvas', (e) => [e.clientWidth, e.clientHeight]);
  check(factor >= 1 && box[0] === 480 * factor && box[1] === 272 * factor,
        `the picture is scaled by the whole factor ${factor} (${box[0]} x ${box[1]})`);
  await page.screenshot({ path: path.join(output, 'web-title.png') });
  const titleFrame = await regionPixels(page, 0, 0, 480, 272);
  check(titleFrame.some((v, i) => i % 4 !== 3 && v > 0x60), 'the title is drawn');

  // The first key: sound starts, the title confirms.
  const startsBefore = await page.evaluate(() => window.webAudioStarts);
  const scroll = await page.evaluate(() => window.scrollY);
  await tap(page, 'KeyZ');
  await waitForGame(page, () => Module._skyreel_effect_starts(8) === 1, 'the confirm effect', 60);
  await waitFor(page, () => SDL.audioContext && SDL.audioContext.state === 'running',
                'the audio context to run after the first key');
  await waitFor(page, (before) => window.webAudioStarts > before, 'Web Audio to start a sound',
                5000, startsBefore);
  check(true, 'the audio context runs and Web Audio started the confirm effect');

  // Play begins: Z fires the shot (effect 9) once the ship is in play.
  const fired = await fireUntilShot(page, 'Space');
  check(fired, 'play has begun: Space fires a shot with its sound');
  check(await page.evaluate(() => window.scrollY) === scroll, 'Space and the arrows do not scroll');

  // The ship moves: the rows around its rail change while Left is held.
  const before = await regionPixels(page, ...ShipRows);
  await page.keyboard.down('ArrowLeft');
  await sleep(600);
  const during = await regionPixels(page, ...ShipRows);
  await page.keyboard.up('ArrowLeft');
  await page.keyboard.down('ArrowRight');
  await sleep(600);
  await page.keyboard.up('ArrowRight');
  check(differs(before, during), 'the ship moves with the arrow keys');
  await tap(page, 'KeyZ');
  await page.screenshot({ path: path.join(output, 'web-play.png') });

  // 62.5 updates a second, counted on the page's own clock over 10 s.
  const counted = await countUpdates(page);
  console.log(`updates in ${counted.ms.toFixed(0)} ms: ${counted.updates} (expected ${counted.expected.toFixed(1)})`);
  check(counted.ok, `${counted.updates} updates in 10 s, within 2% of 625`);

  // Quit: the page offers to play again, and Z does.
  await tap(page, 'Escape');
  await waitFor(page, () => !document.getElementById('ended').hidden, 'the play-again offer');
  const frozen = await page.evaluate(() => Module._skyreel_updates());
  await sleep(300);
  check(await page.evaluate(() => Module._skyreel_updates()) === frozen,
        'quitting stops the game and offers to play again');
  check(await page.$eval('#ended .hint', (e) => e.innerText) === 'or press Z, Space or Enter',
        'without touch pads, the play-again cover names the keys only');
  await Promise.all([page.waitForNavigation(), tap(page, 'KeyZ')]);
  await waitForTitle(page, 'the title after playing again');
  check(true, 'play again brings the title back');

  // A gamepad that shows up after the page loaded confirms the title.
  await page.evaluate(() => {
    const pad = {
      id: 'test pad', index: 0, connected: true, mapping: 'standard', timestamp: 1,
      axes: [0, 0, 0, 0],
      buttons: Array.from({ length: 16 }, () => ({ pressed: false, touched: false, value: 0 })),
    };
    window.testPad = pad;
    navigator.getGamepads = () => [pad, null, null, null];
  });
  await sleep(1000); // the platform looks for new gamepads every 30 updates
  await page.evaluate(() => {
    testPad.buttons[0] = { pressed: true, touched: true, value: 1 };
    testPad.timestamp += 1;
  });
  await waitForGame(page, () => Module._skyreel_effect_starts(8) === 1, 'the gamepad to confirm the title',
                    120);
  await page.evaluate(() => {
    testPad.buttons[0] = { pressed: false, touched: false, value: 0 };
    testPad.timestamp += 1;
  });
  check(true, 'a gamepad connected after load confirms the title with its first button');

  check(problems.length === 0, `no page or console errors${problems.length ? ':\n' + problems.join('\n') : ''}`);
  // Only the page in front is sure of its animation frames.
  await page.close();

  // A browser without Web Audio plays silently and says so; one without
  // WebAssembly gets a plain message instead of the game.
  for (const missing of ['AudioContext', 'WebAssembly']) {
    const { page: bare, problems: bareProblems } = await openPage(browser);
    await bare.evaluateOnNewDocument((name) => {
      delete window[name];
      delete window.webkitAudioContext;
    }, missing);
    await bare.goto(url);
    if (missing === 'AudioContext') {
      await waitForTitle(bare, 'the title without Web Audio');
      await tap(bare, 'KeyZ');
      await sleep(300);
      const note = await bare.$eval('#sound-note', (e) => e.textContent);
      check(/without sound/.test(note), `without Web Audio the page says: "${note}"`);
    } else {
      await waitFor(bare, () => !document.getElementById('failed').hidden, 'the WebAssembly message');
      const text = await bare.$eval('#failed-text', (e) => e.textContent);
      check(/WebAssembly/.test(text), `without WebAssembly the page says: "${text}"`);
    }
    check(bareProblems.length === 0, `no errors without ${missing}${bareProblems.length ? ':\n' + bareProblems.join('\n') : ''}`);
    await bare.close();
  }

  // page.js late: the loader, which may now run before it, draws its bar
  // and waits for the Module that page.js makes; the game then starts.
  server.delays = { 'page.js': 2000 };
  // A fresh profile: the service worker of the pages above would serve it.
  const fresh = await browser.createBrowserContext();
  const { page: late, problems: lateProblems } = await openPage(fresh);
  const loading = late.goto(url);
  await waitFor(late, () => {
    const announcer = document.getElementById('announce');
    return !window.Module && announcer && /Loading/.test(announcer.textContent);
  }, 'the loading bar before page.js arrives');
  await loading;
  await waitForTitle(late, 'the title with page.js late');
  check(lateProblems.length === 0, `with page.js late, the loader waits for it and the game starts${
    lateProblems.length ? ':\n' + lateProblems.join('\n') : ''}`);
  await fresh.close();
  server.delays = {};
});
