// The built site served on this machine only, and the Chromium that visits it: shared by the
// browser test and tools/web_figures.
'use strict';
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');

const CHROMIUM = process.env.PADDLEBALL_CHROMIUM || '/usr/bin/chromium';
// The network is closed: without these Chromium keeps trying to reach its services.
const CHROMIUM_ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const SITE_FILES = ['index.html', 'service_worker.js', 'manifest.webmanifest', 'icon-192.png',
  'icon-512.png', 'paddleball.js.gz', 'paddleball.wasm.gz', 'paddleball.data.gz'];
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json'};

// The site's files as they are, compressing nothing, counting the bytes sent in state.bytes;
// state.missing names a file to answer 404 for, and state.down drops every connection.
function serve(site, state) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).slice(1) || 'index.html';
    if (state.down) {
      request.socket.destroy();
      return;
    }
    if (!SITE_FILES.includes(name) || name === state.missing) {
      response.writeHead(404).end();
      return;
    }
    const body = fs.readFileSync(path.join(site, name));
    state.bytes += body.length;
    response.writeHead(200, {'Content-Type': TYPES[path.extname(name)] || 'application/octet-stream'});
    response.end(body);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

module.exports = {CHROMIUM, CHROMIUM_ARGS, SITE_FILES, serve};
