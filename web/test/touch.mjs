// Touch play on a phone, upright and sideways: the pads show, the first tap
// on Fire starts the sound and the game, Left and Right move the ship, Fire
// shoots while another finger holds a direction, a thumb slid from Left onto
// Right turns without lifting, and no scroll or zoom gesture moves the page
// over the play area. After quitting, the play-again cover names Fire, and
// Fire plays again. A gamepad hides the pads while it is connected.
// Usage: node touch.mjs SITE_DIR OUTPUT_DIR
import path from 'node:path';
import fs from 'node:fs';
import {
  run, openPage, waitFor, waitForGame, waitForTitle, sleep, tap, check, fireUntilShot, regionPixels, differs, ShipRows,
  touchScreen, centreOf, peek,
} from './support.mjs';

const [site, output] = process.argv.slice(2);
fs.mkdirSync(output, { recursive: true });

const Phones = [
  { name: 'upright', width: 390, height: 844, layout: 'band' },
  { name: 'sideways', width: 844, height: 390, layout: 'side' },
];
const LeftKey = 37;
const RightKey = 39;

// Waits until the arrow keys the game holds down (as SDL took them from
// the page) are `keys`.
function waitForArrows(page, keys, what) {
  return waitForGame(page, (want) => Object.values(SDL.keyboardMap).filter((k) => k === 37 || k === 39)
    .sort().join() === want, what, 30, keys.join());
}

// One finger drawn 150 px up from `at`, in small steps.
async function swipe(fingers, at) {
  for (let i = 0; i <= 10; ++i) {
    await fingers({ 1: [at[0], at[1] - 15 * i] });
  }
  await fingers({});
}

// Two fingers drawn apart around `at`.
async function pinch(fingers, at) {
  for (let i = 0; i <= 10; ++i) {
    await fingers({ 1: [at[0] - 20 - 8 * i, at[1]], 2: [at[0] + 20 + 8 * i, at[1]] });
  }
  await fingers({});
}

// Resolves once the page has drawn `count` more frames.
function frames(page, count) {
  return page.evaluate((count) => new Promise((resolve) => {
    const next = (left) => (left === 0 ? resolve() : requestAnimationFrame(() => next(left - 1)));
    next(count);
  }), count);
}

