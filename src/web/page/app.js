// The tuner from a browser: what the console's window shows, live over a WebSocket, and what
// it does, sent as the console's control commands. Nothing is fetched from anywhere else.
'use strict';

const TEXT = {
  en: {
    antenna: 'Antenna', band: 'Band', subBand: 'Sub-band', side: 'Network side', tune: 'Matching search',
    log: 'Line log', store: 'Store in the slot', saved: 'stored', unsaved: 'not stored',
    connected: 'connected', lost: 'connection lost, reconnecting…', lang: 'Русский',
    bands: ['160 m', '80 m', '40 m', '30 m', '20 m', '17 m', '15 m', '12 m', '10 m', 'Ext'],
    bit: (bank, bit, value) => `${bank} bit ${bit}, ${value}`, bar: bank => `${bank} code`,
    down: bank => `${bank} step down`, up: bank => `${bank} step up`,
    tx: 'Tx: capacitors on the transmitter side', ant: 'Ant: capacitors on the antenna side',
    port: p => `Port ${p.number || '–'}${p.device ? ' ' + p.device : ''}: ${p.state}${p.problem ? ' (' + p.problem + ')' : ''}`,
    radio: r => !r.following ? '' : !r.connected ? 'Transceiver: no connection'
      : `Transceiver: ${r.hz ? (r.hz / 1e6).toFixed(3) + ' MHz' : '—'}`,
    logout: 'Log out', start: 'Start', stop: 'Stop', viewer: 'watching only', refused: 'Refused: ',
    held: 'Transmitting: relays held', antennaN: n => `Antenna ${n}`, subN: n => `Sub-band ${n}`,
    undelivered: 'not delivered, Refresh', interlock: 'transmit not detected: relays are not held',
    tunes: 'Frequency memory', range: 'MHz', sideShort: 'Side', swr: 'SWR', source: 'Source',
    memory: m => `Relays from the frequency memory ${m}`, noTunes: 'none on this band',
    sweep: 'SWR sweep', kHz: 'kHz', noSweep: 'no sweep of this antenna and band yet',
    sweepKind: { bare: 'bare antenna', tuned: 'through the memory', measured: 'measured' },
    lowest: (swr, mhz) => `lowest SWR ${swr} at ${mhz} MHz`, stopped: ' — stopped',
    pieces: n => ` in ${n} stretches`, toEnd: ' (to the sweep\'s end)', pinned: 'pinned',
  },
  ru: {
    antenna: 'Антенна', band: 'Диапазон', subBand: 'Поддиапазон', side: 'Сторона конденсаторов',
    tune: 'Подбор согласования', log: 'Журнал линии', store: 'Сохранить в ячейку', saved: 'сохранено',
    unsaved: 'не сохранено', connected: 'на связи', lost: 'связь потеряна, повтор…', lang: 'English',
    bands: ['160 м', '80 м', '40 м', '30 м', '20 м', '17 м', '15 м', '12 м', '10 м', 'Д'],
    bit: (bank, bit, value) => `${bank}, бит ${bit}, ${value}`, bar: bank => `Код ${bank}`,
    down: bank => `${bank} на шаг вниз`, up: bank => `${bank} на шаг вверх`,
    tx: 'Tx: конденсаторы на стороне передатчика', ant: 'Ant: конденсаторы на стороне антенны',
    port: p => `Порт ${p.number || '–'}${p.device ? ' ' + p.device : ''}: ${p.state}${p.problem ? ' (' + p.problem + ')' : ''}`,
    radio: r => !r.following ? '' : !r.connected ? 'Трансивер: нет связи'
      : `Трансивер: ${r.hz ? (r.hz / 1e6).toFixed(3) + ' МГц' : '—'}`,
    logout: 'Выйти', start: 'Начать', stop: 'Остановить', viewer: 'только просмотр', refused: 'Отказано: ',
    held: 'Передача: реле не переключаются', antennaN: n => `Антенна ${n}`, subN: n => `Поддиапазон ${n}`,
    undelivered: 'не доставлено, Refresh', interlock: 'передача не определяется: реле не блокируются',
    tunes: 'Память частот', range: 'МГц', sideShort: 'Сторона', swr: 'КСВ', source: 'Источник',
    memory: m => `Реле из памяти частоты ${m}`, noTunes: 'на этом диапазоне нет',
    sweep: 'Обзор КСВ', kHz: 'кГц', noSweep: 'обзора этой антенны на этом диапазоне ещё нет',
    sweepKind: { bare: 'антенна без настройки', tuned: 'с настройками памяти', measured: 'измерено' },
    lowest: (swr, mhz) => `мин. КСВ ${swr} на ${mhz} МГц`, stopped: ' — остановлен',
    pieces: n => ` в ${n} участках`, toEnd: ' (до края обзора)', pinned: 'закреплено',
  },
};
const KEYS = ['160m', '80m', '40m', '30m', '20m', '17m', '15m', '12m', '10m', 'ext'];

