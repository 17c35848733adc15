// The page's side of the web host: canvas, pointer lock, Web Audio and the page's notices.
mergeInto(LibraryManager.library, {
  $PB: {
    canvas: null,
    context: null,
    audio: null,
    sound: null,
    nextSound: 0,
    messageShowing: false,
    ended: false,
    element: function (id) {
      return document.getElementById(id);
    },
    say: function (text) {
      var hint = PB.element('hint');
      if (hint) hint.textContent = text;
    },
    // Browsers let sound start only from the player's own gesture: the first click.
    startAudio: function () {
      var Context = window.AudioContext || window.webkitAudioContext;
      if (!PB.audio && Context) {
        try {
          PB.audio = new Context();
        } catch (e) {
          PB.audio = null;
        }
      }
      if (PB.audio && PB.audio.state === 'suspended') PB.audio.resume().catch(function () {});
    },
    onCanvasDown: function () {
      PB.startAudio();
      if (document.pointerLockElement !== PB.canvas && PB.canvas.requestPointerLock) {
        var request = PB.canvas.requestPointerLock();
        if (request && request.catch) request.catch(function () {});
      }
    },
    // The browser keeps the first Escape to free the pointer; the next one reaches the game.
    onLockChange: function () {
      if (document.pointerLockElement === PB.canvas) {
        PB.say('Move the mouse to steer the paddle. Escape frees the pointer; Escape again ends the game.');
      } else if (!PB.ended) {
        PB.say('Pointer free: press Escape again to end the game, or click the game to go on.');
      }
    },
    fillChannel: function (data, view, channel, channels, bitsPerSample) {
      var step = channels * (bitsPerSample >> 3);
      var offset = channel * (bitsPerSample >> 3);
      for (var i = 0; i < data.length; ++i, offset += step) {
        data[i] = bitsPerSample === 16 ? view.getInt16(offset, true) / 32768
                                       : (view.getUint8(offset) - 128) / 128;
      }
    },
  },

  pb_open_canvas__deps: ['$PB'],
  pb_open_canvas: function (width, height) {
    var canvas = PB.element('canvas');
    if (!canvas || !canvas.getContext) return 0;
    canvas.width = width;
    canvas.height = height;
    // Opaque and desynchronised: the page need not blend the picture or hand each frame
    // through its compositor, which costs more main-thread time than the game itself.
    PB.context = canvas.getContext('2d', {alpha: false, desynchronized: true});
    if (!PB.context) return 0;
    PB.canvas = canvas;
    canvas.addEventListener('mousedown', PB.onCanvasDown);
    document.addEventListener('pointerlockchange', PB.onLockChange);
    return 1;
  },

  pb_watch_raw_motion: function (web) {
    if (!('onpointerrawupdate' in window)) return 0;
    window.addEventListener('pointerrawupdate', function (event) {
      if (event.pointerType === 'mouse') _pb_raw_motion(web, event.movementX | 0, event.movementY | 0);
    });
    return 1;
  },

  pb_present__deps: ['$PB'],
  pb_present: function (rgba, x, y, width, height) {
    // The page's own count of frames shown, for whoever measures the pace.
    Module['framesShown'] = (Module['framesShown'] || 0) + 1;
    if (height === 0) return;
    // A view of the module's memory, made afresh: growing the memory replaces its buffer.
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    PB.context.putImageData(new ImageData(pixels, width, height), x, y);
  },

  pb_set_cursor_visible__deps: ['$PB'],
  pb_set_cursor_visible: function (visible) {
    if (PB.canvas) PB.canvas.style.cursor = visible ? 'default' : 'none';
  },

  pb_audio_play__deps: ['$PB', 'pb_audio_stop'],
  pb_audio_play: function (samples, bytes, channels, rate, bitsPerSample) {
    _pb_audio_stop();
    if (!PB.audio) return 0;
    var frames = Math.floor(bytes / (channels * (bitsPerSample >> 3)));
    if (frames === 0) return 0;
    try {
      var buffer = PB.audio.createBuffer(channels, frames, rate);
      var view = new DataView(HEAPU8.buffer, samples, bytes);
      for (var channel = 0; channel < channels; ++channel) {
        PB.fillChannel(buffer.getChannelData(channel), view, channel, channels, bitsPerSample);
      }
      var source = PB.audio.createBufferSource();
      source.buffer = buffer;
      source.connect(PB.audio.destination);
      var sound = {id: ++PB.nextSound, source: source};
      source.onended = function () {
        if (PB.sound === sound) PB.sound = null;
      };
      source.start();
      PB.sound = sound;
      return sound.id;
    } catch (e) {
      // A rate or a channel count this browser cannot play: the cue is silent.
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
    }
  },

  pb_show_message__deps: ['$PB'],
  pb_show_message: function (text) {
    var box = PB.element('message');
    if (!box) return;
    if (document.exitPointerLock) document.exitPointerLock();
    PB.element('message-text').textContent = UTF8ToString(text);
    box.hidden = false;
    PB.messageShowing = true;
    var ok = PB.element('message-ok');
    ok.onclick = function () {
      box.hidden = true;
      PB.messageShowing = false;
    };
    ok.focus();
  },

  pb_message_showing__deps: ['$PB'],
  pb_message_showing: function () {
    return PB.messageShowing ? 1 : 0;
  },

  pb_show_end__deps: ['$PB', 'pb_audio_stop'],
  pb_show_end: function (exitCode) {
    PB.ended = true;
    _pb_audio_stop();
    if (document.exitPointerLock) document.exitPointerLock();
    PB.say('');
    PB.element('end').hidden = false;
    PB.element('play-again').focus();
  },
});
