// The built site in headless Chromium: the attract frame against the headless replay's,
// starting, steering and ending a game, cues on Web Audio, no page errors and nothing
// fetched from elsewhere. Prints the speed figures; asserts none of them.
// Usage: node browser_test.js SITE_DIR REPLAY_TOOL
'use strict';
const assert = require('node:assert/strict');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');

const CHROMIUM = process.env.PADDLEBALL_CHROMIUM || '/usr/bin/chromium';
// The network is closed: without these Chromium keeps trying to reach its services.
const CHROMIUM_ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const SITE_FILES = ['index.html', 'paddleball.js', 'paddleball.wasm', 'paddleball.data'];
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream'};
const HEADS_UP = {x: 0, y: 0, width: 160, height: 45};
const PADDLE_ROW = 648;
const SPEED_SECONDS = 5;
const LATENCY_SAMPLES = 50;
const LATENCY_MOVE = 24;
const CUE_PAUSE_MS = 250;

// Notes the first picture, Web Audio starts and, once asked, the pace of frames on every
// animation frame, from inside the page before the game loads.
function instrumentPage() {
  window.__firstPicture = null;
  window.__cues = 0;
  window.__pace = null;
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    if (window.__firstPicture === null) window.__firstPicture = performance.now();
    const result = put.apply(this, args);
    timePut();
    return result;
  };
  const sample = () => {
    if (window.__pace) window.__pace.push([performance.now(), window.Module.framesShown]);
    requestAnimationFrame(sample);
  };
  requestAnimationFrame(sample);
  // Motion to screen: armed before a move, timed from the page's mousemove event to the
  // first picture put on the canvas that shows the paddle elsewhere.
  window.__latency = null;
  window.addEventListener('mousemove', (event) => {
    if (window.__latency && window.__latency.moveAt === null) window.__latency.moveAt = event.timeStamp;
  }, true);
  const timePut = () => {
    const latency = window.__latency;
    if (!latency || latency.moveAt === null || latency.ms !== null) return;
    if (window.__paddleAt() !== latency.from) latency.ms = performance.now() - latency.moveAt;
  };
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    window.__cues += 1;
    return start.apply(this, args);
  };
}

// Pixels that differ between the canvas and a PNG inside a rectangle, compared as the
// game's own RGB565 so that only the game's colours count.
async function countDifferences({png, rect}) {
  const bytes = Uint8Array.from(atob(png), (c) => c.charCodeAt(0));
  const bitmap = await createImageBitmap(new Blob([bytes], {type: 'image/png'}),
                                         {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});
  const scratch = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
  scratch.drawImage(bitmap, 0, 0);
  const want = scratch.getImageData(rect.x, rect.y, rect.width, rect.height).data;
  const canvas = document.getElementById('canvas');
  const have = canvas.getContext('2d').getImageData(rect.x, rect.y, rect.width, rect.height).data;
  const rgb565 = (d, i) => ((d[i] >> 3) << 11) | ((d[i + 1] >> 2) << 5) | (d[i + 2] >> 3);
  let differing = 0;
  for (let i = 0; i < want.length; i += 4) differing += rgb565(want, i) !== rgb565(have, i);
  return differing;
}

// Where the paddle's middle stretch of the attract frame is found along its row now.
function paddleOffset({row, from, to}) {
  const d = document.getElementById('canvas').getContext('2d');
  const now = d.getImageData(0, row, 1024, 1).data;
  const key = window.__attractPaddle;
  if (!key) {
    window.__attractPaddle = Array.from(now.slice(from * 4, to * 4));
    window.__paddleAt = () => paddleOffset({row, from, to});
    return 0;
  }
  for (let shift = -from; shift + to <= 1024; ++shift) {
    if (key.every((v, i) => now[(from + shift) * 4 + i] === v)) return shift;
  }
  return null;
}

