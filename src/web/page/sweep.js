// The last SWR sweep of the antenna and band on a canvas, drawn as the console's window draws
// it: a logarithmic SWR axis from 1 to 10, each curve's minimum marked above the plot, its
// stretches under 1.5 and 2.0 with their widths, the band's and sub-bands' edges.
'use strict';

const SWEEP_TOP = 10;
const SWEEP_COLOURS = { bare: '#d66000', tuned: '#005ac8' };
const sweep = { curves: {}, edges: [], live: false, pointed: null };

// The points of one kind under a limit around the minimum, ends where the lines cross it.
function sweepUnder(points, limit) {
  let at = -1;
  points.forEach((p, i) => { if (at < 0 || p.swr < points[at].swr) at = i; });
  if (at < 0 || points[at].swr >= limit) return null;
  const cross = (a, b) => a.hz + (limit - a.swr) / (b.swr - a.swr) * (b.hz - a.hz);
  let low = at;
  while (low > 0 && points[low - 1].swr < limit) --low;
  let high = at;
  while (high + 1 < points.length && points[high + 1].swr < limit) ++high;
  return {
    low: low > 0 ? cross(points[low], points[low - 1]) : points[low].hz,
    high: high + 1 < points.length ? cross(points[high], points[high + 1]) : points[high].hz,
  };
}

function sweepMinimum(points) {
  return points.reduce((best, p) => (!best || p.swr < best.swr ? p : best), null);
}

// "Kind=bare Started=…" heads and "bare 7000000 1.234" points: the reply of \get_sweep.
function sweepFromReply(text) {
  sweep.curves = {};
  sweep.live = false;
  for (const line of text.split('\n')) {
    const words = line.trim().split(' ');
    if (words.length === 3 && SWEEP_COLOURS[words[0]])
      (sweep.curves[words[0]] ||= []).push({ hz: Number(words[1]), swr: Number(words[2]) });
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

function drawSweep() {
  const canvas = $('sweep');
  if (!canvas || sweep.edges.length < 2) return;
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
  g.textBaseline = 'middle';
  for (const swr of [1, 1.5, 2, 3, 5, 10]) {
    g.globalAlpha = 0.3;
    g.beginPath(); g.moveTo(plot.left, y(swr)); g.lineTo(plot.right, y(swr)); g.stroke();
    g.globalAlpha = 1;
    g.textAlign = 'right';
    g.fillText(String(swr).replace('.', lang === 'ru' ? ',' : '.'), plot.left - 4, y(swr));
  }
  sweep.edges.forEach((hz, i) => {
    g.setLineDash(i === 0 || i === sweep.edges.length - 1 ? [] : [4, 3]);
    g.beginPath(); g.moveTo(x(hz), plot.top); g.lineTo(x(hz), plot.bottom); g.stroke();
  });
  g.setLineDash([]);
  g.textBaseline = 'top';
  g.textAlign = 'left';
  g.fillText((sweep.edges[0] / 1e6).toFixed(3), plot.left, plot.bottom + 4);
  g.textAlign = 'right';
  g.fillText((sweep.edges[sweep.edges.length - 1] / 1e6).toFixed(3), plot.right, plot.bottom + 4);
  g.textAlign = 'center';
  g.fillText(t().range, (plot.left + plot.right) / 2, plot.bottom + 4);

  const said = [];
  Object.entries(sweep.curves).forEach(([kind, points], c) => {
    const colour = SWEEP_COLOURS[kind];
    g.save();
    g.beginPath();
    g.rect(plot.left, plot.top, plot.right - plot.left, plot.bottom - plot.top);
    g.clip();
    g.strokeStyle = colour;
    g.lineWidth = 2;
    g.beginPath();
    points.forEach((p, i) => (i ? g.lineTo(x(p.hz), y(p.swr)) : g.moveTo(x(p.hz), y(p.swr))));
    g.stroke();
    let words = '';
    g.textBaseline = 'bottom';
    for (const limit of [1.5, 2]) {
      const stretch = sweepUnder(points, limit);
      if (!stretch) continue;
      const kHz = Math.round((stretch.high - stretch.low) / 1e3);
      g.globalAlpha = 0.45;
      g.lineWidth = 4;
      g.beginPath();
      g.moveTo(x(stretch.low), y(limit) + c * 5); g.lineTo(x(stretch.high), y(limit) + c * 5);
      g.stroke();
      g.globalAlpha = 1;
      g.fillStyle = colour;
      g.fillText(`< ${limit}: ${kHz} ${t().kHz}`, (x(stretch.low) + x(stretch.high)) / 2, y(limit) - 2 - c * 13);
      words += `, < ${limit}: ${kHz} ${t().kHz}`;
    }
    g.restore();
    const lowest = sweepMinimum(points);
    if (!lowest) return;
    const at = x(lowest.hz);
    g.fillStyle = colour;
    g.beginPath();
    g.moveTo(at - 5, plot.top - 11); g.lineTo(at + 5, plot.top - 11); g.lineTo(at, plot.top - 2);
    g.fill();
    g.textAlign = at > (plot.left + plot.right) / 2 ? 'right' : 'left';
    g.textBaseline = 'bottom';
    const mhz = (lowest.hz / 1e6).toFixed(3);
    g.fillText(`${mhz}, ${lowest.swr.toFixed(2)}`, at + (g.textAlign === 'left' ? 6 : -6), y(lowest.swr) - 2 - c * 13);
    said.push(`${t().sweepKind[kind]}: ${t().swr} ${lowest.swr.toFixed(2)} @ ${mhz} ${t().range}${words}`);
  });
  if (sweep.pointed) {
    const p = sweep.pointed;
    g.strokeStyle = SWEEP_COLOURS[p.kind];
    g.lineWidth = 2;
    g.beginPath(); g.arc(x(p.hz), y(p.swr), 4, 0, 2 * Math.PI); g.stroke();
  }
  const empty = !Object.keys(sweep.curves).length;
  canvas.setAttribute('aria-label', empty ? t().noSweep : said.join('; '));
  $('sweepSaid').textContent = sweep.pointed
    ? `${(sweep.pointed.hz / 1e6).toFixed(3)} ${t().range}: ${t().swr} ${sweep.pointed.swr.toFixed(2)} (${t().sweepKind[sweep.pointed.kind]})`
    : (empty ? t().noSweep : said.join('; '));
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
  window.addEventListener('resize', drawSweep);
}
