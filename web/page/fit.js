// Sizing of the play area: the picture as large as fits, with the touch pads
// beside it (sideways) or in a band under it (upright) when they are shown.
// Lengths are CSS px unless named otherwise; the scale is in device pixels
// per game pixel, so that every game pixel covers the same whole number of
// device pixels whatever the display scaling. Below one device pixel per game
// pixel, and in full screen, the picture takes a fractional factor instead.
'use strict';

window.SkyreelPage = window.SkyreelPage || {};

SkyreelPage.fit = (function () {
  const GameWidth = 480;
  const GameHeight = 272;
  const Pad = 64; // side of one pad
  const Gap = 8; // between pads, and between the pads and the picture
  const HintHeight = 20; // the line over the Fire pad, sideways
  // Left and Right side by side; the Fire pad's margin is as wide, so the
  // picture stays centred.
  const SideMargin = 2 * Pad + 3 * Gap;
  const BandHeight = Pad + 2 * Gap;
  // How much larger the picture must be to put the pads across the area's
  // natural way (under the picture of a wide area, beside that of a tall one).
  const Preference = 1.1;

  const play = document.getElementById('play');
  const stage = document.getElementById('stage');
  const pads = document.getElementById('pads');
  const bar = document.getElementById('bar');
  const parts = {
    left: document.getElementById('pad-left'),
    right: document.getElementById('pad-right'),
    fire: document.getElementById('pad-fire'),
    hint: document.getElementById('pad-hint'),
  };

  // Picture size in a box of w x h: [device pixels per game pixel, CSS px
  // per game pixel].
  function scaleIn(w, h, ratio, fractional) {
    const css = Math.min(w / GameWidth, h / GameHeight);
    const whole = Math.floor(css * ratio + 1e-9);
    if (fractional || whole < 1) {
      return [css * ratio, css];
    }
    return [whole, whole / ratio];
  }

  // The layout in an area of w x h for a given set of pads: every part as
  // { x, y, w, h } from the area's top left.
  function arrange(w, h, ratio, fractional, withPads) {
    const layouts = [];
    if (!withPads) {
      layouts.push({ mode: 'plain', room: [w, h] });
    } else {
      layouts.push({ mode: 'side', room: [w - 2 * SideMargin, h] });
      layouts.push({ mode: 'band', room: [w, h - BandHeight] });
    }
    let best = null;
    for (const layout of layouts) {
      if (layout.room[0] <= 0 || layout.room[1] <= 0) {
        continue;
      }
      [layout.scale, layout.css] = scaleIn(layout.room[0], layout.room[1], ratio, fractional);
      // The pads go beside a wide area and under a tall one, unless the
      // other way gives a clearly larger picture.
      const natural = (layout.mode === 'side') === (w > h);
      const better = !best || (natural ? layout.css >= best.css / Preference : layout.css > best.css * Preference);
      if (better) {
        best = layout;
      }
    }
    if (!best) {
      best = { mode: withPads ? 'band' : 'plain', scale: 0, css: 0 };
    }
    const picW = GameWidth * best.css;
    const picH = GameHeight * best.css;
    const result = { mode: best.mode, scale: best.scale, css: best.css, parts: {} };
    result.picture = { x: (w - picW) / 2, y: 0, w: picW, h: picH };
    if (best.mode === 'side') {
      const padY = picH - Pad;
      result.parts.left = { x: Gap, y: padY, w: Pad, h: Pad };
      result.parts.right = { x: 2 * Gap + Pad, y: padY, w: Pad, h: Pad };
      result.parts.fire = { x: w - Gap - Pad, y: padY, w: Pad, h: Pad };
      result.parts.hint = { x: w - SideMargin + Gap, y: Math.max(0, padY - HintHeight - Gap),
                            w: SideMargin - 2 * Gap, h: HintHeight };
      result.height = picH;
    } else if (best.mode === 'band') {
      const padY = picH + Gap;
      result.parts.left = { x: Gap, y: padY, w: Pad, h: Pad };
      result.parts.right = { x: 2 * Gap + Pad, y: padY, w: Pad, h: Pad };
      result.parts.fire = { x: w - Gap - Pad, y: padY, w: Pad, h: Pad };
      const hintX = 3 * Gap + 2 * Pad;
      result.parts.hint = { x: hintX, y: padY, w: Math.max(0, w - hintX - 2 * Gap - Pad), h: Pad };
      result.height = picH + BandHeight;
    } else {
      result.height = picH;
    }
    return result;
  }

  function px(value) {
    return value + 'px';
  }

  function place(element, box, snap) {
    element.style.left = px(snap.x(box.x));
    element.style.top = px(snap.y(box.y));
    element.style.width = px(box.w);
    element.style.height = px(box.h);
  }

  function refit() {
    const ratio = window.devicePixelRatio || 1;
    const full = document.fullscreenElement === play || document.webkitFullscreenElement === play;
    const withPads = !pads.hidden;
    const style = getComputedStyle(full ? play : document.body);
    const insetBottom = parseFloat(style.paddingBottom) || 0;
    const width = play.clientWidth - (full ? (parseFloat(style.paddingLeft) || 0) +
                                             (parseFloat(style.paddingRight) || 0) : 0);
    let layout;
    if (full) {
      const height = play.clientHeight - (parseFloat(style.paddingTop) || 0) - insetBottom;
      layout = arrange(width, height, ratio, true, withPads);
      // Centred on the screen.
      const down = Math.max(0, (height - layout.height) / 2);
      for (const box of [layout.picture].concat(Object.values(layout.parts))) {
        box.y += down;
      }
    } else {
      // Room from the top of the play area to the bottom of the window, less
      // the bar under it when keeping the bar in view costs the picture nothing.
      const top = play.getBoundingClientRect().top + window.scrollY;
      const room = window.innerHeight - top - insetBottom - 4;
      const barRoom = bar.offsetHeight + 12;
      layout = arrange(width, room - barRoom, ratio, false, withPads);
      const roomier = arrange(width, room, ratio, false, withPads);
      if (roomier.css > layout.css) {
        layout = roomier;
      }
    }
    // Positions land on whole device pixels of the window. Offsets are from
    // the play area's padding edge, where its content starts at pad*.
    const origin = play.getBoundingClientRect();
    const padLeft = full ? parseFloat(style.paddingLeft) || 0 : 0;
    const padTop = full ? parseFloat(style.paddingTop) || 0 : 0;
    const snapFrom = (edge, pad) => (value) =>
      Math.round((edge + pad + value) * ratio) / ratio - edge;
    const snap = { x: snapFrom(origin.left, padLeft), y: snapFrom(origin.top, padTop) };

    place(stage, layout.picture, snap);
    // SDL clears the canvas's own width and height styles when it sets the
    // video mode, so the size is a style rule on variables.
    stage.style.setProperty('--picture-width', px(layout.picture.w));
    stage.style.setProperty('--picture-height', px(layout.picture.h));
    for (const name of Object.keys(parts)) {
      if (layout.parts[name]) {
        place(parts[name], layout.parts[name], snap);
      }
    }
    if (!full) {
      play.style.height = px(Math.ceil(layout.height));
    } else {
      play.style.removeProperty('height');
    }
    play.dataset.layout = layout.mode;
    play.dataset.scale = String(layout.scale);
    // The window this layout was made for, for the page's tests.
    play.dataset.fitted = `${window.innerWidth}x${window.innerHeight}@${ratio}${full ? ' full' : ''}`;
    return layout;
  }

  window.addEventListener('resize', refit);
  document.addEventListener('fullscreenchange', refit);
  document.addEventListener('webkitfullscreenchange', refit);
  // A change of display scaling on the same window size.
  (function watchRatio() {
    const query = window.matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
    if (!query.addEventListener) {
      return; // an older browser: its resize event has to do
    }
    query.addEventListener('change', function changed() {
      query.removeEventListener('change', changed);
      refit();
      watchRatio();
    });
  }());

  // Full screen where the browser has it; the button stays hidden elsewhere
  // (a phone browser that gives full screen to videos only).
  const button = document.getElementById('fullscreen');
  const request = play.requestFullscreen || play.webkitRequestFullscreen;
  if (request && (document.fullscreenEnabled || document.webkitFullscreenEnabled)) {
    button.hidden = false;
    button.addEventListener('click', function () {
      const pending = request.call(play);
      if (pending && pending.catch) {
        pending.catch(function () {});
      }
    });
  }

  refit();
  return { refit: refit };
}());