let lang = localStorage.getItem('orvane.lang') ||
  ((navigator.language || 'en').toLowerCase().startsWith('ru') ? 'ru' : 'en');
let state = null;
let socket = null;
let retryMs = 500;
// The console says something at least every few seconds; silence longer than this is a lost
// link even when no connection was seen closing (a Wi-Fi gone, a computer asleep).
const SILENCE_MS = 12000;
let silence = null;
const $ = id => document.getElementById(id);
const t = () => TEXT[lang];
// A number with its decimals as the page's language writes it: "7,074" in Russian.
const num = (value, decimals) => value.toFixed(decimals).replace('.', lang === 'ru' ? ',' : '.');

function send(command) {
  if (socket && socket.readyState === WebSocket.OPEN && state && state.role === 'operator')
    socket.send(command);
}

function choiceButtons(container, count, label, onPick) {
  container.replaceChildren();
  for (let i = 1; i <= count; ++i) {
    const b = document.createElement('button');
    b.type = 'button';
    b.setAttribute('role', 'radio');
    b.dataset.value = String(i);
    b.addEventListener('click', () => onPick(i));
    container.append(b);
  }
  label();
}

function build() {
  choiceButtons($('antennas'), 3, labelAll, n => send(`\\recall ${n} ${KEYS[state.band - 1]} ${state.subBand}`));
  choiceButtons($('bands'), 10, labelAll, n => send(`\\recall ${state.antenna} ${KEYS[n - 1]} ${state.subBand}`));
  choiceButtons($('subBands'), 5, labelAll, n => send(`\\recall ${state.antenna} ${KEYS[state.band - 1]} ${n}`));
  choiceButtons($('sides'), 2, labelAll, n => send(`\\set_side ${n === 1 ? 'Tx' : 'Ant'}`));
  for (const bank of ['C', 'L']) {
    const bits = $('bits' + bank);
    bits.replaceChildren();
    for (let bit = 7; bit >= 0; --bit) {
      const b = document.createElement('button');
      b.type = 'button';
      b.id = bank + bit;
      b.dataset.bit = String(bit);
      b.append(document.createElement('span'), document.createElement('small'));
      b.addEventListener('click', () => send(`\\toggle ${bank} ${bit}`));
      bits.append(b);
    }
    const lower = bank.toLowerCase();
    const bar = $(lower + 'Bar');
    bar.addEventListener('change', () => send(`\\set_${lower} ${bar.value}`));
    $(lower + 'Down').addEventListener('click', () => send(`\\set_${lower} ${Math.max(0, code(bank) - 1)}`));
    $(lower + 'Up').addEventListener('click', () => send(`\\set_${lower} ${Math.min(255, code(bank) + 1)}`));
  }
  $('store').addEventListener('click', () => send('\\store'));
  $('tune').addEventListener('click', () => send('\\tune'));
  $('tuneStop').addEventListener('click', () => send('\\tune_stop'));
  $('lang').addEventListener('click', () => {
    lang = lang === 'ru' ? 'en' : 'ru';
    localStorage.setItem('orvane.lang', lang);
    labelAll();
    render();
  });
}

function setText(element, text) {
  if (element.textContent !== text) element.textContent = text;
}

function code(bank) { return state ? (bank === 'C' ? state.c : state.l) : 0; }

// A relay's weight: with its unit for a label, the number alone under the bit.
function weight(bank, bit, unit = true) {
  if (!state) return '';
  const value = bank === 'C' ? state.stepC * (1 << bit) : +(state.stepL / 1000 * (1 << bit)).toFixed(3);
  return unit ? `${value} ${bank === 'C' ? 'pF' : 'µH'}` : String(value);
}

