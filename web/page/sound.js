// The game's sound on the page: one Web Audio context for the game, started
// by the first key or tap (including browsers that allow it only at the end
// of a tap), stopped while the page is hidden and started again on return,
// and a mute button that silences everything while the game runs on.
'use strict';

window.SkyreelPage = window.SkyreelPage || {};

SkyreelPage.sound = (function () {
  const Context = window.AudioContext || window.webkitAudioContext;
  const muteButton = document.getElementById('mute');
  const note = document.getElementById('sound-note');
  let context = null;
  let master = null;
  let muted = false;

  if (!Context) {
    note.textContent = 'This browser has no Web Audio: the game plays without sound.';
    return { available: false, prepare: function () {} };
  }

  function wake() {
    if (context && context.state === 'suspended' && !document.hidden) {
      context.resume().catch(function () {});
    }
  }

  function setMuted(value) {
    muted = value;
    if (master) {
      master.gain.value = muted ? 0 : 1;
    }
    muteButton.textContent = muted ? 'Unmute' : 'Mute';
    muteButton.setAttribute('aria-pressed', muted ? 'true' : 'false');
  }

  // Called before the game starts: the game's sound library then takes this
  // context, and everything it plays goes through the master volume.
  function prepare(sdl) {
    try {
      context = new Context();
    } catch (error) {
      return; // the game's sound library tries for itself, and plays silently
    }
    master = context.createGain();
    master.connect(context.destination);
    Object.defineProperty(context, 'destination', { value: master });
    setMuted(muted);
    context.addEventListener('statechange', function () {
      // Sound runs: the note has said its piece. Its room stays, so the
      // buttons beside it do not move under the pointer that started sound.
      if (context.state === 'running') {
        note.style.visibility = 'hidden';
      }
    });
    sdl.audioContext = context;
  }

  // Every gesture a browser may count as the one that allows sound.
  ['keydown', 'pointerdown', 'pointerup', 'touchend', 'click'].forEach(function (type) {
    window.addEventListener(type, wake, true);
  });
  document.addEventListener('visibilitychange', function () {
    if (!context) {
      return;
    }
    if (document.hidden) {
      context.suspend().catch(function () {});
    } else if (navigator.userActivation === undefined || navigator.userActivation.hasBeenActive) {
      wake();
    }
  });

  muteButton.hidden = false;
  muteButton.addEventListener('click', function () {
    setMuted(!muted);
  });
  setMuted(false);
  return { available: true, prepare: prepare };
}());
