// The built site in headless Chromium, on a desktop and on a phone: the attract frame against
// the headless replay's, starting, steering, pausing and ending a game by mouse and keys, by
// keys and a gamepad, or by touch, playing again in the same page, cues on Web Audio and the
// mute switch, the texts for assistive technology, a drag during a cue's hold, the weight of
// a first visit, play with no network once the worker is ready, an update to another build
// that never mixes the two, and a download cut short said on the page with a way on; no page
// errors and nothing fetched from elsewhere. Drawn by WebGL (software-rendered here), whose lost context comes
// back, and on the 2D canvas of a browser without WebGL.
// Figures are measured by tools/web_figures, not here.
// Usage: node browser_test.js SITE_DIR REPLAY_TOOL [SCREENSHOT_DIR]
'use strict';
const assert = require('node:assert/strict');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const {CHROMIUM, CHROMIUM_ARGS, siteFiles, serve} = require('./local_site');

const HEADS_UP = {x: 0, y: 0, width: 160, height: 45};
const WHOLE = {x: 0, y: 0, width: 1024, height: 768};
const PADDLE = {row: 648, from: 464, to: 564};
// From a server that compresses nothing.
const FIRST_VISIT_BYTES = 450 * 1000;
const PHONE = {viewport: {width: 844, height: 390}, hasTouch: true, isMobile: true, deviceScaleFactor: 2};
const DRAG_CSS_PX = 100;
const DRAG_STEPS = 10;
const MESSAGE_MS = 5000;
// A cue this long holds the game: the start, a lost ball, the game over.
const HOLDING_CUE_SECONDS = 0.5;
const PAUSE_MS = 2000;
const HOLD_MS = 500;
const BROWSERS = [
  {name: 'WebGL', args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader'], webgl: true},
  {name: 'no WebGL', args: ['--disable-webgl'], webgl: false},
];

// The canvas's RGBA bytes in a rectangle, whichever context draws it: a WebGL canvas is read
// through a 2D copy of what it shows.
function readCanvas() {
  window.__canvasPixels = (x, y, width, height) => {
    const canvas = document.getElementById('canvas');
    if (!canvas.getContext('webgl')) return canvas.getContext('2d').getImageData(x, y, width, height).data;
    const copy = new OffscreenCanvas(canvas.width, canvas.height).getContext('2d');
    copy.drawImage(canvas, 0, 0);
    return copy.getImageData(x, y, width, height).data;
  };
}

// Notes the length of each sound Web Audio starts, from inside the page before the game loads.
function countCues() {
  window.__cues = [];
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    window.__cues.push(this.buffer.duration);
    return start.apply(this, args);
  };
}

// A standard gamepad, plugged in by window.__plugPad(), at rest; the test presses its buttons
// and tilts its stick through window.__pad.
function stubGamepad() {
  navigator.getGamepads = () => [window.__pad || null];
  window.__plugPad = () => {
    const buttons = Array.from({length: 17}, () => ({pressed: false, value: 0}));
    window.__pad = {connected: true, mapping: 'standard', axes: [0, 0, 0, 0], buttons};
    dispatchEvent(new Event('gamepadconnected'));
  };
}

// The README's key steering: from 300 pixels a second, easing up by 1800 a second to 900.
function steered(seconds) {
  const easing = Math.min(seconds, (900 - 300) / 1800);
  return 300 * easing + 1800 * easing * easing / 2 + 900 * (seconds - easing);
}

// Pixels that differ between the canvas and a PNG inside a rectangle, in any of the 8-bit
// red, green and blue: each presenter must widen the game's RGB565 as the desktop does.
async function countDifferences({png, rect}) {
  const bytes = Uint8Array.from(atob(png), (c) => c.charCodeAt(0));
  const bitmap = await createImageBitmap(new Blob([bytes], {type: 'image/png'}),
                                         {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});
  const scratch = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
  scratch.drawImage(bitmap, 0, 0);
  const want = scratch.getImageData(rect.x, rect.y, rect.width, rect.height).data;
  const have = window.__canvasPixels(rect.x, rect.y, rect.width, rect.height);
  let differing = 0;
  for (let i = 0; i < want.length; i += 4) {
    differing += want[i] !== have[i] || want[i + 1] !== have[i + 1] || want[i + 2] !== have[i + 2];
  }
  return differing;
}

