// Loads the game. The page asks for the game's three files together with its
// own (index.html preloads them), so nothing waits for anything else; their
// bytes fill one bar from the first moment; the WebAssembly compiles while
// it downloads, and the packed data is unpacked and handed to the runtime
// whole, so no file is requested twice. Once the game runs, the service worker is
// registered to keep the site for offline play (sw.js); a page that starts
// while a newer build waits lets it take over and loads again before any
// game begins. Loading and failure are said in the page's live region.
'use strict';

(function () {
  if (!window.Module) {
    return; // page.js has said why the game cannot run here
  }
  // Bytes of each game file, written by the build; a file that turns out
  // larger counts as its real size.
  const Sizes = /* @sizes */ {};
  const Names = ['skyreel.js', 'skyreel.wasm', 'skyreel.pack'];
  const loaded = {};

  const bar = document.getElementById('loading-bar');
  const progress = bar.parentElement;
  const announcer = document.getElementById('announce');

  function announce(text) {
    announcer.textContent = text;
  }

  let failed = false;
  function fail(error) {
    if (failed) {
      return;
    }
    failed = true;
    console.warn('Skyreel could not load:', error);
    const text = 'The game files could not be loaded. Check the connection and reload the page.';
    document.getElementById('loading').hidden = true;
    document.getElementById('failed-text').textContent = text;
    document.getElementById('failed').hidden = false;
    announce(text);
  }

  function draw() {
    let done = 0;
    let total = 0;
    for (const file of Names) {
      done += loaded[file] || 0;
      total += Math.max(Sizes[file] || 0, loaded[file] || 0);
    }
    const percent = total > 0 ? Math.min(100, Math.floor(100 * done / total)) : 0;
    bar.style.width = percent + '%';
    progress.setAttribute('aria-valuenow', String(percent));
  }
  function count(name, bytes) {
    loaded[name] = (loaded[name] || 0) + bytes;
    draw();
  }
  function complete(name) {
    loaded[name] = Math.max(loaded[name] || 0, Sizes[name] || 0);
    draw();
  }
  draw();

  const worker = 'serviceWorker' in navigator ? navigator.serviceWorker : null;
  // From the service worker's copy the files come at once: they are read
  // whole (Chromium can report a stored file read piece by piece as a
  // cancelled request although it arrived).
  const stored = Boolean(worker && worker.controller);

  // The response again, its bytes counted as they arrive.
  function counted(name, response, type) {
    if (!response.ok) {
      throw new Error(`${name}: HTTP ${response.status}`);
    }
    if (!response.body || stored) {
      return response.arrayBuffer().then((buffer) => {
        count(name, buffer.byteLength);
        return new Response(buffer, { headers: { 'Content-Type': type } });
      });
    }
    const reader = response.body.getReader();
    const stream = new ReadableStream({
      pull(controller) {
        return reader.read().then((chunk) => {
          if (chunk.done) {
            controller.close();
          } else {
            count(name, chunk.value.byteLength);
            controller.enqueue(chunk.value);
          }
        });
      },
      cancel(reason) {
        return reader.cancel(reason);
      },
    });
    return new Response(stream, { headers: { 'Content-Type': type } });
  }

  // Compiled as it downloads; the type is ours, so a host that serves .wasm
  // under another MIME type costs nothing.
  const wasm = fetch('skyreel.wasm')
    .then((response) => counted('skyreel.wasm', response, 'application/wasm'))
    .then((response) => (WebAssembly.compileStreaming
      ? WebAssembly.compileStreaming(response)
      : response.arrayBuffer().then((bytes) => WebAssembly.compile(bytes))));
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
  const data = fetch('skyreel.pack')
    .then((response) => counted('skyreel.pack', response, 'application/octet-stream'))
    .then((response) => response.arrayBuffer())
    .then(unpack);
  wasm.catch(fail);

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

  Module.instantiateWasm = function (imports, receive) {
    wasm.then((module) => WebAssembly.instantiate(module, imports)
      .then((instance) => receive(instance, module)))
      .catch(fail);
    return {};
  };
  let packed = null;
  Module.getPreloadedPackage = function () {
    return packed;
  };

  // A newer build may wait in the wings: the first page to start after it
  // was stored lets it take over (no game runs yet) and loads again.
  const waiting = !stored ? Promise.resolve(null) : worker.getRegistration()
    .then((registration) => registration && registration.waiting)
    .catch(() => null);

  // The runtime reads the packed data as its script starts: it starts once
  // the data is here.
  Promise.all([data, waiting]).then(([buffer, newer]) => {
    if (failed) {
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
    packed = buffer;
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

  announce('Loading Skyreel\u2026');
}());
