// The last SWR sweep of the antenna and band on a canvas, drawn as the console's window draws
// it: a logarithmic SWR axis from 1 to 10, each curve's minimum marked above the plot, its
// stretches under 1.5 and 2.0 at those heights, the band's and sub-bands' edges. The words
// (which curve, its minimum, its widths) stand in a legend under the picture, so that none
// covers a curve or another; an axis label that would touch its neighbour is left out.
'use strict';

const SWEEP_TOP = 10;
const SWEEP_COLOURS = { bare: '#d66000', tuned: '#005ac8', measured: '#288c3c' };
const sweep = { curves: {}, complete: {}, edges: [], live: false, pointed: null };

// Every stretch of points under a limit, its ends where the lines cross it; open when it runs
// into the sweep's first or last reading.
function sweepAllUnder(points, limit) {
  const cross = (a, b) => a.hz + (limit - a.swr) / (b.swr - a.swr) * (b.hz - a.hz);
  const out = [];
  for (let i = 0; i < points.length; ++i) {
    if (points[i].swr >= limit || (i > 0 && points[i - 1].swr < limit)) continue;
    let high = i;
    while (high + 1 < points.length && points[high + 1].swr < limit) ++high;
    out.push({
      low: i > 0 ? cross(points[i], points[i - 1]) : points[i].hz,
      high: high + 1 < points.length ? cross(points[high], points[high + 1]) : points[high].hz,
      open: i === 0 || high + 1 === points.length,
    });
  }
  return out;
}

// "< 1,5: 140 кГц в 2 участках", "< 2.0: ≥ 196 kHz (to the sweep's end)".
function sweepWidthText(points, limit) {
  const pieces = sweepAllUnder(points, limit);
  if (!pieces.length) return '';
  const kHz = Math.round(pieces.reduce((sum, p) => sum + p.high - p.low, 0) / 1e3);
  const open = pieces.some(p => p.open);
  return `< ${num(limit, 1)}: ${open ? '≥ ' : ''}${kHz} ${t().kHz}` +
    (pieces.length > 1 ? t().pieces(pieces.length) : '') + (open ? t().toEnd : '');
}

function sweepMinimum(points) {
  return points.reduce((best, p) => (!best || p.swr < best.swr ? p : best), null);
}

// "Kind=bare Started=… Complete=1" heads and "bare 7000000 1.234" points: \get_sweep's reply.
function sweepFromReply(text) {
  sweep.curves = {};
  sweep.complete = {};
  sweep.live = false;
  for (const line of text.split('\n')) {
    const words = line.trim().split(' ');
    if (words[0].startsWith('Kind=')) {
      const head = Object.fromEntries(words.map(w => w.split('=')));
      sweep.complete[head.Kind] = head.Complete !== '0';
    } else if (words.length === 3 && SWEEP_COLOURS[words[0]]) {
      (sweep.curves[words[0]] ||= []).push({ hz: Number(words[1]), swr: Number(words[2]) });
    }
  }
  drawSweep();
}

// "!sweep F=7000000 SWR=1.234 Kind=bare" as a sweep runs; "!sweep Done=…" or "Stopped=…" at its end.
// Returns true when the sweep has ended.
function sweepHeard(line) {
  const f = Object.fromEntries(line.trim().split(' ').slice(1).map(p => p.split('=')));
  if (!f.F) return true;
  const hz = Number(f.F);
  const [low, high] = [sweep.edges[0], sweep.edges[sweep.edges.length - 1]];
  if (!SWEEP_COLOURS[f.Kind] || !(hz >= low && hz <= high)) return false; // another band's
  if (!sweep.live) {
    sweep.curves = {};
    sweep.complete = {};
    sweep.live = true;
  }
  (sweep.curves[f.Kind] ||= []).push({ hz, swr: Number(f.SWR) });
  drawSweep();
  return false;
}

function sweepGeometry(canvas) {
  const width = canvas.clientWidth;
  const height = canvas.clientHeight;
  const plot = { left: 34, top: 22, right: width - 10, bottom: height - 20 };
  const [low, high] = [sweep.edges[0], sweep.edges[sweep.edges.length - 1]];
  return {
    width, height, plot,
    x: hz => plot.left + (plot.right - plot.left) * (hz - low) / (high - low),
    y: swr => plot.bottom - (plot.bottom - plot.top) *
      Math.log10(Math.min(Math.max(swr, 1), SWEEP_TOP)) / Math.log10(SWEEP_TOP),
  };
}

