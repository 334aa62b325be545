// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The page's desktop: the program's windows over a plain background, a strip at the bottom with
// the notification area, the start button, sound and storage. The program (quorblex.js) decides
// everything; this shows what it hands over (host/web/library.js calls the functions of
// `desktop`) and queues what the user does for the program's next wait.
'use strict';

(function () {
  // Dialog units to CSS pixels, by the base units of an 8 point sans-serif font at 96 dpi.
  const BASE_X = 6, BASE_Y = 13;
  const duX = (du) => Math.floor(du * BASE_X / 4);
  const duY = (du) => Math.floor(du * BASE_Y / 8);

  // The program's mouse messages for its notification icon.
  const TRAY = { down: 0x201, up: 0x202, dbl: 0x203, rdown: 0x204, rup: 0x205 };
  // Input kinds and keys, in the order of the program's own lists.
  const INPUT = { click: 0, key: 1, close: 2, syscommand: 3, tray: 4, slide: 5, taskbar: 6 };
  const KEYS = {
    Enter: 0, Escape: 1, ' ': 2, Tab: 3, ArrowLeft: 5, ArrowRight: 6, ArrowUp: 7,
    ArrowDown: 8, Home: 9, End: 10, PageUp: 11, PageDown: 12,
  };
  // A key as the page saw it, for the program's key policy.
  const KEY_PRESS = 7;
  const KIND = ['button', 'check', 'group', 'text', 'picture', 'blackrect', 'blackframe',
                'trackbar', 'clip', 'icon'];
  const CHANGE = ['text', 'picture', 'enabled', 'visible', 'checked', 'trackbar', 'tooltip',
                  'clipopen', 'clipplay', 'clipclose'];
  const STYLE_RIGHT = 0x2, STYLE_NOPREFIX = 0x80, STYLE_SUNKEN = 0x1000, EX_CLIENTEDGE = 0x200;
  const ICON_MASK = 0xf0, ICON_HAND = 0x10, ICON_EXCLAMATION = 0x30;
  const TITLE = document.title;

  const $ = (sel) => document.querySelector(sel);
  const el = (tag, cls, parent) => {
    const e = document.createElement(tag);
    if (cls) e.className = cls;
    if (parent) parent.appendChild(e);
    return e;
  };

  // What the test and the benchmark read: each cue's start and end, and timings.
  const log = window.quorblexLog = { cues: [], marks: {} };

  // ---- Text with mnemonics -------------------------------------------------------------------

  // "&Scan" shows S underlined; "&&" is one ampersand.
  function setMnemonicText(node, text, prefix) {
    node.textContent = '';
    if (!prefix) {
      node.textContent = text;
      return;
    }
    let plain = '';
    for (let i = 0; i < text.length; ++i) {
      if (text[i] === '&' && i + 1 < text.length) {
        ++i;
        if (text[i] !== '&') {
          if (plain) node.appendChild(document.createTextNode(plain));
          plain = '';
          el('u', null, node).textContent = text[i];
          continue;
        }
      }
      plain += text[i];
    }
    if (plain) node.appendChild(document.createTextNode(plain));
  }
  const withoutMnemonic = (text) => text.replace(/&(.)/g, '$1');

  // The dialog font, at `stretch` percent of its size: every text of a dialog has one size,
  // decided from all the texts it can show (host/shared/TextFit through host/web/WebHost).
  const fontSize = (stretch) => `${(8 * stretch / 100).toFixed(2)}pt`;

  // ---- Pictures ------------------------------------------------------------------------------

  function setBitmap(img, id) {
    if (!id) {
      img.removeAttribute('src');
      img.removeAttribute('srcset');
      img.hidden = true;
      return;
    }
    img.hidden = false;
    // The browser picks the drawing for the screen's density, and fetches only that one.
    img.srcset = `bitmaps/${id}.bmp 1x, bitmaps/${id}@1.5x.bmp 1.5x, bitmaps/${id}@2x.bmp 2x`;
    img.src = `bitmaps/${id}.bmp`;
  }

  function drawIcon(canvas, flags) {
    const ratio = window.devicePixelRatio || 1;
    canvas.width = canvas.height = Math.round(32 * ratio);
    const g = canvas.getContext('2d');
    g.scale(ratio, ratio);
    if ((flags & ICON_MASK) === ICON_HAND) {
      g.fillStyle = '#c00';
      g.beginPath();
      g.arc(16, 16, 15, 0, 2 * Math.PI);
      g.fill();
      g.strokeStyle = '#fff';
      g.lineWidth = 3;
      g.beginPath();
      g.moveTo(10, 10); g.lineTo(22, 22); g.moveTo(22, 10); g.lineTo(10, 22);
      g.stroke();
    } else if ((flags & ICON_MASK) === ICON_EXCLAMATION) {
      g.fillStyle = '#fc0';
      g.beginPath();
      g.moveTo(16, 1); g.lineTo(31, 30); g.lineTo(1, 30); g.closePath();
      g.fill();
      g.fillStyle = '#000';
      g.fillRect(14.5, 10, 3, 11);
      g.fillRect(14.5, 24, 3, 3);
    } else {
      g.fillStyle = '#2a5db0';
      g.beginPath();
      g.arc(16, 16, 15, 0, 2 * Math.PI);
      g.fill();
      g.fillStyle = '#fff';
      g.font = 'bold 20px serif';
      g.textAlign = 'center';
      g.fillText((flags & ICON_MASK) === 0x20 ? '?' : 'i', 16, 23);
    }
  }

  // ---- The clip ------------------------------------------------------------------------------

  // A clip plays on the page's animation frames: nothing runs while the tab is hidden. Which
  // frame shows when is the program's shared clip schedule (clipPlay, clipAt); the frames come
  // from its own reader (clipFrame).
  class ClipPlayer {
    constructor(canvas, desktop, control) {
      this.canvas = canvas;
      this.desktop = desktop;
      this.control = control;
      this.shown = -2;
      this.raf = 0;
    }
    open(info) {
      this.stop();
      this.info = info.frames > 0 ? info : null;
      this.show(this.info ? 0 : -1);
    }
    play(info, from, to, repeat) {
      this.stop();
      this.info = info.frames > 0 ? info : null;
      if (!this.info) return this.show(-1);
      this.show(this.desktop.clipPlay(this.control, this.info.handle, from, to, repeat));
      const step = () => {
        const at = this.desktop.clipAt(this.control);
        this.show(at.frame);
        this.raf = at.playing ? requestAnimationFrame(step) : 0;
      };
      this.raf = requestAnimationFrame(step);
    }
    stop() {
      if (this.raf) cancelAnimationFrame(this.raf);
      this.raf = 0;
      this.shown = -2;
    }
    close() {
      this.stop();
      this.info = null;
      this.show(-1);
    }
    show(index) {
      if (index === this.shown) return;
      this.shown = index;
      const g = this.canvas.getContext('2d');
      if (index < 0 || !this.info) {
        g.clearRect(0, 0, this.canvas.width, this.canvas.height);
        return;
      }
      const frame = this.desktop.clipFrame(this.info.handle, index);
      if (!frame) return;
      if (this.canvas.width !== frame.width || this.canvas.height !== frame.height) {
        this.canvas.width = frame.width;
        this.canvas.height = frame.height;
        this.canvas.style.width = `${frame.width / frame.ratio}px`;
        this.canvas.style.height = `${frame.height / frame.ratio}px`;
      }
      g.putImageData(new ImageData(frame.pixels, frame.width, frame.height), 0, 0);
    }
  }

  // ---- Windows -------------------------------------------------------------------------------

  class DialogWindow {
    constructor(view, desktop) {
      this.view = view;
      this.desktop = desktop;
      this.controls = new Map();
      const root = this.root = el('section', 'window', null);
      root.setAttribute('role', 'dialog');
      root.setAttribute('aria-labelledby', `caption-${view.handle}`);
      root.hidden = true;
      root.dataset.template = String(view.templateId);
      const bar = el('div', 'titlebar', root);
      this.menuButton = el('button', 'menu', bar);
      this.menuButton.type = 'button';
      this.menuButton.tabIndex = -1;
      this.menuButton.setAttribute('aria-label', 'Window menu');
      this.menuButton.setAttribute('aria-haspopup', 'menu');
      el('img', null, this.menuButton).src = 'icons/quorblex-16.png';
      this.menuButton.addEventListener('click', (e) => {
        e.preventDefault();
        this.toggleMenu();
      });
      const caption = el('h2', 'caption', bar);
      caption.id = `caption-${view.handle}`;
      caption.textContent = view.caption;
      this.closeButton = el('button', 'close', bar);
      this.closeButton.type = 'button';
      this.closeButton.tabIndex = -1;
      this.closeButton.setAttribute('aria-label', 'Close');
      this.closeButton.textContent = '\u00d7';
      this.closeButton.addEventListener('click', (e) => {
        e.preventDefault();
        desktop.report({ kind: INPUT.close, target: view.handle });
      });
      this.body = el('div', 'client', root);
      this.body.style.width = `${duX(view.rect.cx)}px`;
      this.body.style.height = `${duY(view.rect.cy)}px`;
      this.setStretch(view.stretch || 100);
      for (const c of view.controls) this.addControl(c);
      this.setMenu(view.menu, view.closeBoxEnabled);
      this.setFocus(view.focus, view.defaultLook);
      root.addEventListener('pointerdown', () => desktop.raiseTo(this));
    }

    addControl(c) {
      let node;
      const kind = KIND[c.kind];
      switch (kind) {
        case 'button':
          node = el('button', 'push');
          node.type = 'button';
          node.addEventListener('click', (e) => { e.preventDefault(); this.click(c.id); });
          break;
        case 'check': {
          node = el('label', 'check');
          const box = el('input', null, node);
          box.type = 'checkbox';
          el('span', null, node);
          box.addEventListener('click', (e) => { e.preventDefault(); this.click(c.id); });
          node.input = box;
          break;
        }
        case 'group':
          node = el('fieldset', 'group');
          el('legend', null, node);
          break;
        case 'text':
          node = el('div', 'text');
          if (c.style & STYLE_RIGHT) node.classList.add('right');
          break;
        case 'picture':
          node = el('div', 'picture');
          node.img = el('img', null, node);
          node.img.alt = '';
          node.img.draggable = false;
          break;
        case 'trackbar':
          node = el('input', 'trackbar');
          node.type = 'range';
          node.addEventListener('input', (e) => {
            const pos = Number(node.value);
            node.value = String(this.view.controls.find((x) => x.id === c.id).trackPos);
            e.preventDefault();
            this.desktop.report({ kind: INPUT.slide, target: this.view.handle, id: c.id, pos });
          });
          break;
        case 'clip':
          node = el('div', 'clip');
          node.setAttribute('role', 'img');
          node.player = new ClipPlayer(el('canvas', null, node), this.desktop, c.handle);
          break;
        case 'icon':
          node = el('canvas', 'icon');
          node.setAttribute('role', 'img');
          node.setAttribute('aria-label', this.view.iconName || 'icon');
          drawIcon(node, this.view.iconFlags);
          break;
        default:
          node = el('div', kind);
      }
      if (c.exStyle & EX_CLIENTEDGE || c.style & STYLE_SUNKEN) node.classList.add('sunken');
      this.name(node, c);
      node.style.left = `${duX(c.rect.x)}px`;
      node.style.top = `${duY(c.rect.y)}px`;
      node.style.width = `${duX(c.rect.cx)}px`;
      node.style.height = `${duY(c.rect.cy)}px`;
      node.qxControl = c;
      node.dataset.id = String(c.id);
      this.controls.set(c.handle, node);
      this.body.appendChild(node);
      for (const what of ['text', 'picture', 'enabled', 'visible', 'checked', 'trackbar',
                          'tooltip'])
        this.apply(c, what);
      if (kind === 'clip' && c.clip) this.apply(c, c.clip.playing ? 'clipplay' : 'clipopen');
    }

    // What a screen reader calls a control without words of its own ("lamp 4", "sensor
    // plate"), with what it shows now ("lit"); the others are named by their own text.
    name(node, c) {
      const kind = KIND[c.kind];
      if (kind === 'icon') return;
      if (!c.name) {
        if (kind === 'picture' || kind === 'blackrect' || kind === 'blackframe')
          node.setAttribute('aria-hidden', 'true');
        return;
      }
      if (kind === 'picture' || kind === 'clip' || kind === 'blackrect' || kind === 'blackframe')
        node.setAttribute('role', 'img');
      node.setAttribute('aria-label', c.state ? `${c.name}, ${c.state}` : c.name);
      if (c.description) node.setAttribute('aria-description', c.description);
    }

    click(id) { this.desktop.report({ kind: INPUT.click, target: this.view.handle, id }); }

    // One control changed; `c` is all of its state.
    apply(c, what) {
      const node = this.controls.get(c.handle);
      if (!node) return;
      const i = this.view.controls.findIndex((x) => x.handle === c.handle);
      if (i >= 0) this.view.controls[i] = c;
      node.qxControl = c;
      const kind = KIND[c.kind];
      switch (what) {
        case 'text': {
          const prefix = !(c.style & STYLE_NOPREFIX);
          if (kind === 'button') setMnemonicText(node, c.text, true);
          else if (kind === 'check') setMnemonicText(node.lastChild, c.text, true);
          else if (kind === 'group') setMnemonicText(node.firstChild, c.text, prefix);
          else if (kind === 'text') {
            setMnemonicText(node, c.text, prefix);
            if (this.shown) this.desktop.announce(this, c);
          } else if (kind === 'trackbar') this.name(node, c);
          break;
        }
        case 'picture':
          if (kind === 'picture') setBitmap(node.img, c.bitmapId);
          if (c.name) this.name(node, c);
          if (this.shown && !log.marks.sweep) log.marks.sweep = performance.now();
          break;
        case 'enabled': {
          const target = node.input || node;
          if ('disabled' in target) target.disabled = !c.enabled;
          node.classList.toggle('disabled', !c.enabled);
          break;
        }
        case 'visible':
          node.hidden = !c.visible;
          break;
        case 'checked':
          if (node.input) {
            node.input.checked = c.checked === 1;
            node.input.indeterminate = c.checked === 2;
          }
          break;
        case 'trackbar':
          if (kind === 'trackbar') {
            node.min = String(c.trackMin);
            node.max = String(c.trackMax);
            node.value = String(c.trackPos);
          }
          break;
        case 'tooltip':
          if (c.tooltip) node.title = c.tooltip;
          else node.removeAttribute('title');
          break;
        case 'clipopen':
          node.player.open(c.clip || { frames: 0 });
          break;
        case 'clipplay':
          node.player.play(c.clip || { frames: 0 }, c.clipFrom, c.clipTo, c.clipRepeat);
          break;
        case 'clipclose':
          node.player.close();
          break;
      }
    }

    setStretch(stretch) { this.body.style.fontSize = fontSize(stretch); }

    setMenu(menu, closeBoxEnabled) {
      this.menu = menu || [];
      this.menuButton.hidden = this.menu.length === 0;
      this.closeButton.disabled = !closeBoxEnabled;
    }

    toggleMenu() {
      const open = this.root.querySelector('.popup');
      if (open) return open.remove();
      const popup = el('ul', 'popup', this.root);
      popup.setAttribute('role', 'menu');
      for (const item of this.menu) {
        const li = el('li', item.id ? 'item' : 'separator', popup);
        if (!item.id) continue;
        li.setAttribute('role', 'menuitem');
        setMnemonicText(li, item.text.split('\t')[0], true);
        li.addEventListener('click', () => {
          popup.remove();
          this.desktop.report({ kind: INPUT.syscommand, target: this.view.handle, id: item.id });
        });
      }
    }

    setFocus(focus, defaultLook) {
      this.focus = focus;
      for (const [handle, node] of this.controls) {
        node.classList.toggle('focused', handle === focus);
        node.classList.toggle('default', handle === defaultLook);
      }
      this.desktop.placeFocus();
    }

    focusNode() {
      const node = this.controls.get(this.focus);
      if (!node) return null;
      return node.input || (node.matches('button, input') ? node : null);
    }
  }

  // ---- The desktop ---------------------------------------------------------------------------

  class Desktop {
    constructor() {
      this.start = $('#start');
      this.screen = $('#desktop');
      this.layer = $('#windows');
      this.taskbar = $('#taskbar-windows');
      this.tray = $('#tray');
      this.live = $('#announce');
      this.windows = new Map();
      this.order = [];
      this.queue = [];
      this.waiter = null;
      this.keys = (e) => this.onKey(e);
      this.tray.addEventListener('pointerdown', (e) => this.onTray(e, true));
      this.tray.addEventListener('pointerup', (e) => this.onTray(e, false));
      this.tray.addEventListener('dblclick', () => this.report({ kind: INPUT.tray, id: TRAY.dbl }));
      this.tray.addEventListener('contextmenu', (e) => e.preventDefault());
      this.tray.addEventListener('keydown', (e) => {
        if (e.key !== 'Enter' && e.key !== ' ') return;
        e.preventDefault();
        e.stopPropagation();
        this.report({ kind: INPUT.tray, id: TRAY.down });
        this.report({ kind: INPUT.tray, id: TRAY.up });
      });
      document.addEventListener('visibilitychange', () => {
        if (!document.hidden) document.title = TITLE;
      });
      window.addEventListener('resize', () => this.fit());
    }

    // ---- Starting and ending

    // What the program needs from the site, fetched while the user looks at the start page:
    // the program compiled, and the clip (with its sharper drawing on a dense screen).
    preload() {
      if (this.loading) return this.loading;
      const ratio = window.devicePixelRatio || 1;
      const clips = ['qx.avi'];
      if (ratio > 1) clips.push(ratio > 1.5 ? 'qx@2x.avi' : 'qx@1.5x.avi');
      const files = Promise.all(clips.map((name) =>
        fetch(`data/${name}`).then((r) => r.ok ? r.arrayBuffer() : null).catch(() => null)))
        .then((buffers) => {
          const found = {};
          clips.forEach((name, i) => { if (buffers[i]) found[name] = new Uint8Array(buffers[i]); });
          return found;
        });
      const wasm = WebAssembly.compileStreaming(fetch('quorblex.wasm')).catch(() =>
        fetch('quorblex.wasm').then((r) => r.arrayBuffer()).then((b) => WebAssembly.compile(b)));
      // Starting the browser's audio can take a moment; it waits, suspended, for the press.
      this.makeAudio();
      this.loading = Promise.all([files, wasm]);
      return this.loading;
    }

    makeAudio() {
      try {
        this.audio = new (window.AudioContext || window.webkitAudioContext)();
      } catch (e) {
        this.audio = null;
      }
    }

    async run() {
      const button = $('#start-button');
      button.disabled = true;
      log.marks.startPressed = performance.now();
      // Sound may start only once the user has touched the page: this press lets the audio
      // made ready on the start page go.
      this.audioReady = this.audio ? this.audio.resume().catch(() => {}) : Promise.resolve();
      const [files, wasm] = await this.preload();
      this.start.hidden = true;
      this.screen.hidden = false;
      this.fit();
      document.addEventListener('keydown', this.keys, true);
      const sounds = document.body.dataset.sounds.split(' ');
      window.QuorblexPro({
        desktop: this,
        ratio: window.devicePixelRatio || 1,
        dataFiles: files,
        placeholders: sounds.concat(['quorblex.html']),
        instantiateWasm: (imports, receive) => {
          WebAssembly.instantiate(wasm, imports).then((instance) => receive(instance, wasm),
                                                      (e) => this.fail(e));
          return {};
        },
        print: (t) => console.log(t),
        printErr: (t) => console.warn(t),
      }).catch((e) => this.fail(e));
    }

    // The program has ended: back to the start page, ready for another run.
    ended() {
      document.removeEventListener('keydown', this.keys, true);
      // The program's clip is gone with it: no frame may be asked for again.
      this.clipFrame = () => null;
      this.clipAt = () => ({ frame: -1, playing: false });
      for (const w of this.windows.values()) {
        for (const node of w.controls.values()) if (node.player) node.player.stop();
        w.root.remove();
      }
      this.windows.clear();
      this.order = [];
      this.queue = [];
      this.taskbar.textContent = '';
      this.tray.hidden = true;
      this.screen.hidden = true;
      this.start.hidden = false;
      // The audio stays for another run, suspended again.
      if (this.audio) this.audio.suspend().catch(() => {});
      this.audioReady = null;
      const button = $('#start-button');
      button.disabled = false;
      button.focus();
      document.title = TITLE;
      log.marks.ended = performance.now();
    }

    fail(e) {
      console.error('Quorblex Pro stopped:', e);
      this.ended();
    }

    // ---- Input

    // The program wakes after the event has run its course: a check box the browser sets
    // back after a click must not undo what the program has just shown.
    report(event) {
      this.queue.push(event);
      if (this.waiter) {
        const wake = this.waiter;
        this.waiter = null;
        setTimeout(wake, 0);
      }
    }

    // Wakes the program once, on input or after `ms` (-1: input only), whichever comes first:
    // a second wake-up would resume a program that is already running.
    wait(ms, wake) {
      if (this.queue.length || ms === 0) return wake();
      let timer = 0, woken = false;
      const done = () => {
        if (woken) return;
        woken = true;
        if (timer) clearTimeout(timer);
        if (this.waiter === done) this.waiter = null;
        wake();
      };
      this.waiter = done;
      if (ms > 0) timer = setTimeout(done, ms);
    }

    takeInput() { return this.queue.shift() || null; }

    // Every key goes to the program's key policy (host/shared/KeyPolicy), which decides what
    // the dialog gets of it; the browser keeps only its own shortcuts (Ctrl, the system key).
    onKey(e) {
      if (e.target === this.tray) return;
      const named = e.key === 'Tab' ? KEYS.Tab : (e.key in KEYS ? KEYS[e.key] : -1);
      const character = /^(Key[A-Z]|Digit[0-9])$/.test(e.code) ?
        e.code.charCodeAt(e.code.length - 1) : 0;
      if (named < 0 && !character) return;
      const system = e.ctrlKey || e.metaKey;
      if (!system) {
        e.preventDefault();
        e.stopPropagation();
      }
      if (e.repeat && character) return;
      const w = this.active();
      const flags = (e.altKey ? 1 : 0) | (system ? 2 : 0) | (e.shiftKey ? 4 : 0);
      this.report({ kind: KEY_PRESS, target: w ? w.view.handle : 0, key: named,
                    letter: character, alt: flags });
    }

    onTray(e, down) {
      e.preventDefault();
      const right = e.button === 2;
      const id = right ? (down ? TRAY.rdown : TRAY.rup) : (down ? TRAY.down : TRAY.up);
      this.report({ kind: INPUT.tray, id });
    }

    // ---- Windows

    // One change the program hands over (host/web/WebHost.cpp writes them).
    show(m) {
      switch (m.op) {
        case 'created': return this.created(m.view);
        case 'destroyed': return this.destroyed(m.handle);
        case 'shown': return this.shown(m.view, m.initial);
        case 'enabled': return this.enabled(m.handle, m.enabled);
        case 'raised': return this.raised(m.handle);
        case 'focus': return this.focusChanged(m.handle, m.focus, m.defaultLook);
        case 'menu': return this.menuChanged(m.handle, m.menu, m.closeBoxEnabled);
        case 'control': return this.controlChanged(m.handle, m.control, m.what);
        case 'stretch': return this.windows.get(m.handle)?.setStretch(m.stretch);
        case 'windowMenu': return this.windows.get(m.handle)?.toggleMenu();
        case 'trayDelete': return this.trayDelete();
        case 'help': return this.showHelp(m.path);
      }
    }

    created(view) {
      const w = new DialogWindow(view, this);
      this.windows.set(view.handle, w);
      this.order.push(w);
      this.layer.appendChild(w.root);
      this.stack();
    }

    destroyed(handle) {
      const w = this.windows.get(handle);
      if (!w) return;
      for (const node of w.controls.values()) if (node.player) node.player.stop();
      w.root.remove();
      if (w.taskButton) w.taskButton.remove();
      this.windows.delete(handle);
      this.order = this.order.filter((x) => x !== w);
      this.stack();
      this.placeFocus();
    }

    shown(view, initial) {
      const w = this.windows.get(view.handle);
      if (!w) return;
      w.view.visible = view.visible;
      w.view.minimized = view.minimized;
      const onScreen = view.visible && !view.minimized;
      w.root.hidden = !onScreen;
      w.shown = onScreen;
      if (onScreen && (initial || !w.placed)) this.place(w, view);
      this.taskEntry(w, view);
      if (onScreen) this.raiseTo(w);
      if (onScreen && initial && document.hidden) {
        // The user is on another tab: say on this one's title that something waits.
        document.title = `(!) ${view.caption} \u2013 ${TITLE}`;
      }
      if (onScreen && initial) {
        log.marks[`shown${view.templateId}`] = log.marks[`shown${view.templateId}`] ||
          performance.now();
      }
      this.fit();
      this.placeFocus();
    }

    // Where a new window stands: the program's shared placement rule (the main window in the
    // middle, a centred dialog on its owner, another at its template's corner in its owner).
    place(w, view) {
      w.placed = true;
      const owner = this.windows.get(view.owner);
      const frame = { w: w.root.offsetWidth, h: w.root.offsetHeight };
      const at = this.placeBy({
        width: frame.w, height: frame.h, owned: owner ? 1 : 0, centered: view.centered ? 1 : 0,
        ownerX: owner ? owner.x : 0, ownerY: owner ? owner.y : 0,
        ownerWidth: owner ? owner.root.offsetWidth : 0,
        ownerHeight: owner ? owner.root.offsetHeight : 0,
        clientX: owner ? owner.x + owner.body.offsetLeft : 0,
        clientY: owner ? owner.y + owner.body.offsetTop : 0,
        offsetX: duX(view.rect.x), offsetY: duY(view.rect.y),
        areaWidth: this.layer.clientWidth || 640, areaHeight: this.layer.clientHeight || 480,
      });
      w.x = at.x;
      w.y = at.y;
      w.root.style.left = `${w.x}px`;
      w.root.style.top = `${w.y}px`;
    }

    taskEntry(w, view) {
      if (view.owner) return;
      if (!w.taskButton) {
        w.taskButton = el('button', 'task', this.taskbar);
        w.taskButton.type = 'button';
        el('img', null, w.taskButton).src = 'icons/quorblex-16.png';
        el('span', null, w.taskButton).textContent = view.caption;
        w.taskButton.addEventListener('click', (e) => {
          e.preventDefault();
          this.report({ kind: INPUT.taskbar, target: view.handle });
        });
      }
      w.taskButton.hidden = !view.visible;
      w.taskButton.classList.toggle('minimized', view.minimized);
    }

    enabled(handle, on) {
      const w = this.windows.get(handle);
      if (!w) return;
      w.enabled = on;
      w.root.classList.toggle('blocked', !on);
      if (on) w.root.removeAttribute('aria-hidden');
      else w.root.setAttribute('aria-hidden', 'true');
      this.stack();
      this.placeFocus();
    }

    raiseTo(w) {
      if (!w) return;
      this.order = this.order.filter((x) => x !== w).concat([w]);
      this.stack();
    }

    raised(handle) { this.raiseTo(this.windows.get(handle)); }

    stack() {
      this.order.forEach((w, i) => { w.root.style.zIndex = String(10 + i); });
      for (const w of this.order) w.root.classList.remove('active');
      const top = this.active();
      if (top) top.root.classList.add('active');
    }

    // The innermost window that takes input.
    active() {
      for (let i = this.order.length - 1; i >= 0; --i) {
        const w = this.order[i];
        if (w.shown && w.enabled !== false) return w;
      }
      return null;
    }

    focusChanged(handle, focus, defaultLook) {
      const w = this.windows.get(handle);
      if (w) w.setFocus(focus, defaultLook);
    }

    // The browser's focus follows the program's, so a screen reader reads what the program
    // has focused; the key handler above keeps the browser from moving it on its own.
    placeFocus() {
      const w = this.active();
      if (!w) return;
      const node = w.focusNode();
      const target = node || w.root;
      if (!node) w.root.tabIndex = -1;
      if (document.activeElement !== target && document.activeElement !== this.tray)
        target.focus({ preventScroll: true });
    }

    menuChanged(handle, menu, closeBoxEnabled) {
      const w = this.windows.get(handle);
      if (w) w.setMenu(menu, closeBoxEnabled);
    }

    controlChanged(handle, control, what) {
      const w = this.windows.get(handle);
      if (w) w.apply(control, CHANGE[what]);
    }

    // A changed result or status line is read out once, politely, while its window is up.
    announce(w, c) {
      if (!c.text || !c.visible) return;
      this.live.textContent = '';
      this.live.textContent = withoutMnemonic(c.text);
    }

    // The room a text takes in the dialog font at `stretch` percent: width << 16 | height.
    measure(text, width, wraps, mnemonic, stretch) {
      if (!this.ruler) {
        this.ruler = el('div', 'ruler', document.body);
        this.ruler.setAttribute('aria-hidden', 'true');
      }
      const r = this.ruler;
      r.style.fontSize = fontSize(stretch);
      r.style.whiteSpace = wraps ? 'pre-wrap' : 'pre';
      r.style.width = wraps ? `${width}px` : 'auto';
      r.textContent = mnemonic ? withoutMnemonic(text) : text;
      const w = Math.min(Math.ceil(r.scrollWidth), 0xffff);
      const h = Math.min(Math.ceil(r.scrollHeight), 0xffff);
      return w * 65536 + h;
    }

    // ---- The notification area

    trayAdd(tip) {
      this.tray.hidden = false;
      this.tray.title = tip;
      this.tray.setAttribute('aria-label', tip);
      return true;
    }

    trayDelete() { this.tray.hidden = true; }

    showHelp(path) { window.open('quorblex.html', '_blank', 'noopener'); }

    // ---- Phones: the windows scaled to fit a narrow screen

    fit() {
      let need = 0;
      for (const w of this.windows.values()) {
        if (w.shown) need = Math.max(need, w.x + w.root.offsetWidth + 4);
      }
      const room = this.screen.clientWidth, high = this.screen.clientHeight - 30;
      const scale = need > room ? room / need : 1;
      this.layer.style.transform = scale < 1 ? `scale(${scale})` : '';
      this.layer.style.width = `${room / scale}px`;
      this.layer.style.height = `${high / scale}px`;
    }

    // ---- Sound

    // Cue `name` from the site's sound `file`, or the default chime when it has none or the
    // file cannot be played. Sounds are fetched when first played and kept.
    async sound(name, file, sync) {
      const entry = { name, sync, start: performance.now(), end: 0 };
      log.cues.push(entry);
      await this.audioReady;
      if (!this.audio) return;
      this.sounds = this.sounds || new Map();
      let buffer = file ? this.sounds.get(file) : null;
      if (file && !buffer) {
        try {
          const response = await fetch(`sounds/${encodeURIComponent(file)}`);
          if (response.ok) {
            buffer = await this.audio.decodeAudioData(await response.arrayBuffer());
            this.sounds.set(file, buffer);
          }
        } catch (e) {
          buffer = null;
        }
      }
      const source = this.audio.createBufferSource();
      source.buffer = buffer || this.chime();
      source.connect(this.audio.destination);
      entry.start = performance.now();
      entry.length = source.buffer.duration * 1000;
      const ended = new Promise((resolve) => { source.onended = resolve; });
      source.start();
      await ended;
      entry.end = performance.now();
    }

    // The default chime, for a cue whose file is missing or unplayable.
    chime() {
      const rate = this.audio.sampleRate, length = Math.floor(rate * 0.35);
      const buffer = this.audio.createBuffer(1, length, rate);
      const data = buffer.getChannelData(0);
      for (let i = 0; i < length; ++i) {
        const t = i / rate;
        data[i] = 0.3 * Math.exp(-8 * t) * Math.sin(2 * Math.PI * 880 * t);
      }
      return buffer;
    }
  }

  const desktop = new Desktop();
  window.quorblexDesktop = desktop;
  $('#start-button').addEventListener('click', () => desktop.run());
  // The program loads while the user looks at the start page.
  const program = document.createElement('script');
  program.src = 'quorblex.js';
  document.head.appendChild(program);
  window.addEventListener('load', () => desktop.preload());
  log.marks.startPage = performance.now();
})();