async function until(what, condition, timeoutMs = 10000) {
  for (const end = Date.now() + timeoutMs; Date.now() < end;) {
    if (await condition()) return;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  assert.fail(`gave up waiting for ${what}`);
}

function replayFrames(replay) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'paddleball-web-'));
  // Tick 1 is the attract frame, tick 2 clicks, tick 4 is in play with the heads-up texts.
  // From the source tree, where the game finds its images/ and sounds/.
  execFileSync(replay, ['--frames', dir, '--frame-ticks', '1,4'],
               {input: '0 0\n0 1\n0 0\n0 0\n', cwd: path.join(__dirname, '..', '..')});
  const read = (tick) => fs.readFileSync(path.join(dir, `tick-00000${tick}.png`)).toString('base64');
  const frames = {attract: read(1), play: read(4)};
  fs.rmSync(dir, {recursive: true});
  return frames;
}

function serve(site) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).slice(1) || 'index.html';
    if (!SITE_FILES.includes(name)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': TYPES[path.extname(name)]});
    fs.createReadStream(path.join(site, name)).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

async function main() {
  const [site, replay] = process.argv.slice(2).map((arg) => path.resolve(arg));
  for (const file of SITE_FILES) {
    assert.ok(fs.existsSync(path.join(site, file)),
              `${file} is missing from ${site}: build the web preset first`);
  }
  let chromium;
  try {
    ({chromium} = require('playwright-core'));
  } catch (error) {
    assert.fail('the browser driver is missing: run npm ci in tests/web');
  }
  const frames = replayFrames(replay);
  const server = await serve(site);
  const origin = `http://127.0.0.1:${server.address().port}`;
  const browser = await chromium.launch({executablePath: CHROMIUM, args: CHROMIUM_ARGS});
  try {
    const page = await browser.newPage({viewport: {width: 1024, height: 800}});
    const problems = [];
    page.on('pageerror', (error) => problems.push(`page exception: ${error.message}`));
    page.on('request', (request) => {
      if (new URL(request.url()).origin !== origin) problems.push(`request to ${request.url()}`);
    });
    await page.addInitScript(instrumentPage);
    await page.goto(origin);
    await page.waitForFunction(() => window.__firstPicture !== null);
    const firstFrameMs = await page.evaluate(() => window.__firstPicture);
    assert.equal(await page.evaluate(countDifferences, {png: frames.attract,
      rect: {x: 0, y: 0, width: 1024, height: 768}}), 0, 'attract frame');
    const paddle = {row: PADDLE_ROW, from: 464, to: 564};
    assert.equal(await page.evaluate(paddleOffset, paddle), 0);

    const box = await page.locator('#canvas').boundingBox();
    await startPlay(page, box, frames);

    // Steering right moves the paddle right.
    await page.mouse.move(box.x + box.width / 2 + 100, box.y + box.height / 2, {steps: 5});
    await until('the paddle to move right', async () => await page.evaluate(paddleOffset, paddle) > 0);

    const speed = await measureSpeed(page);

    // The browser may keep the first Escape to free the pointer; the next one ends the game.
    // The third ball is lost some 9 s into play: Escape must come before that.
    assert.ok(await page.locator('#end').isHidden(), 'the game ended before Escape was pressed');
    for (let press = 0; press < 2 && await page.locator('#end').isHidden(); ++press) {
      await page.keyboard.press('Escape');
      await page.waitForTimeout(300);
    }
    await page.locator('#end').waitFor({state: 'visible', timeout: 5000});

    // A fresh game for the latency figure, so that the one above ends well before its time.
    await page.goto(origin);
    await page.waitForFunction(() => window.__firstPicture !== null);
    await page.evaluate(paddleOffset, paddle);
    await startPlay(page, box, frames);
    const latency = await measureLatency(page, box);
    assert.deepEqual(problems, []);

    const siteBytes = SITE_FILES.reduce((sum, f) => sum + fs.statSync(path.join(site, f)).size, 0);
    console.log(`steps per second: ${speed.stepsPerSecond.toFixed(2)} over ${SPEED_SECONDS} s of ` +
                `play, less ${speed.heldMs.toFixed(0)} ms held by synchronous cues`);
    console.log(`main-thread ms per frame: ${speed.mainThreadMs.toFixed(2)}`);
    console.log(`mouse event to canvas change, ${latency.times.length} moves: median ` +
                `${percentile(latency.times, 0.5)} ms, 90th percentile ` +
                `${percentile(latency.times, 0.9)} ms, max ${percentile(latency.times, 1)} ms ` +
                `(left out: ${latency.paused} in a sound's pause, ${latency.unseen} never shown)`);
    console.log(`navigation to first attract frame: ${firstFrameMs.toFixed(0)} ms`);
    console.log(`site size: ${siteBytes} bytes`);
  } finally {
    await browser.close();
    server.close();
  }
}

// Frames shown and main-thread time over some seconds of play, by the page's and the
// browser's own figures. Stretches with no frame for over 100 ms are the game waiting for a
// synchronous cue, and are left out of the pace.
async function measureSpeed(page) {
  const heldGapMs = 100;
  const devtools = await page.context().newCDPSession(page);
  await devtools.send('Performance.enable');
  const busy = async () => (await devtools.send('Performance.getMetrics')).metrics
      .find((m) => m.name === 'TaskDuration').value;
  const startBusy = await busy();
  await page.evaluate(() => { window.__pace = []; });
  await page.waitForTimeout(SPEED_SECONDS * 1000);
  const samples = await page.evaluate(() => window.__pace.splice(0));
  const busySeconds = (await busy()) - startBusy;
  const [firstTime, firstCount] = samples[0];
  const [lastTime, lastCount] = samples[samples.length - 1];
  let heldMs = 0;
  for (let i = 1, since = samples[0]; i < samples.length; ++i) {
    if (samples[i][1] === since[1]) continue;
    if (samples[i][0] - since[0] > heldGapMs) heldMs += samples[i][0] - since[0];
    since = samples[i];
  }
  const frames = lastCount - firstCount;
  return {stepsPerSecond: frames * 1000 / (lastTime - firstTime - heldMs), heldMs,
          mainThreadMs: busySeconds * 1000 / frames};
}

// A held left button starts play: the start cue sounds, then the heads-up texts show.
async function startPlay(page, box, frames) {
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
  await page.waitForFunction(() => window.__cues > 0);
  await page.mouse.up();
  await until('the heads-up texts', async () =>
    await page.evaluate(countDifferences, {png: frames.play, rect: HEADS_UP}) === 0);
}

// Moves at random moments within a frame, left and right in turn so the paddle stays clear
// of the walls; each timed inside the page.
async function measureLatency(page, box) {
  const times = [];
  let paused = 0;
  let unseen = 0;
  for (let i = 0; i < LATENCY_SAMPLES; ++i) {
    await page.waitForTimeout(20 + Math.random() * 17);
    await page.evaluate(() => {
      window.__latency = {from: window.__paddleAt(), moveAt: null, ms: null};
    });
    const x = box.x + box.width / 2 + (i % 2 === 0 ? LATENCY_MOVE : 0);
    await page.mouse.move(x, box.y + box.height / 2);
    try {
      await page.waitForFunction(() => window.__latency.ms !== null, null, {timeout: 2000});
    } catch {
      unseen += 1;
      continue;
    }
    const ms = await page.evaluate(() => window.__latency.ms);
    if (ms > CUE_PAUSE_MS) paused += 1;
    else times.push(ms);
  }
  await page.evaluate(() => { window.__latency = null; });
  return {times: times.sort((a, b) => a - b), paused, unseen};
}

function percentile(sorted, fraction) {
  if (sorted.length === 0) return 'n/a';
  return sorted[Math.min(sorted.length - 1, Math.floor(fraction * sorted.length))].toFixed(1);
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