// layer: undefined for everything, 'drawing' for the lines and marks alone, or a word's index
// alone: what covers what can then be seen in the pixels.
function drawSweep(layer) {
  const canvas = $('sweep');
  if (!canvas || sweep.edges.length < 2) return 0;
  const all = layer === undefined;
  const drawing = all || layer === 'drawing';
  const ratio = window.devicePixelRatio || 1;
  canvas.width = Math.round(canvas.clientWidth * ratio);
  canvas.height = Math.round(canvas.clientHeight * ratio);
  const g = canvas.getContext('2d');
  g.setTransform(ratio, 0, 0, ratio, 0, 0);
  const style = getComputedStyle(document.body);
  const ink = style.color;
  const { width, height, plot, x, y } = sweepGeometry(canvas);
  g.clearRect(0, 0, width, height);
  g.font = '11px sans-serif';
  g.lineWidth = 1;
  g.strokeStyle = g.fillStyle = ink;
  // Every word goes through here: counted, drawn when its layer is asked for, and left out
  // where an optional one would touch one already there.
  const taken = [];
  let words = 0;
  const word = (text, at, top, align, optional) => {
    const w = g.measureText(text).width;
    const left = align === 'right' ? at - w : align === 'center' ? at - w / 2 : at;
    const box = { left: left - 2, right: left + w + 2, top: top - 1, bottom: top + 13 };
    if (optional && taken.some(b => b.left < box.right && box.left < b.right &&
                                    b.top < box.bottom && box.top < b.bottom)) return;
    taken.push(box);
    if (all || layer === words) {
      g.fillStyle = ink;
      g.textBaseline = 'top';
      g.textAlign = align;
      g.fillText(text, at, top);
    }
    ++words;
  };
  for (const swr of [1, 10, 1.5, 2, 3, 5]) {
    if (drawing) {
      g.globalAlpha = 0.3;
      g.beginPath(); g.moveTo(plot.left, y(swr)); g.lineTo(plot.right, y(swr)); g.stroke();
      g.globalAlpha = 1;
    }
    word(Number.isInteger(swr) ? String(swr) : num(swr, 1), plot.left - 4, y(swr) - 6, 'right',
         swr !== 1);
  }
  if (drawing) {
    sweep.edges.forEach((hz, i) => {
      g.setLineDash(i === 0 || i === sweep.edges.length - 1 ? [] : [4, 3]);
      g.beginPath(); g.moveTo(x(hz), plot.top); g.lineTo(x(hz), plot.bottom); g.stroke();
    });
    g.setLineDash([]);
  }
  word(num(sweep.edges[0] / 1e6, 3), plot.left, plot.bottom + 4, 'left', false);
  word(num(sweep.edges[sweep.edges.length - 1] / 1e6, 3), plot.right, plot.bottom + 4, 'right', true);
  word(t().range, (plot.left + plot.right) / 2, plot.bottom + 4, 'center', true);

  const said = [];
  const legend = [];
  Object.entries(sweep.curves).forEach(([kind, points], c) => {
    const colour = SWEEP_COLOURS[kind];
    const lowest = sweepMinimum(points);
    if (drawing) {
      g.save();
      g.beginPath();
      g.rect(plot.left, plot.top, plot.right - plot.left, plot.bottom - plot.top);
      g.clip();
      g.strokeStyle = colour;
      g.lineWidth = 2;
      g.beginPath();
      points.forEach((p, i) => (i ? g.lineTo(x(p.hz), y(p.swr)) : g.moveTo(x(p.hz), y(p.swr))));
      g.stroke();
      g.globalAlpha = 0.45;
      g.lineWidth = 4;
      for (const limit of [1.5, 2])
        for (const piece of sweepAllUnder(points, limit)) {
          g.beginPath();
          g.moveTo(x(piece.low), y(limit) + c * 5); g.lineTo(x(piece.high), y(limit) + c * 5);
          g.stroke();
        }
      g.restore();
      if (lowest) {
        const at = x(lowest.hz);
        g.fillStyle = colour;
        g.beginPath();
        g.moveTo(at - 5, plot.top - 11); g.lineTo(at + 5, plot.top - 11); g.lineTo(at, plot.top - 2);
        g.fill();
      }
    }
    if (!lowest) return;
    const facts = [t().lowest(num(lowest.swr, 2), num(lowest.hz / 1e6, 3))];
    for (const limit of [1.5, 2]) {
      const text = sweepWidthText(points, limit);
      if (text) facts.push(text);
    }
    const name = t().sweepKind[kind] + (sweep.complete[kind] === false ? t().stopped : '');
    legend.push({ colour, text: `${name}: ${facts.join('; ')}` });
    said.push(`${name}: ${facts.join('; ')}`);
  });
  if (sweep.pointed && drawing) {
    const p = sweep.pointed;
    g.strokeStyle = SWEEP_COLOURS[p.kind];
    g.lineWidth = 2;
    g.beginPath(); g.arc(x(p.hz), y(p.swr), 4, 0, 2 * Math.PI); g.stroke();
  }
  const empty = !Object.keys(sweep.curves).length;
  canvas.setAttribute('aria-label', empty ? t().noSweep : said.join('; '));
  if (all) {
    const list = $('sweepLegend');
    list.replaceChildren(...legend.map(item => {
      const li = document.createElement('li');
      const swatch = document.createElement('span');
      swatch.className = 'swatch';
      swatch.style.background = item.colour;
      swatch.setAttribute('aria-hidden', 'true');
      li.append(swatch, document.createTextNode(item.text));
      return li;
    }));
    $('sweepSaid').textContent = sweep.pointed
      ? `${num(sweep.pointed.hz / 1e6, 3)} ${t().range}: ${t().swr} ${num(sweep.pointed.swr, 2)} (${t().sweepKind[sweep.pointed.kind]})`
      : (empty ? t().noSweep : '');
  }
  return words;
}

// The point nearest the pointer, read out under the picture; a tap on a phone does the same.
function pointSweep(event) {
  const canvas = $('sweep');
  const box = canvas.getBoundingClientRect();
  const { x, y } = sweepGeometry(canvas);
  const px = event.clientX - box.left;
  const py = event.clientY - box.top;
  let best = Infinity;
  sweep.pointed = null;
  for (const [kind, points] of Object.entries(sweep.curves))
    for (const p of points) {
      const off = Math.abs(x(p.hz) - px) + Math.abs(y(p.swr) - py) / 4;
      if (off < best) { best = off; sweep.pointed = { kind, ...p }; }
    }
  drawSweep();
}

function watchSweepPointer() {
  const canvas = $('sweep');
  canvas.addEventListener('pointermove', pointSweep);
  canvas.addEventListener('pointerdown', pointSweep);
  canvas.addEventListener('pointerleave', () => { sweep.pointed = null; drawSweep(); });
  window.addEventListener('resize', () => drawSweep());
}