function labelAll() {
  document.documentElement.lang = lang;
  for (const el of document.querySelectorAll('[data-t]')) el.textContent = t()[el.dataset.t];
  $('lang').textContent = t().lang;
  $('antennas').querySelectorAll('button').forEach((b, i) => { b.textContent = String(i + 1); b.setAttribute('aria-label', t().antennaN(i + 1)); });
  $('bands').querySelectorAll('button').forEach((b, i) => { b.textContent = t().bands[i]; b.setAttribute('aria-label', `${t().band} ${t().bands[i]}`); });
  $('subBands').querySelectorAll('button').forEach((b, i) => { b.textContent = String(i + 1); b.setAttribute('aria-label', t().subN(i + 1)); });
  $('sides').querySelectorAll('button').forEach((b, i) => { b.textContent = i === 0 ? 'Tx' : 'Ant'; b.setAttribute('aria-label', i === 0 ? t().tx : t().ant); });
  for (const bank of ['C', 'L']) {
    const lower = bank.toLowerCase();
    $(lower + 'Bar').setAttribute('aria-label', t().bar(bank));
    $(lower + 'Down').setAttribute('aria-label', t().down(bank));
    $(lower + 'Up').setAttribute('aria-label', t().up(bank));
  }
  $('store').textContent = t().store;
  $('tune').textContent = t().start;
  $('tuneStop').textContent = t().stop;
  drawSweep();
}

function render() {
  if (!state) return;
  const viewer = state.role !== 'operator';
  $('logout').hidden = !state.secure;
  const mark = (container, value) => container.querySelectorAll('button').forEach(b => {
    b.setAttribute('aria-checked', String(Number(b.dataset.value) === value));
  });
  mark($('antennas'), state.antenna);
  mark($('bands'), state.band);
  mark($('subBands'), state.subBand);
  mark($('sides'), state.side === 'Tx' ? 1 : 2);
  for (const bank of ['C', 'L']) {
    const value = code(bank);
    for (const b of $('bits' + bank).querySelectorAll('button')) {
      const bit = Number(b.dataset.bit);
      const on = (value >> bit) & 1;
      b.setAttribute('aria-pressed', String(!!on));
      b.setAttribute('aria-label', t().bit(bank, bit, weight(bank, bit)));
      // Only the texts change: a tap that lands while a state arrives keeps its target.
      setText(b.firstElementChild, String(on));
      setText(b.lastElementChild, weight(bank, bit, false));
    }
    const lower = bank.toLowerCase();
    const bar = $(lower + 'Bar');
    if (document.activeElement !== bar) bar.value = String(value);
    bar.setAttribute('aria-valuetext', bank === 'C' ? `C ${state.cPf} pF, ${value}` : `L ${state.lUh} µH, ${value}`);
    $(lower + 'Value').textContent = bank === 'C' ? `${state.cPf} pF (${value})` : `${state.lUh} µH (${value})`;
  }
  const hot = state.side === 'Tx';
  // The capacitors sit at the transmitter's end or the antenna's.
  for (const id of ['capWire', 'capTop', 'capBottom', 'capGround']) {
    const line = $(id);
    const shift = hot ? -70 : 0;
    line.setAttribute('transform', `translate(${shift} 0)`);
  }
  $('sideText').textContent = hot ? t().tx : t().ant;
  $('port').textContent = t().port(state.port);
  $('radio').textContent = state.held ? `${t().radio(state.radio)} — ${t().held}` : t().radio(state.radio);
  $('tx').hidden = !(state.radio && state.radio.transmitting);
  // The controller may hold other relays than these; a radio that cannot say it transmits.
  $('undelivered').hidden = state.delivered;
  $('undelivered').textContent = t().undelivered;
  $('interlock').hidden = state.interlock !== 'off';
  $('interlock').textContent = t().interlock;
  const mhz = hz => (hz / 1e6).toFixed(3);
  $('memory').textContent = state.memory ? t().memory(`${mhz(state.memory[0])}–${mhz(state.memory[1])}`) : '';
  askTunes();
  askSweep();
  $('saved').textContent = viewer ? t().viewer : (state.saved ? t().saved : t().unsaved);
  for (const el of document.querySelectorAll('main button, main input')) el.disabled = viewer || state.held;
}

// The band's frequency memories, asked again when the antenna or the band changes and
// whenever the state says the relays came from one.
let tunesOf = '';
function askTunes() {
  const which = `${state.antenna} ${KEYS[state.band - 1]}`;
  if (which === tunesOf && !state.memory) return;
  tunesOf = which;
  if (socket && socket.readyState === WebSocket.OPEN) socket.send(`\\get_tunes ${which}`);
}

