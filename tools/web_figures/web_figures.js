// Measures the built web site in headless Chromium: bytes a first visit fetches from a server
// that compresses nothing, time to the first picture, and for each presenter (WebGL, drawn
// here by the software rasteriser, and the 2D canvas) steps per second and main-thread time
// per frame unthrottled and with the CPU slowed as a phone's, and mouse-to-screen latency.
// Prints figures; asserts nothing.
// Usage: node tools/web_figures/web_figures.js SITE_DIR [VISITS [MBIT_PER_S RTT_MS]]
//        [--before OLD_SITE_DIR]
// (MBIT_PER_S and RTT_MS emulate a slower link for the first visits; --before adds the rows
// of another build, such as the one before a change, each after this one's like it)
'use strict';
const os = require('node:os');
const path = require('node:path');

module.paths.push(path.join(__dirname, '..', '..', 'tests', 'web', 'node_modules'));
const {chromium} = require('playwright-core');
const {CHROMIUM, CHROMIUM_ARGS, serve} = require('../../tests/web/local_site');

// This machine has no GPU: the software rasteriser stands in for one, for WebGL and, in the
// 'gpu' browser, for compositing too, as a phone composites on its GPU. The 'soft' browser
// composites in software, as the browser test does; there Chromium reads every WebGL frame
// back on the page's main thread, which no phone does.
const SWIFTSHADER = ['--use-angle=swiftshader', '--enable-unsafe-swiftshader'];
const BROWSERS = {
  gpu: CHROMIUM_ARGS.filter((arg) => arg !== '--disable-gpu').concat(SWIFTSHADER),
  soft: CHROMIUM_ARGS.concat(SWIFTSHADER),
};
// Less than the two seconds of play between two lost balls, so that no cue's hold falls inside.
const SPEED_SECONDS = 1.8;
// Windows, each after its own lost ball: the game has balls for two before it ends.
const SPEED_WINDOWS = 2;
// A wait this long for a new game frame is a cue's hold.
const HELD_GAP_MS = 100;
const WARM_MS = 1000;
// A phone's core, as the DevTools protocol slows this one.
const THROTTLE_RATES = [1, 4, 6];
const LATENCY_SAMPLES = 50;
const LATENCY_MOVE = 24;
const CUE_PAUSE_MS = 250;
const SETTLE_MS = 3000;
const PAGE_NOTES = {row: 648, from: 464, to: 564, heldGapMs: HELD_GAP_MS};

