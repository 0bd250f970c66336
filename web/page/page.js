// The page around the game (loader.js loads it): keyboard hand-over, and
// what to show when the game ends or cannot start. Sizing, the touch pads
// and sound are in fit.js, controls.js and sound.js.
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

  function show(id, visible) {
    document.getElementById(id).hidden = !visible;
  }

  // Said to screen readers through the page's live region.
  function announce(text) {
    document.getElementById('announce').textContent = text;
  }

  function fail(text) {
    announce(text);
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
    onRuntimeInitialized: function () {
      SkyreelPage.sound.prepare(SDL);
      show('loading', false);
    },
    // The ship's hit sound (effect 10) ends every game.
    onEffect: function (n) {
      if (n === 10) {
        announce('Game over. Fire starts a new game.');
      }
    },
    onQuit: function () {
      ended = true;
      show('ended', true);
      announce('Thanks for playing Skyreel. Play again?');
      document.getElementById('again').focus();
    },
    onAbort: function () {
      fail('Skyreel stopped with an error. Reload the page to play again.');
    },
  };
}());
