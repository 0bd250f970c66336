// The page fits every screen: from 320 x 568 to 3840 x 2160, upright and
// sideways, at display scalings from 100% to 300%, with and without touch
// pads and a notch's safe areas. The picture and the pads are in view without
// scrolling and never overlap; every game pixel is the same whole number of
// device pixels, checked on the browser's own screen image; the factor is the
// largest that fits; full screen fills the screen's shorter side.
// Usage: node fit.mjs SITE_DIR OUTPUT_DIR
import path from 'node:path';
import fs from 'node:fs';
import { run, openPage, waitFor, waitForTitle, check } from './support.mjs';

const [site, output] = process.argv.slice(2);
fs.mkdirSync(output, { recursive: true });

// [width, height, scaling, device pixels per game pixel (0: below one, the
// picture as wide as the window), layout, safe-area insets]; null: any.
const Desktop = [
  [1000, 700, 1, 2, 'plain'],
  [1280, 800, 1, 2, 'plain'],
  [1366, 768, 1, 2, 'plain'],
  [1536, 864, 1.25, 3, 'plain'],
  [1280, 720, 1.5, 3, 'plain'],
  [1707, 900, 1.5, 4, 'plain'],
  [1920, 1080, 1, 3, 'plain'],
  [3840, 2160, 1, 7, 'plain'],
  [400, 600, 1, 0, 'plain'],
];
const Touch = [
  [320, 568, 2, 1, 'band'],
  [568, 320, 2, 1, 'side'],
  [320, 568, 1, 0, 'band'],
  [390, 844, 3, 2, 'band'],
  [844, 390, 3, 3, 'side'],
  [412, 915, 2.625, 2, 'band'],
  [915, 412, 2.625, 3, 'side'],
  [768, 1024, 2, 3, 'band'],
  [1024, 768, 2, 4, 'band'],
  [390, 844, 3, null, null, { top: 47, bottom: 34, left: 0, right: 0 }],
  [844, 390, 3, null, null, { top: 0, bottom: 21, left: 47, right: 47 }],
];
// Sizes whose screen image is checked pixel by pixel.
// (A 412 px window at 262.5% is 1081.5 device pixels: the emulated screen
// rounds it and resamples, so sizes of whole device pixels are inspected.)
const Inspected = new Set(['1536x864@1.25', '1280x720@1.5', '844x390@3', '1024x768@2']);

// Whether every game pixel of the picture at `box` (device px) covers the
// same n x n block of the screen image: inside a block, each column and row
// repeats the one before it. Counts both kinds of place, so a picture without
// any detail cannot pass.
function blockCheck(decoder, png, box, n) {
  return decoder.evaluate(async (png, box, n) => {
    const blob = await (await fetch(`data:image/png;base64,${png}`)).blob();
    const bitmap = await createImageBitmap(blob);
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext('2d');
    context.drawImage(bitmap, 0, 0);
    const { data, width } = context.getImageData(0, 0, bitmap.width, bitmap.height);
    const at = (x, y) => data[(y * width + x) * 4] | (data[(y * width + x) * 4 + 1] << 8) |
                         (data[(y * width + x) * 4 + 2] << 16);
    let inside = 0;
    let edges = 0;
    // Skips the outermost game pixels, where the picture meets the page.
    for (let y = box.y + n; y < box.y + box.h - n; ++y) {
      for (let x = box.x + n; x < box.x + box.w - n; ++x) {
        const column = at(x, y) !== at(x - 1, y);
        const row = at(x, y) !== at(x, y - 1);
        if ((column && (x - box.x) % n !== 0) || (row && (y - box.y) % n !== 0)) {
          ++inside;
        } else if (column || row) {
          ++edges;
        }
      }
    }
    return { inside, edges };
  }, png, box, n);
}

async function fitTo(page, size, touch, session, loaded = true) {
  const [width, height, ratio, , , insets] = size;
  await session.send('Emulation.setSafeAreaInsetsOverride',
                     { insets: insets || { top: 0, bottom: 0, left: 0, right: 0 } });
  await page.setViewport({ width, height, deviceScaleFactor: ratio, isMobile: touch, hasTouch: touch });
  if (!loaded) {
    return;
  }
  await waitFor(page, (w, h, r) => play.dataset.fitted === `${w}x${h}@${r}`,
                `the page to fit ${width} x ${height} at ${ratio * 100}%`, 20000, width, height, ratio);
}

// Every part that must be in view, in CSS px of the window.
function parts(page) {
  return page.evaluate(() => {
    const rect = (e) => {
      const r = e.getBoundingClientRect();
      return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width, height: r.height };
    };
    const padsShown = !document.getElementById('pads').hidden;
    const result = { picture: rect(canvas), layout: play.dataset.layout, scrollY: window.scrollY };
    if (padsShown) {
      for (const id of ['pad-left', 'pad-right', 'pad-fire', 'pad-hint']) {
        result[id] = rect(document.getElementById(id));
      }
    }
    const body = getComputedStyle(document.body);
    result.safe = { left: parseFloat(body.paddingLeft), top: parseFloat(body.paddingTop),
                    right: innerWidth - parseFloat(body.paddingRight),
                    bottom: innerHeight - parseFloat(body.paddingBottom) };
    return result;
  });
}

const overlap = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
const Slack = 0.02; // CSS px of layout rounding