await run('touch', site, async (browser, url) => {
  for (const phone of Phones) {
    const { page, problems } = await openPage(browser);
    await page.setViewport({ width: phone.width, height: phone.height, deviceScaleFactor: 3,
                             isMobile: true, hasTouch: true, isLandscape: phone.width > phone.height });
    await page.goto(url);
    await waitForTitle(page, 'the title to run', { quietly: true });
    const name = phone.name;
    check(await peek(page, "play.dataset.layout + (pads.hidden ? ' without pads' : '')") === phone.layout,
          `${name}: the pads show in the ${phone.layout} layout`);
    const fingers = touchScreen(page);
    const left = await centreOf(page, '#pad-left');
    const right = await centreOf(page, '#pad-right');
    const fire = await centreOf(page, '#pad-fire');
    const tapFire = async (held = {}) => {
      await fingers({ ...held, 2: fire });
      await sleep(80);
      await fingers(held);
      await sleep(120);
    };

    // The first tap on Fire: the sound starts and the title confirms.
    check(await peek(page, 'SDL.audioContext.state') === 'suspended', `${name}: no sound before the first tap`);
    await tapFire();
    await waitForGame(page, () => Module._skyreel_effect_starts(8) === 1, `${name}: Fire to confirm the title`, 60);
    await waitFor(page, () => SDL.audioContext.state === 'running', `${name}: the sound to start with the first tap`);
    check(true, `${name}: the first tap on Fire starts the sound and confirms the title`);
    check(await fireUntilShot(page, tapFire), `${name}: play has begun, Fire shoots`);

    // Left held: the ship moves; a second finger fires meanwhile.
    const before = await regionPixels(page, ...ShipRows);
    await fingers({ 1: left });
    await waitForArrows(page, [LeftKey], `${name}: the game to hold Left`);
    const fired = await fireUntilShot(page, () => tapFire({ 1: left }));
    check(fired, `${name}: Fire shoots while another finger holds Left`);
    const during = await regionPixels(page, ...ShipRows);
    check(differs(before, during), `${name}: the ship moves while Left is held`);

    // The thumb slides onto Right without lifting, then lifts.
    await fingers({ 1: [(left[0] + right[0]) / 2, left[1]] });
    await fingers({ 1: right });
    await waitForArrows(page, [RightKey], `${name}: the game to hold Right only after the slide`);
    check(true, `${name}: sliding onto Right lets go of Left and holds Right`);
    const turned = await regionPixels(page, ...ShipRows);
    await sleep(300);
    check(differs(turned, await regionPixels(page, ...ShipRows)), `${name}: the ship moves while Right is held`);
    check(await page.$eval('#pad-right', (e) => e.classList.contains('held')) &&
          !await page.$eval('#pad-left', (e) => e.classList.contains('held')), `${name}: Right shows pressed, Left not`);
    // The picture of the play area and the buttons under it, at half the
    // phone's pixels.
    const bottom = await page.$eval('#bar', (e) => e.getBoundingClientRect().bottom);
    await page.screenshot({ path: path.join(output, `web-touch-${name}.png`),
                            clip: { x: 0, y: 0, width: phone.width, height: Math.min(phone.height, bottom + 8), scale: 0.5 } });
    await fingers({});
    await waitForArrows(page, [], `${name}: the game to let go of Right when the thumb lifts`);

    if (phone.name === 'sideways') {
      // Swipes and a pinch over the picture and the pads move and zoom
      // nothing, some frames later; the same gestures over the text under
      // them scroll and zoom the page: the gestures are real.
      const picture = await centreOf(page, '#canvas');
      const text = [20, phone.height - 10];
      for (const at of [picture, left, fire]) {
        await swipe(fingers, at);
      }
      await pinch(fingers, picture);
      await frames(page, 20);
      check(await page.evaluate(() => window.scrollY === 0 && window.visualViewport.scale === 1),
            `${name}: swipes and a pinch over the picture and pads neither scroll nor zoom`);
      await swipe(fingers, text);
      await waitFor(page, () => window.scrollY > 0, `${name}: the same swipe over the text to scroll`);
      await page.evaluate(() => window.scrollTo(0, 0));
      await pinch(fingers, text);
      await waitFor(page, () => window.visualViewport.scale > 1, `${name}: the same pinch over the text to zoom`);
      check(true, `${name}: the same swipe and pinch over the text scroll and zoom`);

      // A gamepad takes over: the pads go while it is connected.
      await page.evaluate(() => {
        window.realGamepads = navigator.getGamepads.bind(navigator);
        navigator.getGamepads = () => [{ id: 'test pad', index: 0, connected: true, axes: [], buttons: [] }];
        window.dispatchEvent(new Event('gamepadconnected'));
      });
      await waitFor(page, () => document.getElementById('pads').hidden && play.dataset.layout === 'plain',
                    'the pads to hide for a gamepad');
      await page.evaluate(() => {
        navigator.getGamepads = window.realGamepads;
        window.dispatchEvent(new Event('gamepaddisconnected'));
      });
      await waitFor(page, () => !document.getElementById('pads').hidden, 'the pads to come back');
      check(true, `${name}: a connected gamepad hides the pads, and they come back when it goes`);
    }
    if (phone.name === 'upright') {
      // After quitting, the cover names the Fire pad, and Fire plays again.
      await tap(page, 'Escape');
      await waitFor(page, () => !document.getElementById('ended').hidden, `${name}: the play-again offer`);
      const hint = await page.$eval('#ended .hint', (e) => e.innerText);
      check(/tap Fire/.test(hint), `${name}: the play-again cover says: "${hint}"`);
      await Promise.all([page.waitForNavigation(), tapFire()]);
      await waitForTitle(page, `${name}: the title after Fire on the play-again cover`, { quietly: true });
      check(true, `${name}: Fire on the play-again cover plays again`);
    }
    check(problems.length === 0, `${name}: no page or console errors${problems.length ? ':\n' + problems.join('\n') : ''}`);
    await page.close();
  }
});
