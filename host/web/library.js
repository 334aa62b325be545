// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The functions the program calls in the page (linked with --js-library). Each hands its
// arguments to the page's desktop (site/desktop.js), given as Module.desktop when the program
// is made. Two of them suspend the program through Asyncify until the page calls back: the wait
// for input or time, and a synchronous cue; cmake/WebSite.cmake lists them in ASYNCIFY_IMPORTS.
mergeInto(LibraryManager.library, {
  // Sets up the program's files before main: the clips the page fetched, and an empty file for
  // each name the program only looks up (the cues and the help page play and open from the
  // site itself).
  $quorblexFiles__postset: 'addOnPreRun(quorblexFiles);',
  $quorblexFiles: function () {
    var files = Module['dataFiles'] || {};
    FS.mkdirTree('/data');
    for (var name in files) FS.writeFile('/data/' + name, files[name]);
    (Module['placeholders'] || []).forEach(function (name) {
      if (!(name in files)) FS.writeFile('/data/' + name, '');
    });
    var desktop = Module['desktop'];
    if (!desktop) return;
    desktop.clipFrame = function (clip, index) {
      var at = Module['_qx_clip_frame'](clip, index, Module['ratio'] || 1);
      if (!at) return null;
      var width = HEAP32[at >> 2], height = HEAP32[(at >> 2) + 1];
      var ratio = HEAP32[(at >> 2) + 2] / 100, pixels = HEAP32[(at >> 2) + 3] >> 2;
      var rgba = new Uint8ClampedArray(width * height * 4);
      for (var i = 0, n = width * height; i < n; ++i) {
        var p = HEAPU32[pixels + i];
        rgba[4 * i] = (p >>> 16) & 255;
        rgba[4 * i + 1] = (p >>> 8) & 255;
        rgba[4 * i + 2] = p & 255;
        rgba[4 * i + 3] = 255;
      }
      return { width: width, height: height, ratio: ratio, pixels: rgba };
    };
    desktop.placeBy = function (p) {
      var at = Module['_qx_place'](p.width, p.height, p.owned, p.centered, p.ownerX, p.ownerY,
                                   p.ownerWidth, p.ownerHeight, p.clientX, p.clientY, p.offsetX,
                                   p.offsetY, p.areaWidth, p.areaHeight) >>> 0;
      return { x: at >>> 16, y: at & 0xffff };
    };
    desktop.clipPlay = function (control, clip, from, to, repeat) {
      return Module['_qx_clip_play'](control, clip, from, to, repeat, performance.now());
    };
    desktop.clipAt = function (control) {
      var packed = Module['_qx_clip_at'](control, performance.now());
      return { frame: (packed >> 1) - 1, playing: (packed & 1) === 1 };
    };
  },

  qx_show__deps: ['$quorblexFiles'],
  qx_show: function (json) {
    // A fault of the page must not unwind the program: it is reported, and the program goes on.
    try {
      Module['desktop'].show(JSON.parse(UTF8ToString(json)));
    } catch (e) {
      console.error('Quorblex Pro: the page could not show a change:', e);
    }
  },

  qx_tray_add: function (tip) { return Module['desktop'].trayAdd(UTF8ToString(tip)) ? 1 : 0; },

  qx_now: function () { return performance.now(); },

  // Suspends until input comes or `ms` pass (-1: input only).
  qx_wait: function (ms) {
    return Asyncify.handleSleep(function (wakeUp) {
      Module['desktop'].wait(ms, function () { wakeUp(0); });
    });
  },

  // The next input the user gave, as "kind target id pos key letter alt"; 0 when none.
  qx_next_input: function (buffer, size) {
    var e = Module['desktop'].takeInput();
    if (!e) return 0;
    var text = [e.kind, e.target || 0, e.id || 0, e.pos || 0, e.key === undefined ? 0 : e.key,
                e.letter || 0, e.alt ? +e.alt : 0].join(' ');
    stringToUTF8(text, buffer, size);
    return 1;
  },

  // Plays a cue; the synchronous one suspends the program until it has ended.
  // `file` is the site's sound file for the cue; empty for the default chime.
  qx_play_sync: function (name, file) {
    if (!Module['desktop'].audioReady) return 0;
    return Asyncify.handleSleep(function (wakeUp) {
      Module['desktop'].sound(UTF8ToString(name), UTF8ToString(file), true)
          .then(function () { wakeUp(1); }, function () { wakeUp(1); });
    });
  },
  qx_play_async: function (name, file) {
    if (!Module['desktop'].audioReady) return 0;
    Module['desktop'].sound(UTF8ToString(name), UTF8ToString(file), false)
        .catch(function () {});
    return 1;
  },

  qx_measure: function (text, width, wraps, mnemonic, stretch) {
    return Module['desktop'].measure(UTF8ToString(text), width, wraps, mnemonic, stretch) >>> 0;
  },

  qx_exit: function (code) { Module['desktop'].ended(code); },

  // The profile's text in the browser's storage: a new string from malloc, or 0 when there is
  // none; -1 stands for storage that cannot be read at all.
  qx_storage_read: function (key) {
    var text;
    try {
      text = window.localStorage.getItem(UTF8ToString(key));
    } catch (e) {
      return -1;
    }
    if (text === null) return 0;
    var size = lengthBytesUTF8(text) + 1, at = _malloc(size);
    stringToUTF8(text, at, size);
    return at;
  },
  qx_storage_read__deps: ['malloc'],

  // 0 when stored; 1 when the storage is full, 2 when it is refused.
  qx_storage_write: function (key, text, length) {
    try {
      window.localStorage.setItem(UTF8ToString(key), UTF8ToString(text, length));
      return 0;
    } catch (e) {
      return e && e.name === 'QuotaExceededError' ? 1 : 2;
    }
  },
});
