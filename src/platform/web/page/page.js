// The page around the demo: loads it, shows its progress, starts it from a
// button (browsers give sound only after a gesture), offers full screen and
// says what went wrong. The address's query goes to the demo as it stands
// (?start=29008&seed=7&mute=1&size=400x320&every-frame=1&no-wait=1), and
// only the demo reads it: the page asks the demo what it says.
// ?at=MS&size=WxH draws the frame of one time, pixel for pixel, and sets
// the page's state to "done".
(function () {
  'use strict';
  var query = location.search.replace(/^\?/, '');
  var frameOnDemand = false; // as the demo reads the address, once it is loaded
  var body = document.body;
  var lastErrors = [];
  function byId(id) { return document.getElementById(id); }
  function setState(state) { body.dataset.state = state; }
  function say(text) { byId('message').textContent = text; }
  function status(text) { byId('status').textContent = text; }

  var probe = document.createElement('canvas');
  if (!probe.getContext('webgl2')) {
    status('');
    say('This demo draws with WebGL 2, which this browser does not offer or has turned off ' +
        '(in its settings, or for want of a graphics driver it trusts). It cannot play here.');
    setState('failed');
    return;
  }

  function asks(what) { return Module.ccall('lumaroll_address_' + what, 'number', ['string'], [query]) === 1; }

  // Browsers may keep sound off even after a click (a site setting, a
  // policy): the page says so, and asks again at the next click or key.
  function watchSound(context) {
    var line = byId('sound');
    function check() {
      if (!context) {
        line.textContent = 'This browser gives no sound: the demo plays in silence.';
      } else if (context.state !== 'running') {
        line.textContent = 'The browser keeps sound off: click to allow it.';
      } else {
        line.textContent = '';
        return;
      }
      if (!context) return;
      var retry = function () {
        context.resume().then(check, check);
        document.removeEventListener('click', retry);
        document.removeEventListener('keydown', retry);
      };
      document.addEventListener('click', retry);
      document.addEventListener('keydown', retry);
    }
    setTimeout(check, 1500);
  }

  function start() {
    var context = null;
    if (frameOnDemand) {
      body.classList.add('exact');
    } else if (!asks('mutes')) {
      try {
        var AudioContextClass = window.AudioContext || window.webkitAudioContext;
        if (AudioContextClass) context = Module.audioContext = new AudioContextClass();
      } catch (error) {
        console.warn('No audio context: ' + error);
      }
      watchSound(context);
    }
    setState('playing');
    byId('canvas').focus();
    Module.callMain([query]);
  }

  function ready() {
    var problem = Module.ccall('lumaroll_address_problem', 'string', ['string'], [query]);
    byId('bar').style.width = '100%';
    if (problem) {
      status('');
      say(problem);
      setState('refused');
      return;
    }
    frameOnDemand = asks('frame_on_demand');
    if (frameOnDemand) {
      start();
      return;
    }
    status(asks('waits') ? 'Ready. The demo begins five seconds after Start.' : 'Ready.');
    var button = byId('start');
    button.disabled = false;
    button.onclick = start;
    setState('ready');
  }

  function ended(exitStatus) {
    if (frameOnDemand) {
      setState(exitStatus === 0 ? 'done' : 'failed');
      if (exitStatus !== 0) body.classList.remove('exact');
      return;
    }
    if (document.fullscreenElement) document.exitFullscreen();
    var button = byId('start');
    button.textContent = 'Play again';
    button.onclick = function () { location.reload(); };
    if (exitStatus === 0) {
      status('The end.');
    } else if (!byId('message').textContent) {
      status('');
      say('The demo stopped (status ' + exitStatus + ').\n' + lastErrors.join('\n'));
    }
    setState(exitStatus === 0 ? 'ended' : 'failed');
  }

  // The whole page, not the canvas alone: before Start, the button must
  // stay there to be pressed.
  byId('fullscreen').onclick = function () {
    var page = document.documentElement;
    if (page.requestFullscreen) page.requestFullscreen();
  };

  window.Module = {
    canvas: byId('canvas'),
    print: function (text) { console.log(text); },
    printErr: function (text) {
      console.warn(text);
      lastErrors.push(text.replace(/\x1b\[[0-9;]*m/g, ''));
      if (lastErrors.length > 6) lastErrors.shift();
    },
    setStatus: function (text) {
      var progress = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
      if (progress) byId('bar').style.width = (100 * progress[1] / progress[2]) + '%';
    },
    onRuntimeInitialized: ready,
    // A developer's variables for the demo's environment, as on the desktop
    // (LUMAROLL_SYNC_LOG=/sync.log writes the frames' timing into the page's
    // file system): set window.lumarollEnvironment before the page loads.
    preRun: [function () { Object.assign(Module.ENV, window.lumarollEnvironment || {}); }],
    showMessage: say,
    ended: ended,
    onAbort: function (what) { say('The demo failed: ' + what); setState('failed'); },
  };
  var script = document.createElement('script');
  script.src = 'lumaroll.js';
  script.onerror = function () { say('The demo\'s files did not load: reload the page.'); setState('failed'); };
  document.body.appendChild(script);
})();
