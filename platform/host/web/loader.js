// The page around the game: fetches the game's files of the page's own build and checks
// them, runs the game and runs it again in place, and keeps the controls, the notices and
// the texts for assistive technology. The build stamps its identity and each game file's
// SHA-256 here; the game's side of the page is page_calls.js.
'use strict';
(() => {
  const BUILD = '@SITE_BUILD@';
  const GAME_FILES = @GAME_FILES@;
  // A download that stops for this long is said to be stuck rather than left silent, and so
  // is a game that has all its files but shows nothing.
  const STALL_MS = 8000;
  const START_MS = 10000;
  // The picture's own text is this many game pixels tall; below the readable size the page
  // shows it again in its own type, in a margin at least this wide.
  const TEXT_PIXELS = 10;
  const READABLE_CSS_PX = 9;
  const MARGIN_CSS_PX = 100;
  const MUTED_KEY = 'paddleball.muted';

  const $ = (id) => document.getElementById(id);
  const touch = matchMedia('(pointer: coarse)').matches || navigator.maxTouchPoints > 0;
  const portrait = matchMedia('(orientation: portrait)');
  // The installed app keeps its own name rather than the game window's title.
  const installed = matchMedia('(display-mode: fullscreen), (display-mode: standalone)').matches;
  const canvas = $('canvas');
  const page = {stage: 'loading', failed: false, lines: [], said: ''};

  // What each failure says, in a player's words; each notice offers a reload.
  const SAY = {
    browser: () => 'This game needs a newer browser: this one lacks WebAssembly or gzip unpacking.',
    offline: (name) => `Part of the game (${name}) could not be downloaded: no connection. ` +
      'Check the connection, then reload the page.',
    refused: (name, status) => `The site could not give part of the game (${name}, error ${status}). ` +
      'Reload the page to try again.',
    cut: (name) => `The connection was lost while part of the game (${name}) was downloading. ` +
      'Check the connection, then reload the page.',
    damaged: (name) => `Part of the game (${name}) arrived damaged. Reload the page to try again.`,
    mixed: () => 'The game was updated on the site while this page loaded it. Reload to play the new version.',
    stalled: () => 'The game is taking too long to arrive. Check the connection, then reload the page.',
    silent: () => 'The game did not start. Reload the page to try again.',
    aborted: () => 'The game stopped and cannot go on in this browser. Reload the page to try again.',
  };

  function fail(text) {
    if (page.failed) return;
    page.failed = true;
    $('status').hidden = true;
    $('failure-text').textContent = text;
    $('failure').hidden = false;
    $('failure-reload').focus();
  }

  function problem(kind, name, status) {
    const error = new Error(kind);
    error.say = SAY[kind](name, status);
    return error;
  }

  // --- Downloading the game's files ---

  const progress = {expected: {}, received: {}, at: Date.now()};

  function showProgress() {
    let total = 0;
    let done = 0;
    for (const name of Object.keys(progress.received)) {
      total += progress.expected[name] || 0;
      done += progress.received[name];
    }
    progress.at = Date.now();
    if (!page.failed && total > 0) $('status').textContent = `Loading… ${Math.min(99, Math.floor(100 * done / total))}%`;
  }

  function counted(body, name) {
    return body.pipeThrough(new TransformStream({
      transform(chunk, controller) {
        progress.received[name] += chunk.length;
        showProgress();
        controller.enqueue(chunk);
      },
    }));
  }

  function hex(digest) {
    return Array.from(new Uint8Array(digest), (byte) => byte.toString(16).padStart(2, '0')).join('');
  }

  // Where the browser cannot hash (an address that is not secure, where no worker runs
  // either), the build in every address keeps builds apart.
  async function ofThisBuild(file, bytes) {
    if (!(window.crypto && crypto.subtle)) return true;
    return GAME_FILES[file].includes(hex(await crypto.subtle.digest('SHA-256', bytes)));
  }

  async function bytesOf(stream) {
    const bytes = await new Response(stream).arrayBuffer();
    if (bytes.byteLength === 0) throw new Error('empty');
    return bytes;
  }

  // Compiled while it still arrives.
  function compiledOf(stream) {
    return WebAssembly.compileStreaming(new Response(stream, {headers: {'Content-Type': 'application/wasm'}}));
  }

  // One of the game's files, gzipped on the site and unpacked as it arrives into `take`; a
  // server that unpacked it on the way says so, and its bytes are used as they come. The
  // bytes as they arrived tell a lost connection from a damaged file and from another build.
  async function fetchPart(name, take) {
    const file = `${name}.gz`;
    progress.received[name] = 0;
    const response = await fetch(`${file}?build=${BUILD}`).catch(() => {
      throw problem('offline', name);
    });
    if (!response.ok) throw problem('refused', name, response.status);
    progress.expected[name] = Number(response.headers.get('Content-Length')) || 0;
    const unpacked = /gzip/i.test(response.headers.get('Content-Encoding') || '');
    const [raw, used] = counted(response.body, name).tee();
    const taken = take(unpacked ? used : used.pipeThrough(new DecompressionStream('gzip')));
    taken.catch(() => {});
    const bytes = await new Response(raw).arrayBuffer().catch(() => {
      throw problem('cut', name);
    });
    const value = await taken.catch(() => {
      throw problem('damaged', name);
    });
    if (!await ofThisBuild(file, bytes)) throw problem('mixed', name);
    return value;
  }

  function reported(part) {
    return part.catch((error) => {
      console.error(error);
      fail(error.say || SAY.damaged('paddleball'));
      throw error;
    });
  }

  function download() {
    const stall = setInterval(() => {
      if (!page.failed && Date.now() - progress.at > STALL_MS) fail(SAY.stalled());
    }, 1000);
    const parts = [fetchPart('paddleball.js', bytesOf), fetchPart('paddleball.wasm', compiledOf),
      fetchPart('paddleball.data', bytesOf)].map(reported);
    Promise.allSettled(parts).then(() => clearInterval(stall));
    return parts;
  }

  // --- Running the game, again and again in the same page ---

  const game = {script: null, compiled: null, data: null};

  function problemLine(text) {
    console.warn(text);
    const line = document.createElement('li');
    line.textContent = text;
    $('problems').appendChild(line);
  }

  // A fresh instance of the game each time, as a fresh process on the desktop would be.
  function run() {
    const module = {
      page: bridge,
      instantiateWasm(imports, done) {
        game.compiled.then((compiled) => WebAssembly.instantiate(compiled, imports)
          .then((instance) => done(instance, compiled))).catch((error) => console.error(error));
        return {};
      },
      getPreloadedPackage(name, size) {
        if (game.data.byteLength !== size) fail(SAY.damaged('paddleball.data'));
        return game.data;
      },
      // What the desktop writes on standard error, such as a picture it cannot use.
      printErr: problemLine,
      onFirstFrame: firstFrame,
      onAbort(reason) {
        console.error(reason);
        fail(SAY.aborted());
      },
    };
    window.Module = module;
    try {
      game.script(module);
    } catch (error) {
      console.error(error);
      fail(SAY.damaged('paddleball.js'));
    }
  }

  async function start() {
    if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function' ||
        typeof DecompressionStream !== 'function') {
      fail(SAY.browser());
      return;
    }
    const [script, compiled, data] = download();
    game.compiled = compiled;
    try {
      const text = new TextDecoder().decode(await script);
      game.data = await data;
      // In a function of its own, so that the game can run again with a fresh module.
      game.script = new Function('Module', `${text}\n//# sourceURL=paddleball.js`);
    } catch (error) {
      if (!page.failed) fail(SAY.damaged('paddleball.js'));
      return;
    }
    run();
    setTimeout(() => {
      if (page.stage === 'loading' && !page.failed) fail(SAY.silent());
    }, START_MS);
  }

  // --- What the game tells the page (page_calls.js calls these) ---

  const hold = {player: false, focus: false, waiting: []};
  const sound = {context: null, output: null, muted: false};

  const bridge = {
    // Whether the player or the page's lost focus holds the game; if so `resume` is called
    // once neither does.
    held(resume) {
      if (!hold.player && !hold.focus) return false;
      hold.waiting.push(resume);
      return true;
    },
    // One context for every game in the page, through the mute switch.
    audio() {
      if (!sound.context) openAudio();
      if (sound.context && sound.context.state === 'suspended') sound.context.resume().catch(console.warn);
      return sound.context ? {context: sound.context, output: sound.output} : null;
    },
    // The lines of text the game drew in its last frame.
    headsUp(text) {
      page.lines = text ? text.split('\n') : [];
      if (page.stage === 'title' && figure('SCORE') !== null) setStage('playing');
      showHeadsUp();
    },
    title(text) {
      if (!installed) document.title = text || 'paddleball';
    },
    message(text, caption, done) {
      if (document.exitPointerLock) document.exitPointerLock();
      $('message-caption').textContent = caption;
      $('message-text').textContent = text;
      $('message').hidden = false;
      $('message-ok').onclick = () => {
        $('message').hidden = true;
        done();
      };
      $('message-ok').focus();
    },
    ended,
  };

  function openAudio() {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    try {
      sound.context = new Context();
      sound.output = sound.context.createGain();
      sound.output.connect(sound.context.destination);
      setMuted(sound.muted);
    } catch (error) {
      console.warn('no sound:', error);
      sound.context = null;
    }
  }

  // --- The page's state, its hint and its texts ---

  function hintText() {
    const turn = touch && portrait.matches ? '. Turn the device sideways for a larger picture.' : '';
    if (page.stage === 'title') {
      return touch ? `Tap to start, drag to steer${turn}`
        : 'Click the game to start, then steer the paddle with the mouse. ' +
          'Arrow keys or a gamepad also steer (Space starts; keys ease up from 300 to 900 pixels a second, by 1800 a second). ' +
          'Escape ends the game (press it twice while the pointer is held).';
    }
    if (page.stage !== 'playing') return '';
    if (touch) return `Drag anywhere to steer${turn}`;
    // The browser keeps the first Escape to free the pointer; the next one reaches the game.
    return document.pointerLockElement === canvas
      ? 'Move the mouse to steer the paddle; arrow keys or a gamepad also steer. Escape frees the pointer; Escape again ends the game.'
      : 'Pointer free: press Escape again to end the game, or click the game to go on.';
  }

  function setStage(stage) {
    page.stage = stage;
    const running = stage === 'title' || stage === 'playing';
    $('pause').hidden = !running;
    $('end-game').hidden = !running;
    $('hint').textContent = hintText();
    showHold();
    placeHeadsUp();
  }

  // The number the game drew after "NAME:", 0 where it drew none, or null without the line.
  function figure(name) {
    const line = page.lines.find((text) => text.startsWith(`${name}:`));
    return line === undefined ? null : Number(line.slice(name.length + 1).trim() || 0);
  }

  function say(text) {
    if (text === page.said) return;
    page.said = text;
    $('announce').textContent = text;
  }

  function showHeadsUp() {
    const shown = ['SCORE', 'LIVES', 'LEVEL'].filter((name) => figure(name) !== null);
    $('heads-up').textContent = shown.map((name) => `${name}: ${figure(name)}`).join('\n');
    if (figure('SCORE') !== null) say(`SCORE: ${figure('SCORE')}. LIVES: ${figure('LIVES')}.`);
    placeHeadsUp();
  }

  // In the wider black margin beside or above the picture, or over the picture's own text.
  function placeHeadsUp() {
    const box = canvas.getBoundingClientRect();
    const small = TEXT_PIXELS * box.width / canvas.width < READABLE_CSS_PX;
    const headsUp = $('heads-up');
    headsUp.hidden = !small || headsUp.textContent === '' || page.stage !== 'playing';
    const beside = box.left >= MARGIN_CSS_PX || box.top < MARGIN_CSS_PX / 2;
    headsUp.style.left = beside ? 'max(8px, env(safe-area-inset-left))' : `${box.left + 4}px`;
    headsUp.style.top = beside ? `${box.top + 4}px` : `${Math.max(4, box.top - headsUp.offsetHeight - 4)}px`;
  }

  // Whole pixels at a scale of 1 and above, smoothed below it.
  function fitPage() {
    const scale = canvas.getBoundingClientRect().width * (window.devicePixelRatio || 1) / canvas.width;
    canvas.classList.toggle('smooth', scale < 1);
    placeHeadsUp();
  }

  function firstFrame() {
    if (!page.failed) $('status').hidden = true;
    setStage('title');
    fitPage();
    watchUpdates();
  }

  function ended(exitCode) {
    if (document.exitPointerLock) document.exitPointerLock();
    setStage('ended');
    const score = figure('SCORE');
    // The game's own ways out (Escape, the last ball, a start-up failure it reported) all
    // return 0; anything else stopped it.
    let title = score === null ? 'The game has ended' : 'Game over';
    let text = score === null ? '' : `Final score: ${score}`;
    if (exitCode !== 0) {
      title = 'The game stopped';
      text = `The game stopped unexpectedly (exit code ${exitCode}).`;
    }
    $('end-title').textContent = title;
    $('end-text').textContent = text;
    say(`${title}. ${text}`);
    $('end').hidden = false;
    $('play-again').focus();
  }

  function playAgain() {
    $('end').hidden = true;
    page.stage = 'loading';
    page.lines = [];
    showHeadsUp();
    run();
  }

  // --- The controls ---

  // Paused by the player or by the page losing the focus, the game gets no page frames, as
  // in a hidden tab.
  function showHold() {
    $('pause').setAttribute('aria-pressed', String(hold.player));
    const held = (hold.player || hold.focus) && !$('pause').hidden;
    if (held || page.stage !== 'loading') $('status').hidden = !held || page.failed;
    if (held) $('status').textContent = 'Paused';
  }

  function setHold(reason, on) {
    hold[reason] = on;
    if (on && document.exitPointerLock && document.pointerLockElement) document.exitPointerLock();
    showHold();
    if (hold.player || hold.focus) return;
    for (const go of hold.waiting.splice(0)) go();
  }

  function setMuted(muted) {
    sound.muted = muted;
    try {
      localStorage.setItem(MUTED_KEY, muted ? '1' : '0');
    } catch (error) {
      console.warn('the mute switch is not remembered:', error);
    }
    if (sound.output) sound.output.gain.value = muted ? 0 : 1;
    $('mute').setAttribute('aria-pressed', String(muted));
  }

  function showFullScreen() {
    const on = Boolean(document.fullscreenElement);
    const button = $('fullscreen');
    button.setAttribute('aria-pressed', String(on));
    button.setAttribute('aria-label', on ? 'Leave full screen' : 'Full screen');
    button.title = button.getAttribute('aria-label');
  }

  function fullScreen() {
    return document.fullscreenEnabled && document.documentElement.requestFullscreen
      ? document.documentElement.requestFullscreen({navigationUI: 'hide'}) : Promise.resolve();
  }

  function watchControls() {
    $('pause').onclick = () => setHold('player', !hold.player);
    // P pauses too, even while the browser holds the pointer and no button can be clicked.
    window.addEventListener('keydown', (event) => {
      if (event.key.toLowerCase() === 'p' && !event.repeat && !$('pause').hidden) setHold('player', !hold.player);
    });
    // Ending or starting again goes on from a pause: a held game cannot take its End.
    for (const id of ['end-game', 'play-again']) $(id).addEventListener('click', () => setHold('player', false));
    window.addEventListener('blur', () => setHold('focus', true));
    window.addEventListener('focus', () => setHold('focus', false));
    let muted = false;
    try {
      muted = localStorage.getItem(MUTED_KEY) === '1';
    } catch (error) {
      console.warn('the mute switch is not remembered:', error);
    }
    setMuted(muted);
    $('mute').onclick = () => setMuted(!sound.muted);
    if (document.fullscreenEnabled && document.documentElement.requestFullscreen) {
      $('fullscreen').hidden = false;
      $('fullscreen').onclick = () => (document.fullscreenElement ? document.exitFullscreen() : fullScreen())
        .catch(console.warn);
      document.addEventListener('fullscreenchange', showFullScreen);
    }
    // On a phone or tablet the first tap also asks for the whole screen, turned sideways;
    // browsers that refuse either simply keep the page as it is.
    if (touch) {
      window.addEventListener('touchend', () => fullScreen().then(() => {
        if (screen.orientation && screen.orientation.lock) return screen.orientation.lock('landscape');
      }).catch(() => {}), {once: true});
    }
    for (const id of ['failure-reload', 'update-reload']) $(id).onclick = () => location.reload();
    $('play-again').onclick = playAgain;
    document.addEventListener('pointerlockchange', () => setStage(page.stage));
    if (portrait.addEventListener) portrait.addEventListener('change', () => setStage(page.stage));
    if (window.ResizeObserver) new ResizeObserver(fitPage).observe(canvas);
  }

  // --- New builds ---

  // The worker keeps a new build whole before it serves it; a page of an older build then
  // offers a reload.
  function watchUpdates() {
    const workers = navigator.serviceWorker;
    if (!workers || page.watching) return;
    page.watching = true;
    workers.addEventListener('message', (event) => {
      if (event.data && event.data.build && event.data.build !== BUILD) $('update').hidden = false;
    });
    const ask = () => {
      if (workers.controller) workers.controller.postMessage('build');
    };
    workers.addEventListener('controllerchange', ask);
    workers.startMessages();
    ask();
    const returning = Boolean(workers.controller);
    workers.register('service_worker.js')
      .then((registration) => returning && registration.update())
      .catch((error) => console.warn('the site is not kept for offline play:', error));
  }

  watchControls();
  start();
})();
