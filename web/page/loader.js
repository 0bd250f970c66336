// Loads the game. The page asks for the game's three files together with its
// own (index.html preloads them), so nothing waits for anything else, and
// this script runs as soon as it arrives, whether before or after the page's
// other scripts, and takes the WebAssembly and the packed data over from the
// preloads: the WebAssembly compiles as soon as it is in, the packed data is
// unpacked, and no file is requested twice. Their bytes fill one bar from the
// first moment. Once the page is parsed and its deferred scripts have run
// (page.js makes the game's Module) and the data is in, the game's script
// starts. Once the game runs, the service worker is registered to keep the
// site for offline play (sw.js); a page that starts while a newer build waits
// lets it take over and loads again before any game begins. Loading and
// failure are said in the page's live region.
'use strict';

(function () {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    return; // page.js says why the game cannot run here
  }
  // Bytes of each game file, written by the build; a file that turns out
  // larger counts as its real size.
  const Sizes = /* @sizes */ {};
  const Names = ['skyreel.js', 'skyreel.wasm', 'skyreel.pack'];
  const loaded = {};
  let failed = false;

  // The page's body may not be parsed yet: these look for it each time.
  function announce(text) {
    const announcer = document.getElementById('announce');
    if (announcer) {
      announcer.textContent = text;
    }
  }
  let saidLoading = false;
  function draw() {
    const bar = document.getElementById('loading-bar');
    if (!bar) {
      return;
    }
    if (!saidLoading && !failed) {
      saidLoading = true;
      announce('Loading Skyreel\u2026');
    }
    let done = 0;
    let total = 0;
    for (const file of Names) {
      done += loaded[file] || 0;
      total += Math.max(Sizes[file] || 0, loaded[file] || 0);
    }
    const percent = total > 0 ? Math.min(100, Math.floor(100 * done / total)) : 0;
    bar.style.width = percent + '%';
    bar.parentElement.setAttribute('aria-valuenow', String(percent));
  }
  function count(name, bytes) {
    loaded[name] = (loaded[name] || 0) + bytes;
    draw();
  }
  function complete(name) {
    loaded[name] = Math.max(loaded[name] || 0, Sizes[name] || 0);
    draw();
  }

  // The page parsed and its deferred scripts run (page.js makes the Module).
  // This script may run between the two: the page is no longer loading, but
  // DOMContentLoaded, which comes after them, is still to come.
  const parsed = new Promise((resolve) => {
    const state = document.readyState;
    if (state === 'complete' || (state === 'interactive' && window.Module)) {
      resolve();
    } else {
      document.addEventListener('DOMContentLoaded', resolve);
    }
  });

  function fail(error) {
    if (failed) {
      return;
    }
    failed = true;
    console.warn('Skyreel could not load:', error);
    parsed.then(() => {
      const text = 'The game files could not be loaded. Check the connection and reload the page.';
      document.getElementById('loading').hidden = true;
      document.getElementById('failed-text').textContent = text;
      document.getElementById('failed').hidden = false;
      announce(text);
    });
  }

  const worker = 'serviceWorker' in navigator ? navigator.serviceWorker : null;
  // Whether the page runs from the service worker's copy.
  const stored = Boolean(worker && worker.controller);

  // The bytes of a file, counted on the bar as they arrive. A request with
  // progress events, not a fetch: Chromium sometimes reports a fetch read
  // piece by piece, or one that takes over a preload, as a cancelled request
  // although all of it arrived.
  function download(name) {
    return new Promise((resolve, reject) => {
      const request = new XMLHttpRequest();
      request.open('GET', name);
      request.responseType = 'arraybuffer';
      let counted = 0;
      request.onprogress = (event) => {
        count(name, event.loaded - counted);
        counted = event.loaded;
      };
      request.onload = () => {
        if (request.status !== 200) {
          reject(new Error(`${name}: HTTP ${request.status}`));
          return;
        }
        loaded[name] = request.response.byteLength;
        draw();
        resolve(request.response);
      };
      request.onerror = () => reject(new Error(`${name} did not load`));
      request.send();
    });
  }

  const wasm = download('skyreel.wasm').then((bytes) => WebAssembly.compile(bytes));
  wasm.catch(fail);

  // The packed data as the build stored it (stamp-site.mjs): each byte as
  // its difference from the byte two places before, the even places first,
  // then the odd. Summing up again gives the runtime's package.
  function unpack(buffer) {
    const packed = new Uint8Array(buffer);
    const half = (packed.length + 1) >> 1;
    const data = new Uint8Array(packed.length);
    let even = 0;
    let odd = 0;
    for (let k = 0; k < half; ++k) {
      even = (even + packed[k]) & 255;
      data[2 * k] = even;
    }
    for (let k = 0; half + k < packed.length; ++k) {
      odd = (odd + packed[half + k]) & 255;
      data[2 * k + 1] = odd;
    }
    return data.buffer;
  }
  const data = download('skyreel.pack').then(unpack);

  // The game's script arrives by the page's preload; the bar counts it once
  // it is there.
  if (typeof PerformanceObserver === 'function') {
    new PerformanceObserver((list, observer) => {
      if (list.getEntries().some((entry) => /\/skyreel\.js$/.test(entry.name))) {
        complete('skyreel.js');
        observer.disconnect();
      }
    }).observe({ type: 'resource', buffered: true });
  }

  // A newer build may wait in the wings: the first page to start after it
  // was stored lets it take over (no game runs yet) and loads again.
  const waiting = !stored ? Promise.resolve(null) : worker.getRegistration()
    .then((registration) => registration && registration.waiting)
    .catch(() => null);

  // The runtime reads the packed data as its script starts: it starts once
  // the page has made the Module and the data is here.
  Promise.all([data, waiting, parsed]).then(([buffer, newer]) => {
    if (failed || !window.Module) {
      return;
    }
    if (newer) {
      announce('Loading the new version of Skyreel\u2026');
      worker.addEventListener('controllerchange', () => window.location.reload());
      // Once the compiled game is in, so the reload cuts no request short.
      const takeOver = () => newer.postMessage('take-over');
      wasm.then(takeOver, takeOver);
      return;
    }
    Module.instantiateWasm = function (imports, receive) {
      wasm.then((module) => WebAssembly.instantiate(module, imports)
        .then((instance) => receive(instance, module)))
        .catch(fail);
      return {};
    };
    Module.getPreloadedPackage = function () {
      return buffer;
    };
    (Module.postRun = Module.postRun || []).push(function () {
      announce('Skyreel is ready: fire starts a game.');
      if (worker) {
        worker.register('sw.js', { updateViaCache: 'none' }).catch((error) => {
          console.warn('Skyreel will not be kept for offline play:', error.message);
        });
      }
    });
    const script = document.createElement('script');
    script.src = 'skyreel.js';
    script.onload = () => complete('skyreel.js');
    script.onerror = () => fail(new Error('skyreel.js did not load'));
    document.body.appendChild(script);
  }, fail);

  parsed.then(draw);
}());
