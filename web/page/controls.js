// The touch pads: Left, Right and Fire. A pad hands the game the same key
// events as the keyboard, through the page's one key hand-over, so the game
// cannot tell a pad from its key. Every finger is followed on its own: one
// can hold Left while another taps Fire, and a thumb slid from Left onto
// Right changes direction without lifting.
'use strict';

window.SkyreelPage = window.SkyreelPage || {};

SkyreelPage.controls = (function () {
  const padsBox = document.getElementById('pads');
  // 12 x 12 pictures, one letter a pixel: '#' light, '+' dark edge, '.' clear.
  const Arrow = [
    '............',
    '.....++.....',
    '....+##+....',
    '...+####+...',
    '..+######+..',
    '.+########+.',
    '+##########+',
    '+++######+++',
    '...+####+...',
    '...+####+...',
    '...+####+...',
    '...++++++...',
  ];
  const Shot = [
    '....++++....',
    '..++####++..',
    '.+########+.',
    '.+##++++##+.',
    '+##+....+##+',
    '+##+.##.+##+',
    '+##+.##.+##+',
    '+##+....+##+',
    '.+##++++##+.',
    '.+########+.',
    '..++####++..',
    '....++++....',
  ];
  const Colours = {
    up: { '#': '#8fa8ff', '+': '#2a2f6a', back: '#14142a', frame: '#4a4f90' },
    down: { '#': '#fff2a0', '+': '#8a5a10', back: '#3a3020', frame: '#ffd060' },
  };

  // Each pad: its element, the key it stands for and the picture's turn
  // (quarter turns clockwise from pointing up).
  const pads = [
    { id: 'pad-left', key: 'ArrowLeft', code: 'ArrowLeft', keyCode: 37, picture: Arrow, turns: 3 },
    { id: 'pad-right', key: 'ArrowRight', code: 'ArrowRight', keyCode: 39, picture: Arrow, turns: 1 },
    { id: 'pad-fire', key: 'z', code: 'KeyZ', keyCode: 90, picture: Shot, turns: 0 },
  ].map(function (pad) {
    pad.element = document.getElementById(pad.id);
    pad.canvas = pad.element.querySelector('canvas');
    pad.held = false;
    return pad;
  });

  function draw(pad) {
    const size = pad.picture.length;
    const frame = 2; // pixels of frame around the picture
    const side = size + 2 * frame;
    pad.canvas.width = side;
    pad.canvas.height = side;
    const context = pad.canvas.getContext('2d');
    const colours = pad.held ? Colours.down : Colours.up;
    context.fillStyle = colours.frame;
    context.fillRect(0, 0, side, side);
    context.fillStyle = colours.back;
    context.fillRect(1, 1, side - 2, side - 2);
    for (let y = 0; y < size; ++y) {
      for (let x = 0; x < size; ++x) {
        // The source pixel that lands on (x, y) after the pad's turn.
        let sx = x;
        let sy = y;
        for (let t = 0; t < pad.turns; ++t) {
          [sx, sy] = [sy, size - 1 - sx];
        }
        const colour = colours[pad.picture[sy][sx]];
        if (colour) {
          context.fillStyle = colour;
          context.fillRect(frame + x, frame + y, 1, 1);
        }
      }
    }
  }

  // The key hand-over: a key event with the pad's key, code and key code,
  // given to the page's keyboard path like a key of the keyboard.
  function sendKey(pad, down) {
    const event = new KeyboardEvent(down ? 'keydown' : 'keyup', {
      key: pad.key, code: pad.code, bubbles: true, cancelable: true,
    });
    // The game reads the legacy key code, which an event made here lacks.
    Object.defineProperty(event, 'keyCode', { value: pad.keyCode });
    Object.defineProperty(event, 'which', { value: pad.keyCode });
    window.dispatchEvent(event);
  }

  // Which pad each finger (or pressed mouse) is on, by pointer id.
  const pointers = new Map();

  function padAt(x, y) {
    for (const pad of pads) {
      const r = pad.element.getBoundingClientRect();
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
        return pad;
      }
    }
    return null;
  }

  function update() {
    for (const pad of pads) {
      let held = false;
      pointers.forEach(function (on) {
        held = held || on === pad;
      });
      if (held !== pad.held) {
        pad.held = held;
        pad.element.classList.toggle('held', held);
        draw(pad);
        sendKey(pad, held);
      }
    }
  }

  function releaseAll() {
    pointers.clear();
    update();
  }

  padsBox.addEventListener('pointerdown', function (event) {
    const pad = padAt(event.clientX, event.clientY);
    if (!pad) {
      return;
    }
    event.preventDefault();
    // The finger is followed over the whole page, not kept by this pad.
    if (event.target.hasPointerCapture && event.target.hasPointerCapture(event.pointerId)) {
      event.target.releasePointerCapture(event.pointerId);
    }
    pointers.set(event.pointerId, pad);
    update();
  });
  window.addEventListener('pointermove', function (event) {
    if (pointers.has(event.pointerId)) {
      pointers.set(event.pointerId, padAt(event.clientX, event.clientY));
      update();
    }
  });
  function lift(event) {
    if (pointers.delete(event.pointerId)) {
      update();
    }
  }
  window.addEventListener('pointerup', lift);
  window.addEventListener('pointercancel', lift);
  window.addEventListener('blur', releaseAll);
  document.addEventListener('visibilitychange', function () {
    if (document.hidden) {
      releaseAll();
    }
  });
  // No long-press menu, magnifier or double-tap zoom over the play area.
  const play = document.getElementById('play');
  play.addEventListener('contextmenu', function (event) {
    event.preventDefault();
  });
  padsBox.addEventListener('touchstart', function (event) {
    event.preventDefault();
  }, { passive: false });

  // Shown on a touch screen, hidden while a gamepad is connected; the
  // play-again cover names the Fire pad while it shows.
  let touched = window.matchMedia('(pointer: coarse)').matches || navigator.maxTouchPoints > 0;
  function hasGamepad() {
    let list = [];
    try {
      list = (navigator.getGamepads && navigator.getGamepads()) || [];
    } catch (error) {
      // a page the browser keeps from gamepads
    }
    return Array.prototype.some.call(list, function (pad) {
      return pad && pad.connected;
    });
  }
  function choose() {
    const show = touched && !hasGamepad();
    if (show === padsBox.hidden) {
      padsBox.hidden = !show;
      document.getElementById('again-fire').hidden = !show;
      if (!show) {
        releaseAll();
      }
      SkyreelPage.fit.refit();
    }
  }
  window.addEventListener('pointerdown', function (event) {
    if (event.pointerType === 'touch' && !touched) {
      touched = true;
      choose();
    }
  }, true);
  window.addEventListener('gamepadconnected', choose);
  window.addEventListener('gamepaddisconnected', choose);
  // A browser may list a gamepad without telling the page it connected.
  window.setInterval(choose, 1000);

  pads.forEach(draw);
  choose();
  return { pads: pads };
}());
