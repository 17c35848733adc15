// The page's side of the web host: the canvas (WebGL, or 2D where there is none), pointer
// lock, touch and Web Audio; the page around it (loader.js) keeps the notices and controls,
// holds the game while paused and owns the sound's output, through Module.page.
mergeInto(LibraryManager.library, {
  $PB: {
    canvas: null,
    context: null,
    // The GPU's side: the context, its program and texture, and whether it can draw now.
    gl: null,
    glReady: false,
    glWhole: true,
    glDrawn: false,
    // The runs of rows uploaded since the last draw, [first, count] each: only they are drawn
    // again.
    dirtyRuns: [],
    textureWidth: 0,
    textureHeight: 0,
    audio: null,
    output: null,
    sound: null,
    nextSound: 0,
    messageShowing: false,
    // Every listener this game added, taken away when it ends so that another can start.
    listeners: [],
    // The pad's buttons held at the last look, and whether the page looks each frame.
    padHeld: 0,
    watchingPad: false,
    element: function (id) {
      return document.getElementById(id);
    },
    listen: function (target, type, handler, options) {
      target.addEventListener(type, handler, options);
      PB.listeners.push([target, type, handler, options]);
    },
    forget: function () {
      PB.watchingPad = false;
      PB.listeners.splice(0).forEach(function (listener) {
        listener[0].removeEventListener(listener[1], listener[2], listener[3]);
      });
    },
    // Browsers let sound start only from the player's own gesture: the first click.
    startAudio: function () {
      var audio = Module['page'].audio();
      if (!audio) return;
      PB.audio = audio.context;
      PB.output = audio.output;
    },
    // A failure the game goes on without, with its reason, where the page's console shows it.
    warn: function (what, error) {
      console.warn('paddleball: ' + what + ': ' + (error && error.message || error));
    },
    onCanvasDown: function () {
      PB.startAudio();
      if (document.pointerLockElement !== PB.canvas && PB.canvas.requestPointerLock) {
        var request = PB.canvas.requestPointerLock();
        if (request && request.catch) {
          request.catch(function (e) { PB.warn('the pointer stays free', e); });
        }
      }
    },
    // Touch as the relative mouse, the game's own rule: each changed finger is handed on, with
    // the game pixels to a page pixel, as down (0), moved (1), lifted (2) or cancelled (3).
    onTouch: function (web, phase, event) {
      event.preventDefault();
      if (phase >= 2) PB.startAudio();
      var shown = PB.canvas ? PB.canvas.getBoundingClientRect().width : 0;
      var scale = shown > 0 ? PB.canvas.width / shown : 0;
      for (var i = 0; i < event.changedTouches.length; ++i) {
        var touch = event.changedTouches[i];
        _pb_touch(web, phase, touch.identifier, touch.clientX, touch.clientY, event.timeStamp, scale);
      }
    },
    connectedPads: function () {
      var pads = navigator.getGamepads ? navigator.getGamepads() : [];
      return Array.prototype.filter.call(pads, function (pad) { return pad && pad.connected; });
    },
    // Hands the game the first connected gamepad with the standard layout: its left stick
    // across and a bit for each of its south, east, Start, d-pad left and d-pad right buttons.
    // Returns whether any pad is still connected.
    pollPad: function (web) {
      var pads = PB.connectedPads();
      var pad = pads.find(function (each) { return each.mapping === 'standard'; }) || null;
      var held = 0;
      if (pad) {
        [0, 1, 9, 14, 15].forEach(function (button, bit) {
          if (pad.buttons[button] && pad.buttons[button].pressed) held |= 1 << bit;
        });
      }
      // Sound may start from a pad where the page has already had the player's gesture.
      if (held & ~PB.padHeld) PB.startAudio();
      PB.padHeld = held;
      _pb_pad(web, pad ? 1 : 0, pad ? pad.axes[0] || 0 : 0, held);
      return pads.length > 0;
    },
    // The page's own count of frames shown, for whoever measures the pace.
    countFrame: function () {
      Module['framesShown'] = (Module['framesShown'] || 0) + 1;
      if (Module['framesShown'] === 1 && Module['onFirstFrame']) Module['onFirstFrame']();
    },
    // The texture holds the game's 16-bit pixels as they are; the shader takes each channel
    // back to its 5 or 6 bits and repeats the top bits into the low ones, as the 2D path
    // widens, so that both paths put the same bytes on the screen.
    vertexShader: 'attribute vec2 corner; varying vec2 at;' +
      'void main() { at = corner; gl_Position = vec4(corner.x * 2.0 - 1.0, 1.0 - corner.y * 2.0, 0.0, 1.0); }',
    fragmentShader: '#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\nprecision mediump float;\n#endif\n' +
      'uniform sampler2D picture; varying vec2 at;' +
      'void main() {' +
      '  vec3 bits = floor(texture2D(picture, at).rgb * vec3(31.0, 63.0, 31.0) + 0.5);' +
      '  vec3 wide = bits * vec3(8.0, 4.0, 8.0) + floor(bits / vec3(4.0, 16.0, 4.0));' +
      '  gl_FragColor = vec4(wide / 255.0, 1.0);' +
      '}',
    compile: function (gl, type, source) {
      var shader = gl.createShader(type);
      gl.shaderSource(shader, source);
      gl.compileShader(shader);
      return shader;
    },
    // Program, quad and texture, made at the start and again after a lost context returns.
    // Scaling to the page stays with the canvas's own CSS, sharp or smooth as on the 2D path.
    setUpGl: function () {
      var gl = PB.gl;
      var program = gl.createProgram();
      gl.attachShader(program, PB.compile(gl, gl.VERTEX_SHADER, PB.vertexShader));
      gl.attachShader(program, PB.compile(gl, gl.FRAGMENT_SHADER, PB.fragmentShader));
      gl.linkProgram(program);
      if (!gl.getProgramParameter(program, gl.LINK_STATUS)) return false;
      gl.useProgram(program);
      gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
      gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([0, 0, 1, 0, 0, 1, 1, 1]), gl.STATIC_DRAW);
      var corner = gl.getAttribLocation(program, 'corner');
      gl.enableVertexAttribArray(corner);
      gl.vertexAttribPointer(corner, 2, gl.FLOAT, false, 0, 0);
      gl.bindTexture(gl.TEXTURE_2D, gl.createTexture());
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
      // Rows of any width arrive packed, two bytes a pixel.
      gl.pixelStorei(gl.UNPACK_ALIGNMENT, 2);
      PB.textureWidth = PB.canvas.width;
      PB.textureHeight = PB.canvas.height;
      gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGB, PB.textureWidth, PB.textureHeight, 0, gl.RGB,
                    gl.UNSIGNED_SHORT_5_6_5, null);
      gl.viewport(0, 0, PB.textureWidth, PB.textureHeight);
      return true;
    },
    // A lost context draws nothing until the browser gives it back; then every row goes up
    // again, as the texture went with the context.
    openGl: function (canvas) {
      if (/[?&]presenter=2d(&|$)/.test(location.search)) return false;
      PB.gl = canvas.getContext('webgl', {alpha: false, antialias: false, depth: false,
        stencil: false, preserveDrawingBuffer: true, desynchronized: true, powerPreference: 'low-power'});
      if (!PB.gl) return false;
      PB.listen(canvas, 'webglcontextlost', function (event) {
        event.preventDefault();
        PB.glReady = false;
      });
      PB.listen(canvas, 'webglcontextrestored', function () {
        PB.glReady = PB.setUpGl();
        PB.glWhole = true;
      });
      PB.glReady = PB.setUpGl();
      return true;
    },
  },

  pb_open_canvas__deps: ['$PB'],
  pb_open_canvas: function (width, height) {
    var canvas = PB.element('canvas');
    if (!canvas || !canvas.getContext) return 0;
    canvas.width = width;
    canvas.height = height;
    PB.canvas = canvas;
    var kind = 2;
    if (!PB.openGl(canvas)) {
      // Opaque and desynchronised: the page need not blend the picture or hand each frame
      // through its compositor, which costs more main-thread time than the game itself.
      PB.context = canvas.getContext('2d', {alpha: false, desynchronized: true});
      if (!PB.context) return 0;
      kind = 1;
    }
    PB.listen(canvas, 'mousedown', PB.onCanvasDown);
    return kind;
  },

  pb_watch_raw_motion__deps: ['$PB'],
  pb_watch_raw_motion: function (web) {
    if (!('onpointerrawupdate' in window)) return 0;
    PB.listen(window, 'pointerrawupdate', function (event) {
      if (event.pointerType === 'mouse') _pb_raw_motion(web, event.movementX | 0, event.movementY | 0);
    });
    return 1;
  },

  pb_watch_controls__deps: ['$PB'],
  pb_watch_controls: function (web) {
    var stage = PB.element('stage') || PB.canvas;
    var options = {passive: false};
    ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type, phase) {
      PB.listen(stage, type, function (event) { PB.onTouch(web, phase, event); }, options);
    });
    var end = PB.element('end-game');
    if (end) {
      end.onclick = function () { _pb_end_game(web); };
    }
    // A key is a gesture too: a game started from the keyboard has its sound.
    PB.listen(window, 'keydown', PB.startAudio);
    // The pad is looked at each animation frame only while one is connected: a page with
    // none spends nothing on it. The last look, with none left, lets go of what it held.
    var poll = function () {
      if (!PB.watchingPad) return;
      if (PB.pollPad(web)) requestAnimationFrame(poll);
      else PB.watchingPad = false;
    };
    var watch = function () {
      if (PB.watchingPad) return;
      PB.watchingPad = true;
      requestAnimationFrame(poll);
    };
    PB.listen(window, 'gamepadconnected', watch);
    if (PB.connectedPads().length > 0) watch();
  },

  pb_present__deps: ['$PB'],
  pb_present: function (rgba, x, y, width, height) {
    PB.countFrame();
    if (height === 0) return;
    // A view of the module's memory, made afresh: growing the memory replaces its buffer.
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    PB.context.putImageData(new ImageData(pixels, width, height), x, y);
  },

  pb_gpu_wants_whole__deps: ['$PB'],
  pb_gpu_wants_whole: function () {
    var whole = PB.glWhole || !PB.glReady;
    if (PB.glReady) PB.glWhole = false;
    return whole ? 1 : 0;
  },

  pb_gpu_upload__deps: ['$PB'],
  pb_gpu_upload: function (rows, y, width, height, pitch) {
    var gl = PB.gl;
    if (!PB.glReady || width !== PB.textureWidth || y < 0 || y + height > PB.textureHeight) return;
    var first = rows >> 1;
    if (pitch === width) {
      gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, y, width, height, gl.RGB, gl.UNSIGNED_SHORT_5_6_5,
                       HEAPU16.subarray(first, first + width * height));
    } else {
      for (var row = 0; row < height; ++row, first += pitch) {
        gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, y + row, width, 1, gl.RGB, gl.UNSIGNED_SHORT_5_6_5,
                         HEAPU16.subarray(first, first + width));
      }
    }
    PB.dirtyRuns.push([y, height]);
    PB.glDrawn = false;
  },

  pb_gpu_present__deps: ['$PB'],
  pb_gpu_present: function () {
    PB.countFrame();
    if (!PB.glReady || PB.glDrawn) return;
    var gl = PB.gl;
    // The drawing buffer keeps what was drawn before: only the changed rows are drawn again,
    // the rest of the picture's pixels left unshaded. GL counts rows from the bottom.
    gl.enable(gl.SCISSOR_TEST);
    PB.dirtyRuns.forEach(function (run) {
      gl.scissor(0, PB.textureHeight - run[0] - run[1], PB.textureWidth, run[1]);
      gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);
    });
    PB.dirtyRuns.length = 0;
    PB.glDrawn = true;
  },

  // Resumes the game inside the page's next animation frame, with that frame's time in
  // milliseconds: what the game then draws is in the picture the browser paints next. A
  // paused page gives none, as a hidden one does.
  pb_next_page_frame: function () {
    return Asyncify.handleSleep(function (wakeUp) {
      (function frame() {
        requestAnimationFrame(function (time) {
          if (!Module['page'].held(frame)) wakeUp(time);
        });
      })();
    });
  },

  pb_set_cursor_visible__deps: ['$PB'],
  pb_set_cursor_visible: function (visible) {
    if (PB.canvas) PB.canvas.style.cursor = visible ? 'default' : 'none';
  },

  pb_audio_play__deps: ['$PB', 'pb_audio_stop'],
  pb_audio_play: function (samples, frames, channels, rate) {
    _pb_audio_stop();
    if (!PB.audio || frames === 0) return 0;
    try {
      var buffer = PB.audio.createBuffer(channels, frames, rate);
      for (var channel = 0; channel < channels; ++channel) {
        var first = (samples >> 2) + channel * frames;
        buffer.getChannelData(channel).set(HEAPF32.subarray(first, first + frames));
      }
      var source = PB.audio.createBufferSource();
      source.buffer = buffer;
      source.connect(PB.output);
      var sound = {id: ++PB.nextSound, source: source};
      source.onended = function () {
        if (PB.sound === sound) PB.sound = null;
      };
      source.start();
      PB.sound = sound;
      return sound.id;
    } catch (e) {
      // A rate or a channel count this browser cannot play: the cue is silent.
      PB.warn('a cue cannot play', e);
      return 0;
    }
  },

  pb_audio_playing__deps: ['$PB'],
  pb_audio_playing: function (sound) {
    return PB.sound !== null && PB.sound.id === sound ? 1 : 0;
  },

  pb_audio_stop__deps: ['$PB'],
  pb_audio_stop: function () {
    var sound = PB.sound;
    PB.sound = null;
    if (!sound) return;
    sound.source.onended = null;
    try {
      sound.source.stop();
    } catch (e) {
      PB.warn('a cue cannot stop', e);
    }
  },

  pb_show_message__deps: ['$PB'],
  pb_show_message: function (text, caption) {
    PB.messageShowing = true;
    Module['page'].message(UTF8ToString(text), UTF8ToString(caption), function () {
      PB.messageShowing = false;
    });
  },

  pb_message_showing__deps: ['$PB'],
  pb_message_showing: function () {
    return PB.messageShowing ? 1 : 0;
  },

  pb_set_title: function (title) {
    Module['page'].title(UTF8ToString(title));
  },

  pb_heads_up: function (lines) {
    Module['page'].headsUp(UTF8ToString(lines));
  },

  pb_show_end__deps: ['$PB', 'pb_audio_stop'],
  pb_show_end: function (exitCode) {
    _pb_audio_stop();
    PB.forget();
    Module['page'].ended(exitCode);
  },
});