// Where the paddle's middle stretch of the attract frame is found along its row now.
function paddleOffset({row, from, to}) {
  const now = window.__canvasPixels(0, row, 1024, 1);
  const key = window.__attractPaddle;
  if (!key) {
    window.__attractPaddle = Array.from(now.slice(from * 4, to * 4));
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

// The build stamped into a site's page.
function buildOf(site) {
  return /data-build="(\w+)"/.exec(fs.readFileSync(path.join(site, 'index.html'), 'utf8'))[1];
}

// Another build of the same game, whose arena picture differs: a band of the arena bitmap's
// bytes changed in the linked data, packed again as the build packs a site.
function otherBuild(site) {
  const game = path.join(site, '..', 'game');
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'paddleball-build-b-'));
  fs.cpSync(game, path.join(dir, 'game'), {recursive: true});
  const script = fs.readFileSync(path.join(game, 'paddleball.js'), 'utf8');
  const [, , end] = /"filename": *"\/images\/arena2.bmp", *"start": *(\d+), *"end": *(\d+)/.exec(script).map(Number);
  const data = fs.readFileSync(path.join(game, 'paddleball.data'));
  for (let i = end - 800 * 120; i < end - 800 * 60; ++i) data[i] ^= 0x55;
  fs.writeFileSync(path.join(dir, 'game', 'paddleball.data'), data);
  execFileSync('cmake', [`-DGAME_DIR=${path.join(dir, 'game')}`, `-DSITE_DIR=${path.join(dir, 'site')}`,
    `-DPAGE_DIR=${path.join(__dirname, '..', '..', 'platform', 'host', 'web')}`,
    '-P', path.join(__dirname, '..', '..', 'platform', 'host', 'web', 'pack_site.cmake')]);
  return path.join(dir, 'site');
}

// A fresh page in its own context, with nothing kept from earlier visits.
async function openPage(browser, origin, options, problems) {
  const context = await browser.newContext(options);
  const page = await context.newPage();
  page.on('pageerror', (error) => problems.push(`page exception: ${error.message}`));
  page.on('request', (request) => {
    if (new URL(request.url()).origin !== origin) problems.push(`request to ${request.url()}`);
  });
  await page.addInitScript(countCues);
  await page.addInitScript(readCanvas);
  await page.addInitScript(stubGamepad);
  await page.goto(origin);
  return page;
}

async function firstFrame(page, frames) {
  await page.waitForFunction(() => window.Module && window.Module.framesShown > 0);
  assert.equal(await page.evaluate(countDifferences, {png: frames.attract, rect: WHOLE}), 0, 'attract frame');
  assert.equal(await page.evaluate(paddleOffset, PADDLE), 0);
  return page.locator('#canvas').boundingBox();
}

async function main() {
  const [site, replay, shots = os.tmpdir()] = process.argv.slice(2).map((arg) => path.resolve(arg));
  for (const file of siteFiles(site)) {
    assert.ok(fs.existsSync(path.join(site, file)), `${file} is missing from ${site}: build the web preset first`);
  }
  let chromium;
  try {
    ({chromium} = require('playwright-core'));
  } catch (error) {
    assert.fail('the browser driver is missing: run npm ci in tests/web');
  }
  const frames = replayFrames(replay);
  const sites = {a: site, b: otherBuild(site)};
  const state = {bytes: 0, site: null, failing: null, failure: null, down: false};
  const server = await serve(site, state);
  const origin = `http://127.0.0.1:${server.address().port}`;
  try {
    for (const row of BROWSERS) {
      const browser = await chromium.launch({executablePath: CHROMIUM, args: CHROMIUM_ARGS.concat(row.args)});
      try {
        await visits(browser, origin, row, frames, state, sites, shots);
      } catch (error) {
        console.error(`In the browser with ${row.name}:`);
        throw error;
      } finally {
        await browser.close();
      }
    }
  } finally {
    server.close();
    fs.rmSync(path.dirname(sites.b), {recursive: true});
  }
}

