// The page around the game: loading bar, whole-factor scaling, full screen,
// keyboard hand-over, and what to show when the game ends or cannot start.
'use strict';

(function () {
  const GameWidth = 480;
  const GameHeight = 272;
  // Keys the game reads; only these go to the game, so the browser's own
  // shortcuts keep working, and these never scroll the page.
  const GameKeys = new Set([
    'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown',
    'KeyZ', 'Space', 'KeyX', 'KeyC', 'KeyV', 'KeyQ', 'Escape',
  ]);

  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage');
  const loadingBar = document.getElementById('loading-bar');
  const loadingText = document.getElementById('loading-text');

  function show(id, visible) {
    document.getElementById(id).hidden = !visible;
  }

  function fail(text) {
    show('loading', false);
    document.getElementById('failed-text').textContent = text;
    show('failed', true);
  }

  // The largest whole factor at which the picture fits: in full screen the
  // screen, else the window less the bar under the game.
  function fit() {
    const full = document.fullscreenElement === stage;
    const reserve = full ? 0 : document.getElementById('bar').offsetHeight + 24;
    const factor = Math.max(1, Math.floor(Math.min(
      window.innerWidth / GameWidth, (window.innerHeight - reserve) / GameHeight)));
    // The size is a style rule on a variable: SDL clears the canvas's own
    // width and height styles when it sets the video mode.
    stage.style.setProperty('--factor', String(factor));
    stage.dataset.factor = String(factor);
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();

  document.getElementById('fullscreen').addEventListener('click', function () {
    if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(function () {});
    }
  });
  document.getElementById('again').addEventListener('click', function () {
    window.location.reload();
  });

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    fail('This browser cannot run WebAssembly, which Skyreel needs. ' +
         'A current Firefox, Chromium, Chrome, Edge or Safari plays it.');
    return;
  }
  const soundNote = document.getElementById('sound-note');
  const hasWebAudio = typeof AudioContext !== 'undefined' || typeof webkitAudioContext !== 'undefined';
  if (!hasWebAudio) {
    soundNote.textContent = 'This browser has no Web Audio: the game plays without sound.';
  }

  // SDL listens for keys on this stand-in; the page hands it the game's keys
  // from anywhere on the page, so no click on the game is needed first.
  const keyListeners = {};
  const keyboard = {
    addEventListener: function (type, listener) {
      (keyListeners[type] = keyListeners[type] || []).push(listener);
    },
    removeEventListener: function () {},
  };
  let ended = false;
  function forward(event) {
    if (ended) {
      // The game has shut down: the confirm keys start it again.
      if (event.type === 'keydown' && ['KeyZ', 'Space', 'Enter'].includes(event.code)) {
        event.preventDefault();
        window.location.reload();
      }
      return;
    }
    if (!GameKeys.has(event.code) || event.ctrlKey || event.altKey || event.metaKey) {
      return;
    }
    (keyListeners[event.type] || []).forEach(function (listener) { listener(event); });
    event.preventDefault();
    // The first key has started the sound: the note has said its piece.
    if (hasWebAudio && event.type === 'keydown') {
      soundNote.hidden = true;
    }
  }
  window.addEventListener('keydown', forward);
  window.addEventListener('keyup', forward);

  window.Module = {
    canvas: canvas,
    keyboardListeningElement: keyboard,
    // Every picture is drawn whole, so SDL need not read the canvas back.
    screenIsReadOnly: true,
    // Sounds are read from the packed files, not decoded ahead.
    noAudioDecoding: true,
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); },
    // The data packer reports "Downloading data... (done/total)".
    setStatus: function (text) {
      const m = /\((\d+(?:\.\d+)?)\/(\d+(?:\.\d+)?)\)/.exec(text);
      if (m) {
        loadingBar.style.width = Math.min(100, 100 * Number(m[1]) / Number(m[2])) + '%';
      }
      if (text === '') {
        loadingBar.style.width = '100%';
      }
    },
    monitorRunDependencies: function (left) {
      if (left > 0) {
        loadingText.textContent = 'Loading Skyreel\u2026';
      }
    },
    onRuntimeInitialized: function () {
      show('loading', false);
    },
    onQuit: function () {
      ended = true;
      show('ended', true);
      document.getElementById('again').focus();
    },
    onAbort: function () {
      fail('Skyreel stopped with an error. Reload the page to play again.');
    },
  };

  const script = document.createElement('script');
  script.src = 'skyreel.js';
  script.onerror = function () {
    fail('The game files could not be loaded. Reload the page to try again.');
  };
  document.body.appendChild(script);
}());