async function checkSize(page, decoder, size, touch) {
  const [width, height, ratio, whole, layout, insets] = size;
  const name = `${width}x${height}@${ratio}${insets ? ' with safe areas' : ''}${touch ? ' touch' : ''}`;
  const seen = await parts(page);
  const picture = seen.picture;
  if (layout) {
    check(seen.layout === layout, `${name}: the ${layout} layout (${seen.layout})`);
  }
  const boxes = Object.entries(seen).filter(([key]) => key === 'picture' || key.startsWith('pad'));
  for (const [key, box] of boxes) {
    check(box.left >= seen.safe.left - Slack && box.top >= seen.safe.top - Slack &&
          box.right <= seen.safe.right + Slack && box.bottom <= seen.safe.bottom + Slack,
          `${name}: ${key} is in view inside the safe area, without scrolling`);
    if (key !== 'picture') {
      check(!overlap(box, picture), `${name}: ${key} does not cover the picture`);
    }
  }
  check(seen.scrollY === 0, `${name}: the page has not scrolled`);
  for (const id of ['pad-left', 'pad-right', 'pad-fire']) {
    if (seen[id]) {
      check(seen[id].width >= 48 && seen[id].height >= 48, `${name}: ${id} is at least 48 px`);
    }
  }
  const across = picture.width * ratio / 480;
  const down = picture.height * ratio / 272;
  check(Math.abs(across - down) < 0.01, `${name}: the picture keeps its shape`);
  if (whole === 0) {
    check(across < 1 && picture.width >= width - 1, `${name}: below one device pixel the picture spans the window`);
  } else {
    check(Math.abs(across - Math.round(across)) < 0.01 && Math.round(across) >= 1,
          `${name}: ${across.toFixed(3)} device pixels per game pixel is a whole number`);
    if (whole !== null) {
      check(Math.round(across) === whole, `${name}: the factor is ${whole}, the largest that fits (${across.toFixed(3)})`);
    }
  }
  if (Inspected.has(`${width}x${height}@${ratio}`) && !insets) {
    const n = Math.round(across);
    const box = { x: Math.round(picture.left * ratio), y: Math.round(picture.top * ratio), w: 480 * n, h: 272 * n };
    check(Math.abs(picture.left * ratio - box.x) < 0.05 && Math.abs(picture.top * ratio - box.y) < 0.05,
          `${name}: the picture starts on a whole device pixel`);
    const png = await page.screenshot({ encoding: 'base64', captureBeyondViewport: false });
    fs.writeFileSync(path.join(output, `web-fit-${width}x${height}.png`), Buffer.from(png, 'base64'));
    const blocks = await blockCheck(decoder, png, box, n);
    check(blocks.inside === 0 && blocks.edges > 1000,
          `${name}: every game pixel is one ${n} x ${n} block on the screen (${blocks.inside} stray changes, ${blocks.edges} block edges)`);
  }
}

await run('fit', site, async (browser, url) => {
  // Screen images are read in a page of their own, outside the site.
  const decoder = await browser.newPage();
  for (const touch of [false, true]) {
    const { page, problems } = await openPage(browser);
    const session = await page.createCDPSession();
    await fitTo(page, touch ? Touch[0] : Desktop[0], touch, session, false);
    await page.goto(url);
    await waitForTitle(page);
    check(await page.$eval('#pads', (e) => e.hidden) === !touch,
          touch ? 'a touch screen shows the pads' : 'a desktop without touch shows no pads');
    for (const size of touch ? Touch : Desktop) {
      await fitTo(page, size, touch, session);
      await checkSize(page, decoder, size, touch);
    }
    if (!touch) {
      // Full screen fills the screen's shorter side, at a fractional factor.
      await fitTo(page, [1366, 768, 1.25], false, session);
      await page.click('#fullscreen');
      await waitFor(page, () => / full$/.test(play.dataset.fitted), 'the full-screen layout');
      const picture = await page.$eval('#canvas', (e) => {
        const r = e.getBoundingClientRect();
        return { width: r.width, height: r.height };
      });
      check(Math.abs(picture.height - 768) < 0.5 && picture.width <= 1366,
            `full screen: the picture fills the screen's height (${picture.width.toFixed(1)} x ${picture.height.toFixed(1)})`);
      const button = await page.$eval('#fullscreen', (e) => e.getBoundingClientRect().height);
      check(button >= 44, `the Full screen button is ${button} px tall`);
      await page.evaluate(() => document.exitFullscreen());
      await waitFor(page, () => !/ full$/.test(play.dataset.fitted), 'the page back from full screen');
    }
    check(problems.length === 0, `no page or console errors${problems.length ? ':\n' + problems.join('\n') : ''}`);
    await page.close();
  }
  // A browser without full screen (a phone's that keeps it for videos) shows
  // no button for it.
  const { page, problems } = await openPage(browser);
  await page.evaluateOnNewDocument(() => {
    delete Element.prototype.requestFullscreen;
    delete Element.prototype.webkitRequestFullscreen;
  });
  await page.goto(url);
  await waitForTitle(page);
  check(await page.$eval('#fullscreen', (e) => e.hidden), 'no Full screen button without full screen');
  check(problems.length === 0, `no page or console errors${problems.length ? ':\n' + problems.join('\n') : ''}`);
});