// The desktop in every browser; the phone, the update and the broken site once, where WebGL
// draws.
async function visits(browser, origin, row, frames, state, sites, shots) {
  const problems = [];
  const page = await openPage(browser, origin, {viewport: {width: 1024, height: 800}}, problems);
  await desktop(page, frames, row.webgl);
  await page.context().close();
  assert.deepEqual(problems, []);
  if (!row.webgl) return;
  state.bytes = 0;
  const phonePage = await openPage(browser, origin, PHONE, problems);
  await phone(phonePage, frames, state, shots);
  await update(phonePage, frames, state, sites);
  assert.deepEqual(problems, []);

  // A download cut short, and data of another build, are said as such, and the notice's
  // Reload brings the game.
  Object.assign(state, {failing: 'paddleball.data.gz', failure: 'cut'});
  const broken = await openPage(browser, origin, PHONE, []);
  const reload = async (said, next) => {
    await broken.locator('#failure', {hasText: said}).waitFor({timeout: MESSAGE_MS});
    Object.assign(state, next);
    await Promise.all([broken.waitForEvent('load'), broken.getByRole('button', {name: 'Reload'}).tap()]);
  };
  await reload(/connection was lost.*paddleball\.data/,
               {failing: null, mixed: {name: 'paddleball.data.gz', site: sites.b}});
  await reload(/updated on the site while this page loaded it/, {mixed: null});
  await firstFrame(broken, frames);
}

// Takes the WebGL context away and gives it back, as a GPU reset would: the attract frame
// comes back whole without a reload.
async function loseContext(page, frames) {
  await page.evaluate(() => new Promise((resolve) => {
    const canvas = document.getElementById('canvas');
    const lose = canvas.getContext('webgl').getExtension('WEBGL_lose_context');
    canvas.addEventListener('webglcontextlost', () => setTimeout(() => lose.restoreContext(), 100), {once: true});
    canvas.addEventListener('webglcontextrestored', resolve, {once: true});
    lose.loseContext();
  }));
  await until('the attract frame after a lost context', async () =>
    await page.evaluate(countDifferences, {png: frames.attract, rect: WHOLE}) === 0);
}

async function desktop(page, frames, webgl) {
  const box = await firstFrame(page, frames);
  assert.equal(await page.evaluate(() => !!document.getElementById('canvas').getContext('webgl')), webgl,
               'drawn by WebGL');
  if (webgl) await loseContext(page, frames);
  if (!webgl) return keysAndPad(page, frames);
  const click = async () => {
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.mouse.down();
    await page.waitForFunction(() => window.__cues.length > 0);
    await page.mouse.up();
  };
  await startPlay(page, frames, click);
  await page.mouse.move(box.x + box.width / 2 + 100, box.y + box.height / 2, {steps: 5});
  await until('the paddle to move right', async () => await page.evaluate(paddleOffset, PADDLE) > 0);
  assert.match(await page.locator('#announce').textContent(), /^SCORE: \d+\. LIVES: \d+\.$/);

  // Paused from the keyboard, the game takes no step until it goes on.
  await page.locator('#pause').press('Enter');
  const shown = await page.evaluate(() => window.Module.framesShown);
  await page.waitForTimeout(PAUSE_MS);
  assert.equal(await page.evaluate(() => window.Module.framesShown), shown, 'a step while paused');
  await page.locator('#pause').press('Enter');
  await page.waitForFunction((before) => window.Module.framesShown > before, shown);

  // The browser may keep the first Escape to free the pointer; the next one ends the game.
  // The third ball is lost some 9 s into play: Escape must come before that.
  assert.ok(await page.locator('#end').isHidden(), 'the game ended before Escape was pressed');
  for (let press = 0; press < 2 && await page.locator('#end').isHidden(); ++press) {
    await page.keyboard.press('Escape');
    await page.waitForTimeout(300);
  }
  const end = page.getByRole('dialog', {name: 'Game over'});
  await end.waitFor({timeout: 5000});
  assert.match(await end.textContent(), /Final score: \d+/);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'play-again');

  // Another game in the same page, from one key press.
  await page.evaluate(() => { window.__samePage = true; window.__cues = []; });
  await page.keyboard.press('Enter');
  await firstFrame(page, frames);
  await startPlay(page, frames, click);
  assert.ok(await page.evaluate(() => window.__samePage), 'Play again left the page');
}