// The first picture, the pace of frames, the time spent in the page's animation-frame
// callbacks and in handing pictures to the browser, and the motion-to-screen time, noted
// inside the page. Either presenter: the pixels each hands to the browser are watched.
function instrumentPage({row, from, to, heldGapMs}) {
  window.__firstPicture = null;
  window.__holdsEnded = 0;
  window.__cues = 0;
  window.__pace = null;
  window.__latency = null;
  window.__spent = {frameMs: 0, handMs: 0, each: []};
  // The paddle's row as the page last handed it to the browser, kept from the pixels it
  // handed over: reading a GPU canvas back would wait for the GPU inside the step measured.
  let shownRow = null;
  const rowNow = () => shownRow;
  // Where the attract frame's middle stretch of the paddle row is found now.
  let key = null;
  const paddleAt = () => {
    const now = rowNow();
    if (!now) return null;
    if (!key) key = Array.from(now.slice(from, to));
    for (let shift = -from; shift + to <= now.length; ++shift) {
      if (key.every((v, i) => now[from + shift + i] === v)) return shift;
    }
    return null;
  };
  window.__paddleAt = paddleAt;
  // A change put inside an animation frame's callbacks is painted in that frame, one put
  // between frames in the next: the motion is on screen with the frame that paints it.
  // The stages are noted too: when the motion reached the page, how many of the game's frames
  // began after that, and when the step that drew it began and handed its picture over.
  let frameTime = null;
  let frameBegan = null;
  let paintedNext = false;
  const paintedAt = (time) => {
    window.__latency.ms = time - window.__latency.moveAt;
    paintedNext = false;
  };
  const requestFrame = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => requestFrame((time) => {
    if (paintedNext) paintedAt(time);
    if (callback === sample) return callback(time);
    frameTime = time;
    frameBegan = performance.now();
    const latency = window.__latency;
    if (latency && latency.rawAt !== null && latency.ms === null) latency.framesSince += 1;
    try {
      callback(time);
    } finally {
      frameTime = null;
      window.__spent.frameMs += performance.now() - frameBegan;
      window.__spent.each.push(performance.now() - frameBegan);
      frameBegan = null;
    }
  });
  const presented = () => {
    if (window.__firstPicture === null) window.__firstPicture = performance.now();
    const latency = window.__latency;
    if (latency && latency.moveAt !== null && latency.ms === null && !paintedNext &&
        paddleAt() !== latency.from) {
      latency.stepAt = frameBegan;
      latency.handedAt = performance.now();
      latency.inFrame = frameTime !== null;
      if (frameTime !== null) paintedAt(frameTime);
      else paintedNext = true;
    }
  };
  window.addEventListener('pointerrawupdate', (event) => {
    const latency = window.__latency;
    if (latency && latency.rawAt === null) [latency.rawAt, latency.rawStamp] = [performance.now(), event.timeStamp];
  }, true);
  const timed = (prototype, name, after) => {
    const call = prototype[name];
    prototype[name] = function (...args) {
      const began = performance.now();
      const result = call.apply(this, args);
      window.__spent.handMs += performance.now() - began;
      if (after) after(args);
      return result;
    };
  };
  timed(CanvasRenderingContext2D.prototype, 'putImageData', ([image, x, y]) => {
    if (row >= y && row < y + image.height) {
      const rgba = image.data;
      shownRow = shownRow || new Uint32Array(1024);
      shownRow.set(new Uint32Array(rgba.buffer, rgba.byteOffset + (row - y) * image.width * 4, image.width), x);
    }
    presented();
  });
  timed(WebGLRenderingContext.prototype, 'drawArrays', presented);
  timed(WebGLRenderingContext.prototype, 'texSubImage2D', (args) => {
    const [, , , y, width, height, , , pixels] = args;
    if (row >= y && row < y + height) shownRow = pixels.slice((row - y) * width, (row - y + 1) * width);
  });
  let lastShown = 0;
  let lastShownAt = 0;
  const sample = () => {
    const shown = window.Module && window.Module.framesShown;
    if (shown && shown !== lastShown) {
      if (lastShown && performance.now() - lastShownAt > heldGapMs) window.__holdsEnded += 1;
      [lastShown, lastShownAt] = [shown, performance.now()];
    }
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
  await page.addInitScript(instrumentPage, PAGE_NOTES);
  counter.bytes = 0;
  await page.goto(origin);
  await page.waitForFunction(() => window.__firstPicture !== null, null, {timeout: 30000});
  const ms = await page.evaluate(() => window.__firstPicture);
  await page.evaluate(() => window.__paddleAt());
  const atPicture = counter.bytes;
  await page.waitForTimeout(SETTLE_MS);
  return {context, page, ms, atPicture, settled: counter.bytes};
}

// A game in play on a fresh page of one presenter, its CPU slowed `rate` times.
async function playPage(browser, row, rate) {
  const context = await browser.newContext({viewport: {width: 1024, height: 800}});
  const page = await context.newPage();
  await page.addInitScript(instrumentPage, PAGE_NOTES);
  await page.goto(row.origin + row.query);
  await page.waitForFunction(() => window.__firstPicture !== null, null, {timeout: 30000});
  await page.evaluate(() => window.__paddleAt());
  const box = await page.locator('#canvas').boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
  await page.waitForFunction(() => window.__cues > 0);
  await page.mouse.up();
  const devtools = await context.newCDPSession(page);
  await devtools.send('Emulation.setCPUThrottlingRate', {rate});
  await page.waitForTimeout(WARM_MS);
  return {context, page, devtools, box};
}

// Seconds of the page's main thread: busy in tasks, as a clock on the wall sees them (a
// slowed CPU stretches them), and running on a core; and of the GPU process's cores, where
// the software rasteriser draws WebGL and composites every page.
async function seconds(devtools, browserDevtools) {
  const metrics = (await devtools.send('Performance.getMetrics')).metrics;
  const metric = (name) => metrics.find((m) => m.name === name).value;
  const {processInfo} = await browserDevtools.send('SystemInfo.getProcessInfo');
  const gpu = processInfo.filter((p) => p.type.toLowerCase() === 'gpu').reduce((sum, p) => sum + p.cpuTime, 0);
  return {tasks: metric('TaskDuration'), thread: metric('ThreadTime'), gpu};
}

// One window of play, from the end of the next cue's hold: during a hold the page's frames go
// on with no game frame, and their cost would be counted against the game's frames in play.
async function measureWindow({page, devtools}, browserDevtools) {
  const holds = await page.evaluate(() => window.__holdsEnded);
  await page.waitForFunction((before) => window.__holdsEnded > before, holds, {timeout: 30000});
  const startSeconds = await seconds(devtools, browserDevtools);
  const startSpent = await page.evaluate(() => {
    window.__pace = [];
    window.__spent.each = [];
    return {...window.__spent};
  });
  await page.waitForTimeout(SPEED_SECONDS * 1000);
  const [samples, spent] = await page.evaluate(() => [window.__pace.splice(0), window.__spent]);
  const endSeconds = await seconds(devtools, browserDevtools);
  let heldMs = 0;
  for (let i = 1, since = samples[0]; i < samples.length; ++i) {
    if (samples[i][1] === since[1]) continue;
    if (samples[i][0] - since[0] > HELD_GAP_MS) heldMs += samples[i][0] - since[0];
    since = samples[i];
  }
  // A steady game brings one new frame to each of the page's own frames: none repeats a
  // picture, two skip one. Page frames inside a cue's hold are not counted.
  const perPageFrame = [0, 0, 0];
  for (let i = 1, repeats = 0; i < samples.length; ++i) {
    const shown = samples[i][1] - samples[i - 1][1];
    if (shown === 0) ++repeats;
    if (shown === 0 && i + 1 < samples.length) continue;
    if (samples[i][0] - samples[i - 1 - repeats][0] <= HELD_GAP_MS) perPageFrame[0] += repeats;
    if (shown > 0) perPageFrame[Math.min(shown, 2)] += 1;
    repeats = 0;
  }
  return {frames: samples[samples.length - 1][1] - samples[0][1],
          span: samples[samples.length - 1][0] - samples[0][0], heldMs, perPageFrame,
          tasks: endSeconds.tasks - startSeconds.tasks, thread: endSeconds.thread - startSeconds.thread,
          gpu: endSeconds.gpu - startSeconds.gpu, frameMs: spent.frameMs - startSpent.frameMs,
          handMs: spent.handMs - startSpent.handMs, each: spent.each};
}

async function measureSpeed(play, browserDevtools) {
  await play.devtools.send('Performance.enable');
  const windows = [];
  for (let i = 0; i < SPEED_WINDOWS; ++i) windows.push(await measureWindow(play, browserDevtools));
  const sum = (name) => windows.reduce((total, w) => total + w[name], 0);
  const frames = sum('frames');
  const span = sum('span');
  const heldMs = sum('heldMs');
  const each = windows.flatMap((w) => w.each).sort((a, b) => a - b);
  return {stepsPerSecond: frames * 1000 / (span - heldMs), allStepsPerSecond: frames * 1000 / span,
          heldMs, perPageFrame: [0, 1, 2].map((k) => windows.reduce((total, w) => total + w.perPageFrame[k], 0)),
          mainThreadMs: sum('tasks') * 1000 / frames, threadCpuMs: sum('thread') * 1000 / frames,
          gpuCpuMs: sum('gpu') * 1000 / frames, frameMs: sum('frameMs') / frames,
          frameMedianMs: percentile(each, 0.5), handMs: sum('handMs') / frames};
}

// Moves at random moments within a frame, left and right in turn.
async function measureLatency({page, box}) {
  const times = [];
  const stages = {delivery: [], waiting: [], step: []};
  let passed = 0;
  let outside = 0;
  let paused = 0;
  let unseen = 0;
  for (let i = 0; i < LATENCY_SAMPLES; ++i) {
    await page.waitForTimeout(20 + Math.random() * 17);
    await page.evaluate(() => {
      window.__latency = {from: window.__paddleAt(), moveAt: null, ms: null, rawAt: null, framesSince: 0};
    });
    await page.mouse.move(box.x + box.width / 2 + (i % 2 === 0 ? LATENCY_MOVE : 0), box.y + box.height / 2);
    try {
      await page.waitForFunction(() => window.__latency.ms !== null, null, {timeout: 2000});
    } catch {
      unseen += 1;
      continue;
    }
    const latency = await page.evaluate(() => window.__latency);
    if (latency.ms > CUE_PAUSE_MS) {
      paused += 1;
      continue;
    }
    times.push(latency.ms);
    if (!latency.inFrame) outside += 1;
    if (latency.rawAt === null || !latency.inFrame) continue;
    stages.delivery.push(latency.rawAt - latency.rawStamp);
    stages.waiting.push(latency.stepAt - latency.rawAt);
    stages.step.push(latency.handedAt - latency.stepAt);
    if (latency.framesSince > 1) passed += 1;
  }
  for (const list of [times, ...Object.values(stages)]) list.sort((a, b) => a - b);
  return {times, stages, passed, outside, paused, unseen};
}

function percentile(sorted, fraction) {
  if (sorted.length === 0) return 'n/a';
  return sorted[Math.min(sorted.length - 1, Math.floor(fraction * sorted.length))].toFixed(1);
}

function loadNow() {
  return os.loadavg().map((load) => load.toFixed(2)).join(' ');
}

async function firstVisits(browser, origin, counter, visits, link) {
  const times = [];
  for (let i = 0; i < visits; ++i) {
    const visit = await firstVisit(browser, origin, counter, link);
    await visit.context.close();
    times.push(visit.ms);
    console.log(`first visit ${i + 1}: first picture ${visit.ms.toFixed(0)} ms, ` +
                `${visit.atPicture} bytes by then, ${visit.settled} bytes after ${SETTLE_MS} ms`);
  }
  times.sort((a, b) => a - b);
  console.log(`first picture over ${visits} visits: median ${percentile(times, 0.5)} ms`);
}

// Every presenter at every rate, interleaved so that the machine's other load falls on all.
// Steps per second leave out gaps of page frames longer than a tenth of a second, taken for
// a synchronous cue's hold (on a starved machine they may be the machine's); all/s keeps them.
// Per game frame: the main thread's tasks and its CPU time, the part of the tasks spent in
// the page's animation-frame callbacks (the game's step, the upload and the draw calls) and
// in the upload and draw calls alone, and the GPU process's CPU time.
async function speeds(browsers, rows) {
  const browserDevtools = {};
  for (const [name, browser] of Object.entries(browsers)) {
    browserDevtools[name] = await browser.newBrowserCDPSession();
  }
  const columns = [['presenter', 10], ['composited', 10], ['CPU', 4], ['steps/s', 8], ['held ms', 8], ['all/s', 6],
    ['tasks ms', 9], ['cpu ms', 7], ['in rAF', 7], ['median', 7], ['handing', 8], ['GPU proc', 9],
    ['frames 0/1/2+', 14]];
  const line = (values) => values.map((v, i) => String(v).padStart(columns[i][1])).join(' ');
  console.log('main thread per game frame, and the GPU process\'s CPU per game frame:');
  console.log(line(columns.map(([name]) => name)));
  for (const rate of THROTTLE_RATES) {
    for (const row of rows) {
      const play = await playPage(browsers[row.browser], row, rate);
      const speed = await measureSpeed(play, browserDevtools[row.browser]);
      await play.context.close();
      const ms = (value) => value.toFixed(2);
      console.log(line([row.name, row.browser, `${rate}x`, ms(speed.stepsPerSecond), speed.heldMs.toFixed(0),
        speed.allStepsPerSecond.toFixed(1),
        ms(speed.mainThreadMs), ms(speed.threadCpuMs), ms(speed.frameMs), speed.frameMedianMs,
        ms(speed.handMs), ms(speed.gpuCpuMs), speed.perPageFrame.join('/')]));
    }
  }
}

async function latencies(browsers, rows) {
  for (const row of rows) {
    const play = await playPage(browsers[row.browser], row, 1);
    const latency = await measureLatency(play);
    await play.context.close();
    console.log(`${row.name}, composited ${row.browser}: mouse event to the frame that paints it, ${latency.times.length} moves: ` +
                `median ${percentile(latency.times, 0.5)} ms, 90th percentile ` +
                `${percentile(latency.times, 0.9)} ms, max ${percentile(latency.times, 1)} ms ` +
                `(left out: ${latency.paused} in a sound's pause, ${latency.unseen} never shown)`);
    const stage = (name, list) => `${name} ${percentile(list, 0.5)}/${percentile(list, 0.9)} ms`;
    console.log(`  stages, median/90th percentile: ${stage('event to the page', latency.stages.delivery)}, ` +
                `${stage('then to the step that draws it', latency.stages.waiting)}, ` +
                `${stage('then to the picture handed over', latency.stages.step)}; ` +
                `moves a game frame began after and did not draw: ${latency.passed}, ` +
                `drawn outside an animation frame: ${latency.outside}`);
  }
}

async function main() {
  const args = process.argv.slice(2);
  const beforeAt = args.indexOf('--before');
  const before = beforeAt >= 0 ? path.resolve(args.splice(beforeAt, 2)[1]) : null;
  const site = path.resolve(args[0] || 'build/web/site');
  const visits = Number(args[1] || 5);
  const link = {mbit: Number(args[2] || 0), rttMs: Number(args[3] || 0)};
  const counter = {bytes: 0};
  const servers = [await serve(site, counter)];
  if (before) servers.push(await serve(before, {bytes: 0}));
  const [origin, beforeOrigin] = servers.map((server) => `http://127.0.0.1:${server.address().port}`);
  const rows = [
    {name: 'WebGL', browser: 'gpu', origin, query: ''},
    {name: '2D', browser: 'gpu', origin, query: '?presenter=2d'},
    {name: 'WebGL', browser: 'soft', origin, query: ''},
    {name: '2D', browser: 'soft', origin, query: '?presenter=2d'},
  ];
  // Each of the other build's rows right after this one's, so that both see the same load.
  if (before) {
    for (let i = rows.length - 1; i >= 0; --i) {
      rows.splice(i + 1, 0, {...rows[i], name: `old ${rows[i].name}`, origin: beforeOrigin});
    }
  }
  const browsers = {};
  for (const [name, args] of Object.entries(BROWSERS)) {
    browsers[name] = await chromium.launch({executablePath: CHROMIUM, args});
  }
  try {
    console.log(`load average at the start: ${loadNow()} (${os.cpus().length} cores)`);
    await firstVisits(browsers.soft, origin, counter, visits, link);
    if (link.mbit > 0) return;
    await speeds(browsers, rows);
    await latencies(browsers, rows);
    console.log(`load average at the end: ${loadNow()}`);
  } finally {
    for (const browser of Object.values(browsers)) await browser.close();
    for (const server of servers) server.close();
  }
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
