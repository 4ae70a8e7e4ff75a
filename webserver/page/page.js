// The six instruments of the station, drawn from what it sends over the WebSocket: every text,
// colour and satellite label comes from the station as its windows show them; this page only
// draws them, sized to the screen.
'use strict';

const Svg = 'http://www.w3.org/2000/svg';
const LevelKey = 'devozora.level';
const ReconnectMs = 2000;
const SilenceMs = 5000;

let levels = null;   // the palette of every level, from the station
let stationLevel = 'Daylight';
let values = null;
let shownHeading = null; // tenths of a degree, as the drum shows it now

function element(name, attributes, parent) {
  const node = document.createElementNS(Svg, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  if (parent) parent.appendChild(node);
  return node;
}

// ---- brightness: the station's level, or the one this browser chose for itself
let ownLevel = '';
try { ownLevel = localStorage.getItem(LevelKey) || ''; } catch (e) { /* no storage: the station's level */ }

function palette() {
  return levels && (levels[ownLevel] || levels[stationLevel]);
}

function applyLevel() {
  const colours = palette();
  if (!colours) return;
  const style = document.documentElement.style;
  for (const [name, colour] of Object.entries(colours)) {
    if (typeof colour === 'string') style.setProperty('--' + name, colour);
  }
  drawSky();
}

// ---- digital instruments: the text scaled to fill its box, never cut off
function fitText(svg, lines) {
  // Laid out again only when the text changed: a phone's battery pays for every layout.
  const joined = lines.join('\n');
  if (svg.dataset.shown === joined && svg.dataset.width === String(svg.clientWidth)) return;
  svg.dataset.shown = joined;
  svg.dataset.width = String(svg.clientWidth);
  const text = svg.querySelector('text');
  text.textContent = '';
  lines.forEach((line, n) => {
    const span = element('tspan', {x: 0, dy: n === 0 ? 0 : '1.2em'}, text);
    span.textContent = line;
  });
  text.setAttribute('font-size', 100);
  text.setAttribute('text-anchor', 'middle');
  const box = text.getBBox();
  if (box.width > 0 && box.height > 0) {
    const pad = box.height * 0.06;
    svg.setAttribute('viewBox', [box.x - pad, box.y - pad, box.width + 2 * pad, box.height + 2 * pad].join(' '));
  }
}

// A value of two lines (the position, and "No reception" as the windows show it) comes joined by
// CR LF.
const lines = (text) => text.split('\r\n');

function showDigital() {
  const v = values;
  fitText(document.querySelector('#course .value'), lines(v.course));
  fitText(document.querySelector('#speed .value'), lines(v.speed));
  fitText(document.querySelector('#position .value'), v.position);
  fitText(document.querySelector('#datetime .value'), lines(v.time));
  document.getElementById('timeSort').textContent = v.timeSort;
  document.getElementById('date').textContent = v.date;
}

// ---- the sky: the window's geometry in a square of 1000
let skyShown = '';

function drawSky() {
  const colours = palette();
  if (!values || !colours) return;
  const sky = JSON.stringify([values.satellites, colours.signal]);
  if (sky === skyShown) return;
  skyShown = sky;
  const group = document.getElementById('satellites');
  group.textContent = '';
  const side = 1000, radius = side / 24, horizon = side / 2.1 - radius;
  for (const sat of values.satellites) {
    const distance = Math.cos(sat.elevation * Math.PI / 180) * horizon;
    const angle = sat.azimuth * Math.PI / 180;
    const x = side / 2 + Math.sin(angle) * distance, y = side / 2 - Math.cos(angle) * distance;
    element('circle', {cx: x, cy: y, r: radius, fill: colours.signal[sat.signal]}, group);
    const box = element('rect', {class: 'labelBox'}, group);
    const label = element('text', {class: 'label', x: x, y: y}, group);
    label.textContent = sat.label;
    // The label on a light box, shrunk, box and all, where it would reach beyond its disc.
    const ink = label.getBBox();
    const pad = Math.max(1, ink.height / 8);
    const w = ink.width + 2 * pad, h = ink.height + 2 * pad;
    const scale = Math.min(1, radius / (Math.hypot(w, h) / 2));
    if (scale < 1) label.setAttribute('font-size', 40 * scale);
    box.setAttribute('x', x - w * scale / 2);
    box.setAttribute('y', y - h * scale / 2);
    box.setAttribute('width', w * scale);
    box.setAttribute('height', h * scale);
  }
}

// ---- the drum compass: the window's scale, 80 degrees either side of the index line
function drawDrum() {
  const svg = document.querySelector('#drum svg');
  const width = svg.clientWidth, height = svg.clientHeight;
  if (width === 0 || height === 0) return;
  svg.setAttribute('viewBox', `0 0 ${width} ${height}`);
  svg.textContent = '';
  // In the window's proportions: a margin of a thousandth of width and height together.
  const margin = (width + height) / 1000;
  const baseY = height * 0.8, left = 2 * margin, right = width - 2 * margin, centre = width / 2;
  element('line', {class: 'base', x1: left, y1: baseY, x2: right, y2: baseY, 'stroke-width': 2}, svg);
  if (values && values.fix && shownHeading !== null) {
    const k = (right - left) / 1300;
    for (let i = 0; i < 33; ++i) {
      const value = Math.floor(((i - 16) * 50 + shownHeading) / 50) * 50;
      const d = value - shownHeading;
      const x = centre - d * k * Math.cos(d / 1100);
      const shrink = Math.cos((i - 16) / 16);
      const tenths = ((value % 3600) + 3600) % 3600;
      const top = baseY - (tenths % 300 === 0 ? 30 : 15) * margin * shrink;
      element('line', {class: 'tick', x1: x, y1: top, x2: x, y2: baseY, 'stroke-width': tenths % 100 === 0 ? 2 : 1}, svg);
      if (tenths % 300 === 0) {
        const number = element('text', {class: 'number', x: x, y: top, 'font-size': 60 * margin * shrink}, svg);
        number.textContent = String(tenths / 10);
        // A number turning off the edge of the drum goes rather than show in part.
        const ink = number.getBBox();
        if (ink.x < 0 || ink.x + ink.width > width || ink.y < 0) number.remove();
      }
    }
  } else if (values) {
    const text = element('text', {class: 'noFixText', x: centre, y: height / 2, 'dominant-baseline': 'central',
                                  'font-size': Math.min(height / 5, width / 8)}, svg);
    text.textContent = 'No reception';
  }
  const index = Math.max(2, Math.round((width + height) / 150));
  element('rect', {class: 'index', x: Math.round(centre - index / 2), y: 2 * margin, width: index,
                   height: Math.max(0, height - 5 * margin)}, svg);
}

// A quarter of the way to the course every 300 ms, the short way round, as the window glides;
// the first course is shown at once.
function glide() {
  if (values && values.fix && typeof values.heading === 'number') {
    const course = values.heading * 10;
    if (shownHeading === null) shownHeading = Math.round(course);
    let delta = (Math.round(course - shownHeading) % 3600 + 3600) % 3600;
    if (delta > 1800) delta -= 3600;
    // Drawn again only when it moves: a phone's battery pays for every frame.
    if (delta !== 0) {
      shownHeading = ((Math.round(shownHeading + delta / 4) % 3600) + 3600) % 3600;
      drawDrum();
    }
  }
}

// ---- the link to the station
function setLink(text, lost) {
  const link = document.getElementById('link');
  link.textContent = text;
  link.classList.toggle('lost', lost);
}

// The station sends at least every two seconds: a link silent for longer has dropped without a
// word (the phone left the Wi-Fi, the computer lost power), which the browser may not notice for
// minutes.
let live = null;
let heard = 0;

function lost(why) {
  live = null;
  setLink(`${why}; trying again`, true);
  setTimeout(connect, ReconnectMs);
}

function connect() {
  const scheme = location.protocol === 'https:' ? 'wss:' : 'ws:';
  const socket = new WebSocket(`${scheme}//${location.host}/live`);
  live = socket;
  heard = Date.now();
  socket.onopen = () => setLink('Live from the station', false);
  socket.onmessage = (event) => {
    if (socket !== live) return;
    heard = Date.now();
    let message;
    try { message = JSON.parse(event.data); } catch (e) { return; }
    if (message.levels) {
      levels = message.levels;
      stationLevel = message.look;
      applyLevel();
      return;
    }
    values = message;
    document.getElementById('age').textContent = values.age || '';
    if (shownHeading === null && typeof values.heading === 'number') shownHeading = Math.round(values.heading * 10);
    showDigital();
    drawSky();
    drawDrum();
  };
  socket.onclose = (event) => {
    if (socket !== live) return;
    lost(event.code === 1013 ? 'The station serves as many pages as it may' : 'Connection to the station lost');
  };
}

setInterval(() => {
  if (live && live.readyState === WebSocket.OPEN && Date.now() - heard > SilenceMs) {
    const silent = live;
    lost('Connection to the station lost');
    silent.close();
  }
}, 1000);

// ---- one instrument or all: a phone shows one, swiped or tapped on to the next; a larger screen
// shows all six, and a tap shows one alone until the next tap.
const instruments = Array.from(document.querySelectorAll('.instrument'));
let current = 0;
const phone = window.matchMedia('(max-width: 600px), (max-height: 500px)');

function show(n) {
  current = (n + instruments.length) % instruments.length;
  instruments.forEach((node, i) => node.classList.toggle('current', i === current));
  document.body.classList.toggle('single', phone.matches);
  requestAnimationFrame(refit);
}

function refit() {
  skyShown = '';
  if (values) { showDigital(); drawSky(); }
  drawDrum();
}

let touchStart = null;
document.getElementById('deck').addEventListener('pointerdown', (event) => {
  touchStart = {x: event.clientX, y: event.clientY};
});
document.getElementById('deck').addEventListener('pointerup', (event) => {
  if (!touchStart) return;
  const dx = event.clientX - touchStart.x, dy = event.clientY - touchStart.y;
  touchStart = null;
  const tapped = instruments.indexOf(event.target.closest('.instrument'));
  if (Math.abs(dx) > 40 && Math.abs(dx) > Math.abs(dy)) {
    if (phone.matches || document.body.classList.contains('solo')) show(current + (dx < 0 ? 1 : -1));
  } else if (Math.abs(dx) < 10 && Math.abs(dy) < 10) {
    if (phone.matches) {
      show(current + 1);
    } else {
      document.body.classList.toggle('solo');
      show(tapped >= 0 ? tapped : current);
    }
  }
});
document.addEventListener('keydown', (event) => {
  if (event.key === 'ArrowRight') show(current + 1);
  if (event.key === 'ArrowLeft') show(current - 1);
});
phone.addEventListener('change', () => show(current));
window.addEventListener('resize', () => requestAnimationFrame(refit));

const levelList = document.getElementById('level');
levelList.value = ownLevel;
levelList.addEventListener('change', () => {
  ownLevel = levelList.value;
  // Kept in this browser only; where it cannot be kept (a private window) it holds for this visit.
  try { localStorage.setItem(LevelKey, ownLevel); } catch (e) { /* this visit only */ }
  applyLevel();
});

show(0);
connect();
setInterval(glide, 300);
