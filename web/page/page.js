// The page around the game: loading bar, keyboard hand-over, and what to
// show when the game ends or cannot start. Sizing, the touch pads and sound
// are in fit.js, controls.js and sound.js.
'use strict';

(function () {
  // Keys the game reads, by key code: the letter of the player's keyboard
  // layout, as the game reads it (Z on an AZERTY keyboard is where QWERTY has
  // W). Only these go to the game, so the browser's own shortcuts keep
  // working, and these never scroll the page.
  const GameKeys = new Set([
    37, 38, 39, 40, // arrows
    90, 32, 88, 67, 86, // Z, Space, X, C, V
    81, 27, // Q, Escape
  ]);
  const ConfirmKeys = new Set([90, 32, 13]); // Z, Space, Enter

  const canvas = document.getElementById('canvas');
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

  document.getElementById('again').addEventListener('click', function () {
    window.location.reload();
  });

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    fail('This browser cannot run WebAssembly, which Skyreel needs. ' +
         'A current Firefox, Chromium, Chrome, Edge or Safari plays it.');
    return;
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
      if (event.type === 'keydown' && ConfirmKeys.has(event.keyCode)) {
        event.preventDefault();
        window.location.reload();
      }
      return;
    }
    if (!GameKeys.has(event.keyCode) || event.ctrlKey || event.altKey || event.metaKey) {
      return;
    }
    (keyListeners[event.type] || []).forEach(function (listener) { listener(event); });
    event.preventDefault();
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
      SkyreelPage.sound.prepare(SDL);
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
