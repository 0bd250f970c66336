// The same pixels and the speed in the browser: skyreel-scene draws one fixed
// heavy scene at several background angles on the desktop and in headless
// Chromium; every picture's colours must hash alike. Its heavy frame is timed
// in the same run on the same machine and both figures are printed: speed is
// a measurement, not a pass mark, so a busy machine cannot fail the test.
// SKYREEL_WEB_MAX_RATIO=2 turns the ratio into a check for a quiet machine.
// Usage: node scene.mjs NATIVE_SCENE DATA_ROOT SCENE_SITE_DIR
import { execFileSync } from 'node:child_process';
import { run, openPage, check } from './support.mjs';

const [nativeScene, dataRoot, sceneSite] = process.argv.slice(2);
const Frames = 200;
const MaxRatio = Number(process.env.SKYREEL_WEB_MAX_RATIO || 0);

function parse(lines) {
  const result = { scenes: [], frameUs: NaN, bullets: 0 };
  for (const line of lines) {
    const words = line.trim().split(/\s+/);
    if (words[0] === 'scene') {
      result.scenes[Number(words[1])] = words[2];
    } else if (words[0] === 'frame_us') {
      result.frameUs = Number(words[1]);
    } else if (words[0] === 'bullets') {
      result.bullets = Number(words[1]);
    }
  }
  return result;
}

function runNative() {
  const text = execFileSync(nativeScene, ['--data-dir', dataRoot, '--frames', String(Frames)],
                            { encoding: 'utf8' });
  return parse(text.split('\n'));
}

async function runBrowser(browser, url) {
  const { page, problems } = await openPage(browser);
  const lines = [];
  page.on('console', (message) => lines.push(message.text()));
  await page.goto(`${url}scene.html?frames=${Frames}`);
  // The page prints a line per picture: one that falls silent has stalled.
  let heard = 0;
  let lastLine = Date.now();
  while (!lines.some((line) => line.startsWith('frame_us'))) {
    if (lines.length !== heard) {
      heard = lines.length;
      lastLine = Date.now();
    } else if (Date.now() - lastLine > 30000) {
      throw new Error(`gave up waiting for the scene page's frame_us line: nothing printed for 30 s ` +
                      `after ${heard} lines`);
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  await page.close();
  check(problems.length === 0, `the scene page runs without errors${problems.length ? ':\n' + problems.join('\n') : ''}`);
  return parse(lines);
}

await run('scene', sceneSite, async (browser, url) => {
  // Alternated, the best of three each, so a busy moment of a shared
  // machine weighs on neither side alone.
  const native = [];
  const web = [];
  for (let round = 0; round < 3; ++round) {
    native.push(runNative());
    web.push(await runBrowser(browser, url));
  }

  const n = native[0];
  const w = web[0];
  check(n.scenes.length >= 6 && n.bullets === 800, `the desktop drew ${n.scenes.length} pictures with ${n.bullets} bullets`);
  check(w.scenes.length === n.scenes.length && w.bullets === 800,
        `the browser drew ${w.scenes.length} pictures with ${w.bullets} bullets`);
  n.scenes.forEach((hash, i) => {
    check(w.scenes[i] === hash, `picture ${i} is the same in the browser (${w.scenes[i]}) as on the desktop (${hash})`);
  });
  const nativeUs = Math.min(...native.map((r) => r.frameUs));
  const webUs = Math.min(...web.map((r) => r.frameUs));
  const ratio = webUs / nativeUs;
  console.log(`heavy frame: desktop ${nativeUs.toFixed(1)} us, browser ${webUs.toFixed(1)} us, ratio ${ratio.toFixed(2)}`);
  if (MaxRatio > 0) {
    check(ratio <= MaxRatio, `the browser's heavy frame takes at most ${MaxRatio} times the desktop's`);
  }
});
