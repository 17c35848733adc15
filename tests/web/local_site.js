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
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json'};

// The site's files as the build stamped them into its worker; every file in the folder for a
// site from before the list was stamped.
function siteFiles(site) {
  const stamped = /const FILES = (\{[^;]*\});/.exec(fs.readFileSync(path.join(site, 'service_worker.js'), 'utf8'));
  return stamped ? ['service_worker.js', ...Object.keys(JSON.parse(stamped[1]))] : fs.readdirSync(site);
}

// The site's files as they are, compressing nothing, counting the bytes sent in state.bytes.
// state.site, when set, serves another folder, and state.mixed {name, site} one file from
// another; state.failing names a file answered with the HTTP status state.failure, or with
// half its bytes and a dropped connection for 'cut', counted in state.failed; and state.down
// drops every connection.
function serve(site, state) {
  const server = http.createServer((request, response) => {
    const root = state.site || site;
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).slice(1) || 'index.html';
    if (state.down) {
      request.socket.destroy();
      return;
    }
    if (!siteFiles(root).includes(name)) {
      response.writeHead(404).end();
      return;
    }
    if (name === state.failing) state.failed = (state.failed || 0) + 1;
    if (name === state.failing && state.failure !== 'cut') {
      response.writeHead(state.failure).end();
      return;
    }
    const from = state.mixed && state.mixed.name === name ? state.mixed.site : root;
    const body = fs.readFileSync(path.join(from, name));
    state.bytes += body.length;
    response.writeHead(200, {'Content-Type': TYPES[path.extname(name)] || 'application/octet-stream',
      'Content-Length': body.length});
    if (name !== state.failing) {
      response.end(body);
      return;
    }
    response.write(body.subarray(0, body.length >> 1), () => setTimeout(() => request.socket.destroy(), 50));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

module.exports = {CHROMIUM, CHROMIUM_ARGS, siteFiles, serve};
