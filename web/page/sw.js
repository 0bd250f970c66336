// The service worker: stores every file of the site on the first visit, and
// from then on serves the page from that copy, online or offline. The build
// writes the file list and the version, a hash of those files, so a new
// build is a new worker with its own cache. It waits while an old page is
// open (a running game keeps the files it started with) and takes over when
// a page of the site next loads; the old cache is deleted then. Only the site's own
// files are stored; other requests are left to the browser.
'use strict';

const Files = /* @files */ [];
const Prefix = 'skyreel-';
const CacheName = Prefix + '@version@';

self.addEventListener('install', (event) => {
  // 'reload': the files as they are now, never an older copy from the
  // browser's HTTP cache under the new cache name.
  event.waitUntil(caches.open(CacheName).then((cache) =>
    cache.addAll(Files.map((name) => new Request(name, { cache: 'reload' })))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(names
    .filter((name) => name.startsWith(Prefix) && name !== CacheName)
    .map((name) => caches.delete(name)))));
});

// Asked by the build before it (see navigate) or by a page that starts while
// this worker waits (loader.js), before any game starts.
self.addEventListener('message', (event) => {
  if (event.data === 'take-over') {
    self.skipWaiting();
  }
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (request.method !== 'GET' || url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) {
    return;
  }
  let name = url.pathname.slice(scope.pathname.length);
  if (name === '') {
    name = 'index.html';
  }
  if (!Files.includes(name)) {
    return;
  }
  event.respondWith(name === 'index.html' && request.mode === 'navigate'
    ? navigate(request)
    : fromCopy(name, request));
});

function fromCopy(name, request) {
  return caches.open(CacheName)
    .then((cache) => cache.match(name))
    .then((stored) => stored || fetch(request));
}

// The page is loaded (a visit, a reload, "Play again"). When a newer build
// waits and no other page of the site is open, it takes over first, and this
// short answer sends the browser back for the page, now from the new copy:
// the page never mixes two builds.
async function navigate(request) {
  const newer = self.registration.waiting;
  if (newer && newer.state === 'installed') {
    const open = await self.clients.matchAll({ type: 'window' });
    if (open.length <= 1) {
      newer.postMessage('take-over');
      return new Response('<!doctype html><title>Skyreel</title><link rel="icon" href="skyreel-192.png">',
                          { headers: { 'Content-Type': 'text/html; charset=utf-8', Refresh: '0' } });
    }
  }
  return fromCopy('index.html', request);
}
