// Measures the built web site in headless Chromium: bytes a first visit fetches from a server
// that compresses nothing, time to the first picture, steps per second, main-thread time per
// frame and mouse-to-screen latency. Prints figures; asserts nothing.
// Usage: node tools/web_figures/web_figures.js SITE_DIR [VISITS [MBIT_PER_S RTT_MS]]
// (the last two emulate a slower link for the first visits)
'use strict';
const path = require('node:path');

module.paths.push(path.join(__dirname, '..', '..', 'tests', 'web', 'node_modules'));
const {chromium} = require('playwright-core');
const {CHROMIUM, CHROMIUM_ARGS, serve} = require('../../tests/web/local_site');

const SPEED_SECONDS = 5;
const LATENCY_SAMPLES = 50;
const LATENCY_MOVE = 24;
const CUE_PAUSE_MS = 250;
const SETTLE_MS = 3000;

// The first picture, the pace of frames and the motion-to-screen time, noted inside the page.
function instrumentPage() {
  window.__firstPicture = null;
  window.__cues = 0;
  window.__pace = null;
  window.__latency = null;
  // Where the attract frame's middle stretch of the paddle row is found now.
  let key = null;
  const paddleAt = () => {
    const row = document.getElementById('canvas').getContext('2d').getImageData(0, 648, 1024, 1).data;
    if (!key) key = Array.from(row.slice(464 * 4, 564 * 4));
    for (let shift = -464; shift + 564 <= 1024; ++shift) {
      if (key.every((v, i) => row[(464 + shift) * 4 + i] === v)) return shift;
    }
    return null;
  };
  window.__paddleAt = paddleAt;
  // A change put inside an animation frame's callbacks is painted in that frame, one put
  // between frames in the next: the motion is on screen with the frame that paints it.
  let frameTime = null;
  let paintedNext = false;
  const paintedAt = (time) => {
    window.__latency.ms = time - window.__latency.moveAt;
    paintedNext = false;
  };
  const requestFrame = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => requestFrame((time) => {
    if (paintedNext) paintedAt(time);
    frameTime = time;
    try {
      callback(time);
    } finally {
      frameTime = null;
    }
  });
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    if (window.__firstPicture === null) window.__firstPicture = performance.now();
    const result = put.apply(this, args);
    const latency = window.__latency;
    if (latency && latency.moveAt !== null && latency.ms === null && !paintedNext &&
        paddleAt() !== latency.from) {
      if (frameTime !== null) paintedAt(frameTime);
      else paintedNext = true;
    }
    return result;
  };
  const sample = () => {
    if (window.__pace) window.__pace.push([performance.now(), window.Module.framesShown]);
    requestAnimationFrame(sample);
  };
  requestAnimationFrame(sample);
  window.addEventListener('mousemove', (event) => {
    if (window.__latency && window.__latency.moveAt === null) window.__latency.moveAt = event.timeStamp;
  }, true);
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    window.__cues += 1;
    return start.apply(this, args);
  };
}

// A fresh visit: bytes by the first picture and once the page has settled, and its time.
async function firstVisit(browser, origin, counter, link) {
  const context = await browser.newContext({viewport: {width: 1024, height: 800}});
  const page = await context.newPage();
  if (link.mbit > 0) {
    const devtools = await context.newCDPSession(page);
    await devtools.send('Network.enable');
    await devtools.send('Network.emulateNetworkConditions', {offline: false, latency: link.rttMs,
      downloadThroughput: link.mbit * 1e6 / 8, uploadThroughput: link.mbit * 1e6 / 8});
  }
  await page.addInitScript(instrumentPage);
  counter.bytes = 0;
  await page.goto(origin);
  await page.waitForFunction(() => window.__firstPicture !== null, null, {timeout: 30000});
  const ms = await page.evaluate(() => window.__firstPicture);
  await page.evaluate(() => window.__paddleAt());
  const atPicture = counter.bytes;
  await page.waitForTimeout(SETTLE_MS);
  return {context, page, ms, atPicture, settled: counter.bytes};
}

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
  let heldMs = 0;
  for (let i = 1, since = samples[0]; i < samples.length; ++i) {
    if (samples[i][1] === since[1]) continue;
    if (samples[i][0] - since[0] > heldGapMs) heldMs += samples[i][0] - since[0];
    since = samples[i];
  }
  const frames = samples[samples.length - 1][1] - samples[0][1];
  const span = samples[samples.length - 1][0] - samples[0][0];
  // A steady game brings one new frame to each of the page's own frames: none repeats a
  // picture, two skip one. Page frames inside a cue's hold are not counted.
  const perPageFrame = [0, 0, 0];
  for (let i = 1, repeats = 0; i < samples.length; ++i) {
    const shown = samples[i][1] - samples[i - 1][1];
    if (shown === 0) ++repeats;
    if (shown === 0 && i + 1 < samples.length) continue;
    if (samples[i][0] - samples[i - 1 - repeats][0] <= heldGapMs) perPageFrame[0] += repeats;
    if (shown > 0) perPageFrame[Math.min(shown, 2)] += 1;
    repeats = 0;
  }
  return {stepsPerSecond: frames * 1000 / (span - heldMs), heldMs, perPageFrame,
          mainThreadMs: busySeconds * 1000 / frames};
}