// No mouse: a pad plugged in once the page has started; its south button starts; Right held
// moves the paddle the README's distance for the time held (as the page timed the keys),
// within 10%; a tap of Left and the stick move it left; the pad's Start ends the game. All
// before the first ball is lost.
async function keysAndPad(page, frames) {
  const pad = (change) => page.evaluate(change);
  const offset = () => page.evaluate(paddleOffset, PADDLE);
  await startPlay(page, frames, async () => {
    await pad(() => { window.__plugPad(); window.__pad.buttons[0].pressed = true; });
    await page.waitForFunction(() => window.__cues.length > 0);
    await pad(() => { window.__pad.buttons[0].pressed = false; });
  });
  const start = await offset();
  await page.evaluate(() => ['keydown', 'keyup'].forEach((type) =>
    addEventListener(type, (event) => { window[`__${type}`] = event.timeStamp; })));
  await page.keyboard.down('ArrowRight');
  await page.waitForTimeout(HOLD_MS);
  await page.keyboard.up('ArrowRight');
  const want = steered(await page.evaluate(() => (window.__keyup - window.__keydown) / 1000));
  await page.waitForTimeout(200);  // past the frame the release reached
  const right = await offset();
  assert.ok(Math.abs(right - start - want) <= want / 10, `moved ${right - start}, not ${want}`);
  const leftOf = (x) => async () => {
    const now = await offset();
    return now !== null && now < x;
  };
  await page.keyboard.press('ArrowLeft');
  await until('a tap of Left to move the paddle left', leftOf(right));
  await pad(() => { window.__pad.axes[0] = -1; });
  await until('the stick to steer left', leftOf(right - 50));
  await pad(() => { window.__pad.axes[0] = 0; window.__pad.buttons[9].pressed = true; });
  await page.locator('#end').waitFor({state: 'visible', timeout: 5000});
}

// 844 x 390, touch: a tap starts, a drag steers one to one and moves nothing else, as does a
// drag while a lost ball's cue holds the game; the heads-up shows in the page's type; the End
// control ends; the mute switch is remembered; once the worker is ready, the title screen
// comes back with no network.
async function phone(page, frames, state, shots) {
  const box = await firstFrame(page, frames);
  assert.equal(await page.locator('#hint').textContent(), 'Tap to start, drag to steer');
  await page.screenshot({path: path.join(shots, 'phone-landscape.png')});
  const mute = page.getByRole('button', {name: 'Mute'});
  await mute.tap();
  await startPlay(page, frames, () => page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2));
  assert.equal(await page.evaluate(() => window.Module.page.audio().output.gain.value), 0, 'sound while muted');
  assert.equal(await page.locator('#hint').textContent(), 'Drag anywhere to steer');
  await page.locator('#heads-up', {hasText: /^SCORE: \d+\nLIVES: \d+\nLEVEL: 1$/}).waitFor();

  const before = {offset: await page.evaluate(paddleOffset, PADDLE), url: page.url(),
    scroll: await page.evaluate(() => [scrollX, scrollY, visualViewport.scale])};
  await drag(page, box, DRAG_CSS_PX);
  const expected = before.offset + DRAG_CSS_PX * 1024 / box.width;
  await until('the paddle to follow the finger', async () =>
    Math.abs(await page.evaluate(paddleOffset, PADDLE) - expected) <= 2);
  assert.equal(page.url(), before.url);
  assert.deepEqual(await page.evaluate(() => [scrollX, scrollY, visualViewport.scale]), before.scroll);

  // The serve puts the paddle back where it starts; the drag made while the cue held the
  // game moves it from there.
  await page.waitForFunction((long) => window.__cues.filter((seconds) => seconds > long).length > 1,
                             HOLDING_CUE_SECONDS, {timeout: 20000});
  const held = await page.evaluate(() => window.Module.framesShown);
  await drag(page, box, -DRAG_CSS_PX / 2);
  assert.equal(await page.evaluate(() => window.Module.framesShown), held, 'the drag came after the hold');
  await until('the paddle to move by the drag made in the hold', async () =>
    Math.abs(await page.evaluate(paddleOffset, PADDLE) + DRAG_CSS_PX / 2 * 1024 / box.width) <= 2);

  for (const control of await page.locator('#controls button:visible').all()) {
    const size = await control.boundingBox();
    assert.ok(size.width >= 44 && size.height >= 44, `${await control.getAttribute('id')} is ${size.width} x ${size.height}`);
  }
  await page.getByRole('button', {name: 'End game'}).tap();
  await page.locator('#end').waitFor({state: 'visible', timeout: 5000});

  assert.ok(await page.evaluate((ms) => Promise.race([navigator.serviceWorker.ready.then(() => true),
    new Promise((resolve) => setTimeout(() => resolve(false), ms))]), MESSAGE_MS), 'no service worker');
  assert.ok(state.bytes <= FIRST_VISIT_BYTES, `a first visit fetched ${state.bytes} bytes`);
  await offline(page, state, () => firstFrame(page, frames));
  assert.equal(await mute.getAttribute('aria-pressed'), 'true', 'the mute switch forgotten');
  await page.setViewportSize({width: PHONE.viewport.height, height: PHONE.viewport.width});
  await page.screenshot({path: path.join(shots, 'phone-portrait.png')});
  await page.setViewportSize(PHONE.viewport);
}

