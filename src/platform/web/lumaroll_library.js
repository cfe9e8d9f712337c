// What the page's C++ asks of the browser: Web Audio for the music, and the
// next animation frame for showing a picture. Linked with --js-library.
mergeInto(LibraryManager.library, {
  $LumarollAudio: {
    context: null,   // made by the page in the start button's click
    buffers: {},     // decoded files by path
    source: null,
    startedAt: 0,    // context time the playing source began
    extraDelay: 0,   // s
    error: '',
    // Firefox answers getOutputTimestamp() and outputLatency by asking its
    // audio stream for the latency over IPC, with the audio graph's lock
    // held; asked once a frame, the page's thread deadlocked within seconds
    // now and then against the audio callback that waits for that lock (the
    // page waiting on Firefox's audio server, the server on PulseAudio's
    // main loop, whose callback waited on the page's audio thread). There
    // the position is the context's time, run on between its steps.
    latencyAsked: null, // false in Firefox, known at the first position
    stepTime: -1,    // the context's time when it last moved, s
    stepSeenAt: 0,   // when that was seen, performance.now()
  },

  // 1 when the page made an audio context that can play; 0 with no sound.
  lumaroll_audio_create__deps: ['$LumarollAudio'],
  lumaroll_audio_create: function() {
    LumarollAudio.context = Module['audioContext'] || null;
    if (!LumarollAudio.context) LumarollAudio.error = 'The browser gave no audio context';
    return LumarollAudio.context ? 1 : 0;
  },

  // Decodes `length` bytes at `bytes` as the file `path`; 1 when it decoded.
  lumaroll_audio_decode__deps: ['$LumarollAudio'],
  lumaroll_audio_decode: function(path, bytes, length) {
    var name = UTF8ToString(path);
    var copy = HEAPU8.slice(bytes, bytes + length).buffer;
    return Asyncify.handleSleep(function(wakeUp) {
      LumarollAudio.context.decodeAudioData(copy).then(function(buffer) {
        LumarollAudio.buffers[name] = buffer;
        wakeUp(1);
      }, function(error) {
        LumarollAudio.error = 'The browser cannot decode it: ' + (error && error.message ? error.message : error);
        wakeUp(0);
      });
    });
  },

  // The decoded file's length in ms; 0 when it was never decoded.
  lumaroll_audio_duration__deps: ['$LumarollAudio'],
  lumaroll_audio_duration: function(path) {
    var buffer = LumarollAudio.buffers[UTF8ToString(path)];
    return buffer ? Math.floor(buffer.duration * 1000) : 0;
  },

  lumaroll_audio_play__deps: ['$LumarollAudio'],
  lumaroll_audio_play: function(path, seconds) {
    var audio = LumarollAudio;
    var buffer = audio.buffers[UTF8ToString(path)];
    if (!audio.context || !buffer) return 0;
    if (audio.source) audio.source.stop();
    audio.source = audio.context.createBufferSource();
    audio.source.buffer = buffer;
    audio.source.connect(audio.context.destination);
    audio.startedAt = audio.context.currentTime;
    audio.source.start(audio.startedAt, seconds);
    audio.context.resume();
    return 1;
  },

  lumaroll_audio_pause__deps: ['$LumarollAudio'],
  lumaroll_audio_pause: function(pause) {
    if (!LumarollAudio.context) return;
    if (pause) LumarollAudio.context.suspend(); else LumarollAudio.context.resume();
  },

  lumaroll_audio_stop__deps: ['$LumarollAudio'],
  lumaroll_audio_stop: function() {
    if (LumarollAudio.source) LumarollAudio.source.stop();
    LumarollAudio.source = null;
  },

  lumaroll_audio_set_extra_delay__deps: ['$LumarollAudio'],
  lumaroll_audio_set_extra_delay: function(milliseconds) {
    LumarollAudio.extraDelay = milliseconds / 1000;
  },

  // Where the playing source is, as it is heard, in ms since it started:
  // the context's clock at the output (its output timestamp where the
  // browser gives one, else its time less the output's latency), less the
  // extra delay. -1 when nothing plays.
  lumaroll_audio_position__deps: ['$LumarollAudio'],
  lumaroll_audio_position: function() {
    var audio = LumarollAudio;
    if (!audio.context || !audio.source) return -1;
    var context = audio.context;
    var heard;
    if (audio.latencyAsked === null) audio.latencyAsked = !/\bFirefox\//.test(navigator.userAgent);
    if (!audio.latencyAsked) {
      // The context's time moves in steps of one audio callback.
      var now = performance.now();
      if (context.currentTime !== audio.stepTime) {
        audio.stepTime = context.currentTime;
        audio.stepSeenAt = now;
      }
      var ranOn = context.state === 'running' ? Math.min(now - audio.stepSeenAt, 20) : 0;
      heard = audio.stepTime + ranOn / 1000 - (context.baseLatency || 0);
    } else {
      var stamp = context.getOutputTimestamp ? context.getOutputTimestamp() : null;
      if (stamp && stamp.contextTime > 0 && stamp.performanceTime > 0 && context.state === 'running')
        heard = stamp.contextTime + (performance.now() - stamp.performanceTime) / 1000;
      else
        heard = context.currentTime - (context.outputLatency || 0) - (context.baseLatency || 0);
    }
    var played = (heard - audio.extraDelay - audio.startedAt) * 1000;
    return played > 0 ? Math.floor(played) : 0;
  },

  lumaroll_audio_error__deps: ['$LumarollAudio'],
  lumaroll_audio_error: function() {
    var text = LumarollAudio.error;
    var size = lengthBytesUTF8(text) + 1;
    var memory = _malloc(size);
    stringToUTF8(text, memory, size);
    return memory;
  },

  // Hands control back to the browser until its next animation frame: the
  // canvas is shown then, and the page stays responsive.
  lumaroll_next_frame: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      if (document.hidden) setTimeout(wakeUp, 16); else requestAnimationFrame(function() { wakeUp(); });
    });
  },

  // A line for the user, shown on the page (a bad address, say).
  lumaroll_page_message: function(text) {
    if (Module['showMessage']) Module['showMessage'](UTF8ToString(text));
  },

  // The run is over, with its exit status.
  lumaroll_page_ended: function(status) {
    if (Module['ended']) Module['ended'](status);
  },
});