// Moves at random moments within a frame, left and right in turn.
async function measureLatency(page, box) {
  const times = [];
  let paused = 0;
  let unseen = 0;
  for (let i = 0; i < LATENCY_SAMPLES; ++i) {
    await page.waitForTimeout(20 + Math.random() * 17);
    await page.evaluate(() => { window.__latency = {from: window.__paddleAt(), moveAt: null, ms: null}; });
    await page.mouse.move(box.x + box.width / 2 + (i % 2 === 0 ? LATENCY_MOVE : 0), box.y + box.height / 2);
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
  return {times: times.sort((a, b) => a - b), paused, unseen};
}

function percentile(sorted, fraction) {
  if (sorted.length === 0) return 'n/a';
  return sorted[Math.min(sorted.length - 1, Math.floor(fraction * sorted.length))].toFixed(1);
}

async function main() {
  const site = path.resolve(process.argv[2] || 'build/web/site');
  const visits = Number(process.argv[3] || 5);
  const link = {mbit: Number(process.argv[4] || 0), rttMs: Number(process.argv[5] || 0)};
  const counter = {bytes: 0};
  const server = await serve(site, counter);
  const origin = `http://127.0.0.1:${server.address().port}`;
  const browser = await chromium.launch({executablePath: CHROMIUM, args: CHROMIUM_ARGS});
  try {
    const times = [];
    let last = null;
    for (let i = 0; i < visits; ++i) {
      if (last) await last.context.close();
      last = await firstVisit(browser, origin, counter, link);
      times.push(last.ms);
      console.log(`first visit ${i + 1}: first picture ${last.ms.toFixed(0)} ms, ` +
                  `${last.atPicture} bytes by then, ${last.settled} bytes after ${SETTLE_MS} ms`);
    }
    times.sort((a, b) => a - b);
    console.log(`first picture over ${visits} visits: median ${percentile(times, 0.5)} ms`);

    const {page} = last;
    if (link.mbit > 0) return;
    const box = await page.locator('#canvas').boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.mouse.down();
    await page.waitForFunction(() => window.__cues > 0);
    await page.mouse.up();
    await page.waitForTimeout(1500);
    const speed = await measureSpeed(page);
    const latency = await measureLatency(page, box);
    console.log(`steps per second: ${speed.stepsPerSecond.toFixed(2)} over ${SPEED_SECONDS} s of ` +
                `play, less ${speed.heldMs.toFixed(0)} ms held by synchronous cues`);
    console.log(`main-thread ms per frame: ${speed.mainThreadMs.toFixed(2)}`);
    const [none, one, more] = speed.perPageFrame;
    console.log(`page frames with no new game frame: ${none}, one: ${one}, two or more: ${more}`);
    console.log(`mouse event to the frame that paints it, ${latency.times.length} moves: median ` +
                `${percentile(latency.times, 0.5)} ms, 90th percentile ${percentile(latency.times, 0.9)} ms, ` +
                `max ${percentile(latency.times, 1)} ms (left out: ${latency.paused} in a sound's pause, ` +
                `${latency.unseen} never shown)`);
  } finally {
    await browser.close();
    server.close();
  }
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