async function drag(page, box, cssPx) {
  const touch = await page.context().newCDPSession(page);
  const at = (x) => [{x: box.x + box.width / 2 + x, y: box.y + box.height / 2}];
  await touch.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: at(0)});
  for (let step = 1; step <= DRAG_STEPS; ++step) {
    await touch.send('Input.dispatchTouchEvent', {type: 'touchMove', touchPoints: at(cssPx * step / DRAG_STEPS)});
  }
  await touch.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
}

async function offline(page, state, check) {
  state.down = true;
  await page.context().setOffline(true);
  await page.reload();
  await check();
  state.down = false;
  await page.context().setOffline(false);
}

// Build A kept, build B served: each reload shows one build whole (the page's stamp and the
// picture agree). With one of B's files failing A stays, online and offline; once B arrives
// whole the page offers it, and its reload shows B, online and offline.
async function update(page, frames, state, sites) {
  const shows = async (site) => {
    await page.waitForFunction(() => (window.Module && window.Module.framesShown > 0) ||
                                     !document.getElementById('failure').hidden);
    assert.equal(await page.locator('#failure').isHidden(), true, 'a notice instead of the game');
    const stamp = await page.evaluate(() => document.documentElement.dataset.build);
    const differing = await page.evaluate(countDifferences, {png: frames.attract, rect: WHOLE});
    assert.deepEqual([stamp, differing > 0], [buildOf(site), site === sites.b], 'one build whole');
  };
  const installing = () => page.evaluate(() => navigator.serviceWorker.getRegistration()
    .then((registration) => Boolean(registration.installing || registration.waiting)));
  Object.assign(state, {site: sites.b, failing: 'paddleball.data.gz', failure: 500, failed: 0});
  await page.reload();
  await shows(sites.a);
  await until('the update to fail', async () => state.failed > 0 && !await installing());
  await page.reload();
  await shows(sites.a);
  await offline(page, state, () => shows(sites.a));

  state.failing = null;
  await page.reload();
  await shows(sites.a);
  await Promise.all([page.waitForEvent('load'), page.locator('#update').getByRole('button', {name: 'Reload'}).tap()]);
  await shows(sites.b);
  await offline(page, state, () => shows(sites.b));
  state.site = null;
}

// The player's press starts play: the start cue sounds, then the heads-up texts show.
async function startPlay(page, frames, press) {
  await press();
  await page.waitForFunction(() => window.__cues.length > 0);
  await until('the heads-up texts', async () =>
    await page.evaluate(countDifferences, {png: frames.play, rect: HEADS_UP}) === 0);
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
