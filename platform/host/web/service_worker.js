// Keeps whole builds of the site for play without a network, and serves a page only the
// files of its own build. The build stamps its identity and every file's SHA-256 here.
'use strict';
const BUILD = '@SITE_BUILD@';
const FILES = @SITE_FILES@;
const PREFIX = 'paddleball-';

function hex(digest) {
  return Array.from(new Uint8Array(digest), (byte) => byte.toString(16).padStart(2, '0')).join('');
}

// The file as this build has it, or null. The page itself is asked for by the address it
// was opened at, so that a first visit fetches it once.
async function fetchOf(name, mode) {
  const address = name === 'index.html' ? './' : `${name}?build=${BUILD}`;
  const response = await fetch(address, {cache: mode});
  if (!response.ok) return null;
  const bytes = await response.arrayBuffer();
  if (!FILES[name].includes(hex(await crypto.subtle.digest('SHA-256', bytes)))) return null;
  const headers = {};
  for (const header of ['Content-Type', 'Content-Encoding']) {
    if (response.headers.has(header)) headers[header] = response.headers.get(header);
  }
  return new Response(bytes, {headers});
}

// What the browser holds is used when it is this build's (the page has just fetched most of
// it); anything else comes afresh from the server, past the browser's cache.
async function verified(name) {
  const file = await fetchOf(name, 'force-cache') || await fetchOf(name, 'reload');
  if (!file) throw new Error(`${name} did not arrive whole`);
  return file;
}

// A build is kept only once every file of it arrived and matched; a failure keeps nothing,
// and the build kept before goes on serving.
async function keepWhole() {
  const names = Object.keys(FILES);
  const files = await Promise.all(names.map(verified));
  const name = PREFIX + BUILD;
  await caches.delete(name);
  const cache = await caches.open(name);
  try {
    await Promise.all(names.map((file, i) => cache.put(file, files[i])));
  } catch (error) {
    await caches.delete(name);
    throw error;
  }
}

self.addEventListener('install', (event) => {
  event.waitUntil(keepWhole().then(() => self.skipWaiting()));
});

// The build before stays while pages that started on it may still ask for its files.
async function dropOld() {
  const older = (await caches.keys()).filter((name) => name.startsWith(PREFIX) && name !== PREFIX + BUILD);
  await Promise.all(older.slice(0, -1).map((name) => caches.delete(name)));
}

self.addEventListener('activate', (event) => {
  event.waitUntil(dropOld().then(() => self.clients.claim()));
});

// A page asks which build its worker keeps, to offer a reload when it is a newer one.
self.addEventListener('message', (event) => {
  if (event.source) event.source.postMessage({build: BUILD});
});

// The site file a request is for, or null for anything else.
function siteFile(url) {
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return null;
  const name = url.pathname.slice(scope.pathname.length) || 'index.html';
  return Object.prototype.hasOwnProperty.call(FILES, name) ? name : null;
}

// The kept copy of the build the request names (the page's own), or of this build; the
// server only for a build not kept, and the page checks what it gets.
self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  const name = event.request.method === 'GET' ? siteFile(url) : null;
  if (name === null) return;
  const build = url.searchParams.get('build') || BUILD;
  event.respondWith(caches.match(name, {cacheName: PREFIX + build})
    .then((kept) => kept || fetch(event.request)));
});
