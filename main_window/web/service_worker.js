// The installed app's service worker: it keeps the page, its manifest and its icons, so that
// the app starts and calculates with the network gone. Each build has a cache of its own;
// a new build's worker fills its cache, then drops the caches of the builds before it.
'use strict';

const CACHE = '@CACHE@';
const FILES = @FILES@;

self.addEventListener('install', (event) => {
    // Past the browser's HTTP cache: the files of this very build.
    const requests = FILES.map((file) => new Request(file, { cache: 'reload' }));
    event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(requests)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    const old = (name) => name.startsWith('tornevo-') && name !== CACHE;
    event.waitUntil(
        caches.keys()
            .then((names) => Promise.all(names.filter(old).map((name) => caches.delete(name))))
            .then(() => self.clients.claim()),
    );
});

// The kept files from the cache, the network for anything else.
self.addEventListener('fetch', (event) => {
    event.respondWith(
        caches.open(CACHE)
            .then((cache) => cache.match(event.request, { ignoreSearch: true }))
            .then((kept) => kept || fetch(event.request)),
    );
});