// The last sweep of the antenna and band, asked again when either changes or a sweep ends.
let sweepOf = '';
function askSweep(again = false) {
  const which = `${state.antenna} ${state.bandKey}`;
  if (which !== sweepOf) sweep.edges = state.edges || [];
  if (which === sweepOf && !again) return;
  sweepOf = which;
  if (socket && socket.readyState === WebSocket.OPEN) socket.send(`\\get_sweep ${which}`);
}

// "7073500 C=37 L=12 Side=Tx SWR=1.12 Source=training Pinned=0 Stored=… Bin=7070000-7077000",
// one a line: each shown by its bin, as the window shows it.
function showTunes(text) {
  const body = $('tunes').tBodies[0];
  body.replaceChildren();
  const lines = text.split('\n').filter(l => /^\d+ /.test(l));
  for (const line of lines) {
    const [hz, ...pairs] = line.split(' ');
    const f = Object.fromEntries(pairs.map(p => p.split('=')));
    const [low, high] = (f.Bin || `${hz}-${hz}`).split('-').map(Number);
    const range = low === high ? num(low / 1e6, 3) : `${num(low / 1e6, 3)}–${num(high / 1e6, 3)}`;
    const swr = f.SWR === 'unknown' ? '—' : num(Number(f.SWR), 2);
    const row = body.insertRow();
    for (const cell of [range, f.C, f.L, f.Side, swr, f.Source])
      row.insertCell().textContent = cell;
    if (f.Pinned === '1') row.cells[0].append(pin());
  }
  if (!lines.length) body.insertRow().insertCell().textContent = t().noTunes;
}

// A pin drawn, not a character: a page without an emoji font shows it too.
function pin() {
  const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
  svg.setAttribute('viewBox', '0 0 10 14');
  svg.setAttribute('class', 'pin');
  svg.setAttribute('role', 'img');
  svg.setAttribute('aria-label', t().pinned);
  const head = document.createElementNS('http://www.w3.org/2000/svg', 'circle');
  head.setAttribute('cx', '5'); head.setAttribute('cy', '4'); head.setAttribute('r', '3.2');
  const needle = document.createElementNS('http://www.w3.org/2000/svg', 'path');
  needle.setAttribute('d', 'M5 7 L5 13.5');
  svg.append(head, needle);
  return svg;
}

function showLink(up) {
  const link = $('link');
  link.textContent = up ? t().connected : t().lost;
  link.classList.toggle('lost', !up);
  // What the page shows may be stale now: nothing to press until the console answers again.
  document.querySelector('main').inert = !up;
  document.querySelector('main').classList.toggle('stale', !up);
}

function addLog(line) {
  const log = $('log');
  const item = document.createElement('li');
  item.textContent = line;
  log.append(item);
  while (log.children.length > 30) log.firstElementChild.remove();
  log.scrollTop = log.scrollHeight;
}

function connect() {
  socket = new WebSocket(`${location.protocol === 'https:' ? 'wss' : 'ws'}://${location.host}/ws`);
  const watch = () => {
    clearTimeout(silence);
    silence = setTimeout(() => socket.close(), SILENCE_MS);
  };
  socket.addEventListener('open', () => { retryMs = 500; sweepOf = ''; showLink(true); watch(); });
  socket.addEventListener('message', event => {
    watch();
    const message = JSON.parse(event.data);
    if (message.type === 'state') {
      state = message;
      render();
    } else if (message.type === 'log') {
      addLog(message.line);
    } else if (message.type === 'tune') {
      $('tuneState').textContent = message.result || message.line;
    } else if (message.type === 'sweep') {
      if (sweepHeard(message.line)) askSweep(true);
    } else if (message.type === 'reply' && message.command.startsWith('\\get_tunes')) {
      showTunes(message.text);
    } else if (message.type === 'reply' && message.command.startsWith('\\get_sweep')) {
      sweepFromReply(message.text);
    } else if (message.type === 'reply' && message.text !== 'RPRT 0') {
      $('tuneState').textContent = t().refused + message.command + ' → ' + message.text;
    }
  });
  socket.addEventListener('close', () => {
    clearTimeout(silence);
    showLink(false);
    setTimeout(connect, retryMs);
    retryMs = Math.min(retryMs * 2, 5000);
  });
}

build();
labelAll();
watchSweepPointer();
showLink(false);
connect();
