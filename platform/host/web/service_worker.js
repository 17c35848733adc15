// Keeps the site's files for play without a network. The build stamps the version from the
// files' content: a new build installs afresh and drops what the old one kept.
'use strict';
const VERSION = 'paddleball-@SITE_VERSION@';
const FILES = ['./', 'index.html', 'manifest.webmanifest', 'icon-192.png', 'icon-512.png',
  'paddleball.js.gz', 'paddleball.wasm.gz', 'paddleball.data.gz'];

// The page has just fetched most of these: the browser's own cache gives them again.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(VERSION)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, {cache: 'force-cache'}))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== VERSION)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The network first, so that a reachable site is always the current one; the kept copy
// when the network fails.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(fetch(event.request).catch(() =>
    caches.open(VERSION).then((cache) => cache.match(event.request, {ignoreSearch: true}))
      .then((kept) => kept || Response.error())));
});
