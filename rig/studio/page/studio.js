// The studio page. The scene is kept here as its JSON document; every edit
// sends the whole document to the server, which reads it with the same
// scene reader as the command line, evaluates it through the module and
// answers with the report and the pictures (drawn by the program, never
// here). A refused document leaves the last good one in place.
'use strict';

const PARAMETERS = [
  // key, label, getter/setter path, slider range
  ['aim.angle', 'aim angle (°)', -180, 180, 0.1],
  ['aim.height', 'aim height', -10, 10, 0.01],
  ['projection_angles.0', 'projection angle X (°)', -60, 60, 0.1],
  ['projection_angles.1', 'projection angle Y (°)', -60, 60, 0.1],
  ['distance', 'distance', 0.1, 20, 0.01],
  ['field_of_view.0', 'field of view H (°)', 1, 179, 0.1],
  ['field_of_view.1', 'field of view V (°)', 1, 179, 0.1],
  ['keystone', 'keystone', -2, 2, 0.01],
  ['roll', 'roll (°)', -45, 45, 0.1],
];
const CAMERA = [
  ['position.0', 'position X', -20, 20, 0.01],
  ['position.1', 'position Y', -20, 20, 0.01],
  ['position.2', 'position Z', -20, 20, 0.01],
  ['aim.angle', 'aim angle (°)', -180, 180, 0.1],
  ['aim.height', 'aim height', -10, 10, 0.01],
  ['field_of_view.0', 'field of view H (°)', 1, 179, 0.1],
  ['field_of_view.1', 'field of view V (°)', 1, 179, 0.1],
];
const DEFAULTS = { projection_angles: [0, 0], keystone: 0, roll: 0 };
// The grid points of a calibration, projector image units, in shift order.
const GRID = [[0.5, 0], [1, 0], [1, 0.5], [1, 1], [0.5, 1], [0, 1], [0, 0.5], [0, 0]];
const SEARCHABLE = ['ProjLookatAngX', 'ProjLookatHeight', 'ProjectionAngX', 'ProjectionAngY', 'ProjDist',
  'ProjFovX', 'ProjFovY', 'ProjKeystone', 'ProjRoll'];

const $ = (id) => document.getElementById(id);
const studio = {
  doc: null, goodText: '', state: null, selected: 0,
  undo: [], redo: [], inFlight: false, pending: null,
  lastUpdateMs: 0, updates: 0, errors: 0,
};
window.studio = studio;

function get(obj, path) {
  let v = obj;
  for (const k of path.split('.')) {
    if (v === undefined || v === null) return undefined;
    v = v[k];
  }
  return v;
}
function set(obj, path, value) {
  const keys = path.split('.');
  let v = obj;
  for (let i = 0; i < keys.length - 1; i++) {
    if (v[keys[i]] === undefined) v[keys[i]] = JSON.parse(JSON.stringify(DEFAULTS[keys[i]] ?? {}));
    v = v[keys[i]];
  }
  v[keys[keys.length - 1]] = value;
}
function valueOf(obj, path) {
  const v = get(obj, path);
  if (v !== undefined) return v;
  return get(DEFAULTS, path);
}
const copy = (x) => JSON.parse(JSON.stringify(x));
const fmt = (x, d = 3) => (typeof x === 'number' && isFinite(x) ? String(+x.toFixed(d)) : String(x));

// --- talking to the server --------------------------------------------------

// Sends `doc`; `field` is the input that made the change (the message of a
// refusal goes beside it); `record` puts the previous state on the undo stack.
function commit(doc, { field = null, record = true } = {}) {
  if (studio.inFlight) {
    const r = studio.pending ? studio.pending.record || record : record;
    studio.pending = { doc, field, record: r };
    return;
  }
  send(doc, field, record);
}

async function send(doc, field, record) {
  studio.inFlight = true;
  const t0 = performance.now();
  const text = JSON.stringify(doc, null, 2);
  let answer, ok = false;
  try {
    const res = await fetch('/api/scene', { method: 'PUT', body: text, headers: { 'Content-Type': 'application/json' } });
    answer = await res.json();
    ok = res.ok;
    studio.answeredMs = performance.now() - t0;
  } catch (e) {
    answer = { error: { message: 'the studio does not answer: ' + e.message } };
  }
  if (ok) {
    if (record && text !== studio.goodText) { studio.undo.push(studio.goodText); studio.redo = []; }
    studio.doc = doc;
    studio.goodText = text;
    showError(null);
    const t1 = performance.now();
    render(answer);
    studio.renderMs = performance.now() - t1;
    await new Promise((r) => requestAnimationFrame(() => r()));
    studio.lastUpdateMs = performance.now() - t0;
    studio.updates++;
  } else {
    studio.errors++;
    const where = selectorOf(field);
    renderEditors();  // back to the last good values
    showError(answer.error, (where && document.querySelector(where)) || field);
  }
  studio.inFlight = false;
  if (studio.pending) {
    const p = studio.pending;
    studio.pending = null;
    send(p.doc, p.field, p.record);
  }
}

// A selector that finds the same field again after the editors are redrawn.
function selectorOf(el) {
  if (!el || !el.closest) return null;
  const box = el.closest('[id]');
  if (!box) return null;
  const row = el.closest('tr[data-index]');
  let attributes = '';
  for (const a of ['path', 'j', 'axis', 'search']) {
    if (el.dataset[a] !== undefined) attributes += `[data-${a}="${CSS.escape(el.dataset[a])}"]`;
  }
  if (el.id) return '#' + CSS.escape(el.id);
  if (!attributes) return null;
  return '#' + CSS.escape(box.id) + (row ? ` tr[data-index="${row.dataset.index}"]` : '') + ` ${el.tagName.toLowerCase()}${attributes}`;
}

function showError(error, field) {
  document.querySelectorAll('.field-error').forEach((e) => e.remove());
  const box = $('error');
  if (!error) { box.hidden = true; box.textContent = ''; return; }
  box.hidden = false;
  box.textContent = error.message;
  if (field && field.parentElement) {
    const note = document.createElement('div');
    note.className = 'field-error';
    note.textContent = error.message;
    field.parentElement.insertBefore(note, field.nextSibling);
  }
}

// --- rendering --------------------------------------------------------------

function render(state) {
  studio.state = state;
  $('scene-file').textContent = state.scene_file;
  setStatus(state);
  showPicture($('picture'), state.pictures.unrolled);
  if (state.pictures.plan) showPicture($('plan'), state.pictures.plan);
  else $('plan').innerHTML = '<p class="note">This build of the program draws no plan view yet.</p>';
  renderEditors();
  renderReports(state.report);
}

// Puts the SVG text `svg` into `box`, changing only what differs from the
// picture already there. A picture of 512 projectors holds some 6,000
// elements and an edit changes a few dozen of them; the browser then lays
// out and paints again only those, instead of the whole picture.
function showPicture(box, svg) {
  const parsed = document.createElement('template');
  parsed.innerHTML = svg;
  const fresh = parsed.content.querySelector('svg');
  const shown = box.firstElementChild;
  if (fresh && shown && shown.nodeName === fresh.nodeName && box.childNodes.length === 1) patchNode(shown, fresh);
  else box.replaceChildren(...(fresh ? [fresh] : parsed.content.childNodes));
}
// Makes `shown` equal to `fresh` (same name), child by child in order: a
// child of another kind or name, or with other attributes than before, is
// replaced whole; one whose attributes only have other values keeps its
// node and takes the values.
function patchNode(shown, fresh) {
  if (shown.nodeType !== Node.ELEMENT_NODE) {
    if (shown.nodeValue !== fresh.nodeValue) shown.nodeValue = fresh.nodeValue;
    return;
  }
  const fa = fresh.attributes, sa = shown.attributes;
  let sameNames = fa.length === sa.length;
  for (let i = 0; sameNames && i < fa.length; i++) sameNames = fa[i].name === sa[i].name;
  if (!sameNames) {
    shown.replaceWith(fresh);
    return;
  }
  for (let i = 0; i < fa.length; i++) if (sa[i].value !== fa[i].value) sa[i].value = fa[i].value;
  let o = shown.firstChild, n = fresh.firstChild;
  while (n) {
    const nextO = o && o.nextSibling, nextN = n.nextSibling;
    if (o && o.nodeType === n.nodeType && o.nodeName === n.nodeName) patchNode(o, n);
    else if (o) shown.replaceChild(n, o);
    else shown.appendChild(n);
    o = nextO;
    n = nextN;
  }
  while (o) {
    const next = o.nextSibling;
    o.remove();
    o = next;
  }
}

function setStatus(s) {
  const st = $('status');
  st.textContent = `revision ${s.revision} · ${s.unsaved ? 'unsaved changes' : 'saved'} · evaluated in ${fmt(s.evaluation_ms, 1)} ms` +
    ` · calibration runs ${s.calibration_runs}`;
  st.className = s.unsaved ? 'unsaved' : '';
  studio.unsaved = s.unsaved;
}

function numberField(container, label, value, onChange, [min, max, step]) {
  const l = document.createElement('label');
  l.textContent = label;
  const range = document.createElement('input');
  range.type = 'range'; range.min = min; range.max = max; range.step = step; range.value = value;
  const num = document.createElement('input');
  num.type = 'number'; num.step = step; num.value = value;
  num.setAttribute('aria-label', label);
  range.addEventListener('input', () => { num.value = range.value; onChange(+range.value, num, true); });
  range.addEventListener('change', () => onChange(+range.value, num, false));
  num.addEventListener('change', () => onChange(num.value === '' ? NaN : +num.value, num, false));
  container.append(l, range, num);
  return num;
}

// Sliders send while moving, one undo step per gesture.
let sliding = false;
function edit(mutate, field, moving) {
  const doc = copy(studio.doc);
  mutate(doc);
  commit(doc, { field, record: !sliding });
  sliding = moving;
}

function renderEditors() {
  const doc = studio.doc;
  const cam = $('camera');
  cam.innerHTML = '';
  for (const [path, label, min, max, step] of CAMERA) {
    const f = numberField(cam, label, valueOf(doc.camera, path), (v, el, moving) =>
      edit((d) => set(d.camera, path, v), el, moving), [min, max, step]);
    f.dataset.path = 'camera.' + path;
  }
  studio.selected = Math.min(studio.selected, doc.projectors.length - 1);
  const p = doc.projectors[studio.selected];
  $('selected-name').textContent = p ? p.name : '';
  const pe = $('projector');
  pe.innerHTML = '';
  if (p) {
    for (const [path, label, min, max, step] of PARAMETERS) {
      const f = numberField(pe, label, valueOf(p, path), (v, el, moving) =>
        edit((d) => set(d.projectors[studio.selected], path, v), el, moving), [min, max, step]);
      f.dataset.path = 'projector.' + path;
    }
  }
  renderProjectorTable();
  renderCalibration();
}

function renderProjectorTable() {
  const doc = studio.doc;
  const header = '<tr><th>name</th>' + PARAMETERS.map((p) => `<th>${p[1]}</th>`).join('') + '</tr>';
  const row = (i) => `<tr data-index="${i}"><td><input type="text" data-path="name"></td>` +
    PARAMETERS.map((q) => `<td><input type="number" step="${q[4]}" data-path="${q[0]}"></td>`).join('') + '</tr>';
  // The rows are made again only when the projectors' names change or the
  // rows in view do; otherwise the values are written into the inputs in
  // place, so that a field being typed in keeps its focus.
  longTable($('projectors'), header, doc.projectors.length, row, doc.projectors.map((p) => p.name).join('\n'), (tr, i) => {
    tr.classList.toggle('selected', i === studio.selected);
    for (const input of tr.querySelectorAll('input')) {
      if (input === document.activeElement) continue;
      const v = input.dataset.path === 'name' ? doc.projectors[i].name : valueOf(doc.projectors[i], input.dataset.path);
      input.value = v;
    }
  });
}

$('projectors').addEventListener('change', (e) => {
  const input = e.target;
  const row = input.closest('tr');
  if (!row || row.dataset.index === undefined) return;
  const i = +row.dataset.index;
  const path = input.dataset.path;
  edit((d) => {
    if (path === 'name') {
      const old = d.projectors[i].name;
      d.projectors[i].name = input.value;
      for (const c of d.calibrations || []) if (c.projector === old) c.projector = input.value;
    } else {
      set(d.projectors[i], path, input.value === '' ? NaN : +input.value);
    }
  }, input, false);
});
$('projectors').addEventListener('focusin', (e) => {
  const row = e.target.closest('tr');
  if (row && row.dataset.index !== undefined && +row.dataset.index !== studio.selected) {
    studio.selected = +row.dataset.index;
    renderEditorsKeepingTable();
  }
});
function renderEditorsKeepingTable() {
  const focused = document.activeElement;
  renderEditors();
  if (focused && document.contains(focused)) focused.focus();
}

// --- long tables: only the rows in view are in the page --------------------

// A table of hundreds of rows costs the browser a layout of every one of them
// after each edit. In its box of fixed height (`.scroll`) a long table holds
// only the rows in view and a few beyond, with one empty row above and one
// below keeping the scroll height; scrolling makes the rows that come into
// view. Every row is ROW pixels tall (the stylesheet holds it there).
const ROW = 24, VIEW = 360, SPARE = 6;

// Shows rows 0..count-1 of a table in `box`: `header` the <tr> of its head,
// `rowHtml(i)` the <tr> of row i. With a `key` (a text that changes whenever
// the rows' structure does) the rows are kept while the key and the rows in
// view stay the same, and `fill(tr, i)` writes each kept row's values;
// without one the rows are made anew each time.
function longTable(box, header, count, rowHtml, key = null, fill = null) {
  if (!box.long) {
    box.long = { top: 0 };
    box.addEventListener('scroll', () => {
      const t = box.long;
      t.top = box.scrollTop;
      const w = rowsInView(t);
      if (w.first !== t.first || w.last !== t.last) drawLongTable(box, true);
    }, { passive: true });
  }
  const t = box.long;
  const same = key !== null && key === t.key && count === t.count;
  Object.assign(t, { header, count, rowHtml, key, fill });
  drawLongTable(box, !same);
}
function rowsInView(t) {
  const first = Math.max(0, Math.min(t.count, Math.floor(t.top / ROW) - SPARE));
  return { first, last: Math.min(t.count, first + Math.ceil(VIEW / ROW) + 2 * SPARE) };
}
function drawLongTable(box, remake) {
  const t = box.long;
  const { first, last } = rowsInView(t);
  if (remake || first !== t.first || last !== t.last) {
    const focused = document.activeElement && box.contains(document.activeElement) ? selectorOf(document.activeElement) : null;
    t.first = first; t.last = last;
    const spacer = (n) => (n > 0 ? `<tr class="spacer"><td colspan="99" style="height:${n * ROW}px"></td></tr>` : '');
    let rows = '';
    for (let i = first; i < last; i++) rows += t.rowHtml(i);
    box.innerHTML = `<table><thead>${t.header}</thead><tbody>${spacer(first)}${rows}${spacer(t.count - last)}</tbody></table>`;
    const again = focused && box.querySelector(focused);
    if (again) again.focus({ preventScroll: true });
  }
  if (t.fill) {
    const rows = box.querySelectorAll('tbody tr:not(.spacer)');
    for (let k = 0; k < rows.length; k++) t.fill(rows[k], first + k);
  }
}
function reportTable(box, header, rows, cells) {
  box.hidden = rows.length === 0;
  longTable(box, '<tr>' + header.map((h) => `<th>${h}</th>`).join('') + '</tr>', rows.length,
    (i) => '<tr>' + cells(rows[i]).map((c) => `<td>${escapeHtml(String(c))}</td>`).join('') + '</tr>');
}

function table(header, rows) {
  return '<table><thead><tr>' + header.map((h) => `<th>${h}</th>`).join('') + '</tr></thead><tbody>' +
    rows.map((r) => '<tr>' + r.map((c) => `<td>${escapeHtml(String(c))}</td>`).join('') + '</tr>').join('') +
    '</tbody></table>';
}
function escapeHtml(s) {
  return s.replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' }[c]));
}
const vec = (v) => v.map((x) => fmt(x)).join(', ');

function renderReports(r) {
  const box = $('reports');
  if (!box.firstChild) {
    box.innerHTML = '<h3>Positions and footprints</h3><div class="scroll" id="report-positions"></div>' +
      '<div id="report-coverage"><h3>Coverage and seams</h3><div id="report-covered"></div>' +
      '<div class="scroll" id="report-overlaps"></div><div class="scroll" id="report-gaps"></div></div>' +
      '<h3>Eye</h3><div id="report-eye"></div>' +
      '<p class="note" id="report-eye-note">The footprints span 180° or more: one eye cannot frame them; see the per-projector frusta.</p>';
  }
  reportTable($('report-positions'),
    ['projector', 'position', 'aim point', 'angles (°)', 'heights', 'frustum yaw', 'pitch', 'left', 'right', 'down', 'up'],
    r.projectors, (p) => [p.name, vec(p.position), vec(p.look_at), vec(p.footprint.angle), vec(p.footprint.height),
      fmt(p.frustum.yaw, 2), fmt(p.frustum.pitch, 2), fmt(p.frustum.left, 2), fmt(p.frustum.right, 2),
      fmt(p.frustum.down, 2), fmt(p.frustum.up, 2)]);
  const c = r.coverage;
  $('report-coverage').hidden = !c;
  if (c) {
    $('report-covered').innerHTML = table(['covered', 'of the area', 'uncovered'],
      [[fmt(c.covered_size), fmt(c.area_size), fmt(c.uncovered_size)]]);
    reportTable($('report-overlaps'), ['overlap', 'area', 'narrowest (°)', 'widest (°)'], c.overlaps, (o) =>
      [`${o.first} – ${o.second}`, fmt(o.area), fmt(o.min_width_degrees, 2), fmt(o.max_width_degrees, 2)]);
    reportTable($('report-gaps'), ['gap', 'width', 'width (°)'], c.gaps, (g) =>
      [`${g.first} – ${g.second}`, fmt(g.width), fmt(g.width_degrees, 2)]);
  }
  const e = r.eye;
  $('report-eye').innerHTML = table(['look-at', 'field of view', 'yaw', 'pitch', 'left', 'right', 'down', 'up', 'footprint span (°)'],
    [[vec(e.look_at), vec(e.field_of_view), fmt(e.frustum.yaw, 2), fmt(e.frustum.pitch, 2), fmt(e.frustum.left, 2),
      fmt(e.frustum.right, 2), fmt(e.frustum.down, 2), fmt(e.frustum.up, 2), fmt(e.footprint_span, 2)]]);
  $('report-eye-note').hidden = !e.one_eye_cannot_frame;
}

// --- the unrolled picture: dragging a footprint ---------------------------

// One listener for the box: the picture is replaced after every edit, the
// box is not.
let drag = null;
$('picture').addEventListener('pointerdown', (ev) => {
  const poly = ev.target.closest && ev.target.closest('polygon[id^="footprint-"]');
  if (!poly) return;
  const i = +poly.id.slice('footprint-'.length);
  const p = studio.state.report.projectors[i];
  if (!p) return;
  ev.preventDefault();
  // Screen pixels per degree and per unit of height, from the footprint's
  // drawn size against its extent in the report.
  const box = poly.getBoundingClientRect();
  const da = p.footprint.angle[1] - p.footprint.angle[0];
  const dh = p.footprint.height[1] - p.footprint.height[0];
  if (!(da > 0 && dh > 0)) return;
  const pr = studio.doc.projectors[i];
  drag = { i, x: ev.clientX, y: ev.clientY, kx: box.width / da, ky: box.height / dh,
    angle: valueOf(pr, 'aim.angle'), height: valueOf(pr, 'aim.height'), first: true };
  if (studio.selected !== i) { studio.selected = i; renderEditors(); }
});
window.addEventListener('pointermove', (ev) => {
  if (!drag) return;
  const angle = Math.round((drag.angle + (ev.clientX - drag.x) / drag.kx) * 100) / 100;
  const height = Math.round((drag.height - (ev.clientY - drag.y) / drag.ky) * 1000) / 1000;
  const doc = copy(studio.doc);
  set(doc.projectors[drag.i], 'aim.angle', angle);
  set(doc.projectors[drag.i], 'aim.height', height);
  commit(doc, { record: drag.first });
  drag.first = false;
});
window.addEventListener('pointerup', () => { drag = null; calibDrag = null; sliding = false; });

// --- calibration ------------------------------------------------------------

const CAL = { w: 300, h: 190, m: 60 };  // the projector image drawn at w x h pixels
let calibDrag = null;

function calibrationOf(doc, name) {
  return (doc.calibrations || []).findIndex((c) => c.projector === name);
}

function renderCalibration() {
  const box = $('calibration');
  const doc = studio.doc;
  const p = doc.projectors[studio.selected];
  if (!p) { box.innerHTML = ''; return; }
  const k = calibrationOf(doc, p.name);
  if (k < 0) {
    box.innerHTML = `<p class="note">No calibration of ${escapeHtml(p.name)}.</p><button id="add-calibration">Add a calibration</button>`;
    $('add-calibration').onclick = () => edit((d) => {
      d.calibrations = d.calibrations || [];
      d.calibrations.push({ projector: p.name, shifts: GRID.map(() => [0, 0]), search: ['ProjLookatAngX', 'ProjLookatHeight'] });
    }, null, false);
    return;
  }
  const c = doc.calibrations[k];
  if (!c.shifts) {
    box.innerHTML = '<p class="note">This calibration gives camera points, not shifts: edit them in the scene file.</p>';
    return;
  }
  const X = (u) => CAL.m + u * CAL.w, Y = (v) => CAL.m + v * CAL.h;
  let svg = `<svg id="calib-image" width="${CAL.w + 2 * CAL.m}" height="${CAL.h + 2 * CAL.m}" xmlns="http://www.w3.org/2000/svg">` +
    `<rect x="${CAL.m}" y="${CAL.m}" width="${CAL.w}" height="${CAL.h}" fill="#f4f4f4" stroke="#888"/>`;
  GRID.forEach(([u, v], j) => {
    const [du, dv] = c.shifts[j];
    svg += `<line x1="${X(u)}" y1="${Y(v)}" x2="${X(u + du)}" y2="${Y(v + dv)}" stroke="#d33"/>` +
      `<circle cx="${X(u)}" cy="${Y(v)}" r="5" fill="none" stroke="#444"/>` +
      `<circle class="measured" id="calib-point-${j}" data-j="${j}" cx="${X(u + du)}" cy="${Y(v + dv)}" r="6" fill="#d33" fill-opacity="0.8"/>` +
      `<text x="${X(u) + 7}" y="${Y(v) - 7}" font-size="11">${j}</text>`;
  });
  svg += '</svg>';
  let html = `<p class="note">The projector's image: hollow circles are the grid points, red where the camera saw them (drag them, or type the shifts).</p>${svg}`;
  html += '<table id="calib-shifts"><thead><tr><th>point</th><th>du</th><th>dv</th></tr></thead><tbody>' +
    c.shifts.map((s, j) => `<tr><td>${j}</td><td><input type="number" step="0.001" data-j="${j}" data-axis="0" value="${s[0]}"></td>` +
      `<td><input type="number" step="0.001" data-j="${j}" data-axis="1" value="${s[1]}"></td></tr>`).join('') + '</tbody></table>';
  html += '<p>Search: ' + SEARCHABLE.map((n) =>
    `<label><input type="checkbox" data-search="${n}" ${c.search.includes(n) ? 'checked' : ''}>${n}</label>`).join(' ') + '</p>';
  html += '<div id="calib-report"></div>';
  box.innerHTML = html;
  box.querySelectorAll('input[data-axis]').forEach((input) => input.addEventListener('change', () => edit((d) => {
    d.calibrations[k].shifts[+input.dataset.j][+input.dataset.axis] = input.value === '' ? NaN : +input.value;
  }, input, false)));
  box.querySelectorAll('input[data-search]').forEach((input) => input.addEventListener('change', () => edit((d) => {
    const s = new Set(d.calibrations[k].search);
    if (input.checked) s.add(input.dataset.search); else s.delete(input.dataset.search);
    d.calibrations[k].search = SEARCHABLE.filter((n) => s.has(n));
  }, input, false)));
  box.querySelectorAll('#calib-image .measured').forEach((dot) => dot.addEventListener('pointerdown', (ev) => {
    ev.preventDefault();
    const j = +dot.dataset.j;
    calibDrag = { k, j, x: ev.clientX, y: ev.clientY, s: c.shifts[j].slice(), first: true };
  }));
  renderCalibrationReport(p.name);
}
window.addEventListener('pointermove', (ev) => {
  if (!calibDrag) return;
  const img = $('calib-image');
  const scale = img ? img.getBoundingClientRect().width / (CAL.w + 2 * CAL.m) : 1;
  const du = Math.round((calibDrag.s[0] + (ev.clientX - calibDrag.x) / scale / CAL.w) * 1e5) / 1e5;
  const dv = Math.round((calibDrag.s[1] + (ev.clientY - calibDrag.y) / scale / CAL.h) * 1e5) / 1e5;
  const doc = copy(studio.doc);
  doc.calibrations[calibDrag.k].shifts[calibDrag.j] = [du, dv];
  commit(doc, { record: calibDrag.first });
  calibDrag.first = false;
});

function renderCalibrationReport(name) {
  const out = $('calib-report');
  const r = studio.state && studio.state.report.calibrations.find((c) => c.projector === name);
  if (!out || !r) return;
  let html = table(['', 'error', 'RMS', 'max'], [
    ['start', fmt(r.before.error, 6), fmt(r.before.rms, 5), fmt(r.before.max, 5)],
    ['module fit', fmt(r.after.error, 6), fmt(r.after.rms, 5), fmt(r.after.max, 5)],
  ].concat(r.refinement ? [['refined', fmt(r.refinement.error, 8), fmt(r.refinement.residuals.rms, 6), fmt(r.refinement.residuals.max, 6)]] : []));
  const names = r.search;
  html += table(['parameter', 'start', 'module fit', 'refined', 'std. dev.', 'of range'], names.map((n) => {
    const i = SEARCHABLE.indexOf(n);
    const cert = r.refinement && r.refinement.certainty.parameters[n];
    return [n, fmt(r.start[i] ?? r.start[n]), fmt(r.fitted[i] ?? r.fitted[n]),
      r.refinement ? fmt(r.refinement.values[i] ?? r.refinement.values[n]) : '',
      cert ? fmt(cert.standard_deviation, 4) : '', cert ? fmt(100 * cert.share_of_range, 1) + ' %' : ''];
  }));
  for (const w of r.warnings) html += `<p class="note">${escapeHtml(w.parameter)} ended within a scan step of its ${w.bound}: the truth may lie outside the range.</p>`;
  if (r.refinement) for (const p of r.refinement.certainty.inseparable) {
    html += `<p class="note">${escapeHtml(p.parameters.join(' and '))} correlate at ${fmt(p.correlation, 3)}: the points cannot tell them apart.</p>`;
  }
  out.innerHTML = html;
}

// --- tools ------------------------------------------------------------------

function uniqueName(doc, base) {
  const names = new Set(doc.projectors.map((p) => p.name));
  if (!names.has(base)) return base;
  for (let n = 2; ; n++) if (!names.has(`${base} ${n}`)) return `${base} ${n}`;
}
$('add').onclick = () => edit((d) => {
  const last = d.projectors[d.projectors.length - 1];
  const p = copy(last);
  p.name = uniqueName(d, 'P' + (d.projectors.length + 1));
  set(p, 'aim.angle', Math.round((valueOf(last, 'aim.angle') + 20) * 100) / 100);
  d.projectors.push(p);
  studio.selected = d.projectors.length - 1;
}, null, false);
$('duplicate').onclick = () => edit((d) => {
  const src = d.projectors[studio.selected];
  const p = copy(src);
  p.name = uniqueName(d, src.name + ' copy');
  set(p, 'aim.angle', Math.round((valueOf(src, 'aim.angle') + 10) * 100) / 100);
  d.projectors.splice(studio.selected + 1, 0, p);
  studio.selected += 1;
}, null, false);
$('remove').onclick = () => edit((d) => {
  const [gone] = d.projectors.splice(studio.selected, 1);
  if (d.calibrations) {
    d.calibrations = d.calibrations.filter((c) => c.projector !== gone.name);
    if (!d.calibrations.length) delete d.calibrations;
  }
}, $('remove'), false);

function restore(text) {
  commit(JSON.parse(text), { record: false });
}
function undo() {
  if (!studio.undo.length || studio.inFlight) return;
  studio.redo.push(studio.goodText);
  restore(studio.undo.pop());
}
function redo() {
  if (!studio.redo.length || studio.inFlight) return;
  studio.undo.push(studio.goodText);
  restore(studio.redo.pop());
}
$('undo').onclick = undo;
$('redo').onclick = redo;
window.addEventListener('keydown', (e) => {
  if (!(e.ctrlKey || e.metaKey) || e.target.matches('input[type="text"], input[type="number"]')) return;
  if (e.key === 'z') { e.preventDefault(); undo(); }
  if (e.key === 'y') { e.preventDefault(); redo(); }
});

$('save').onclick = async () => {
  const res = await fetch('/api/save', { method: 'POST' });
  const answer = await res.json();
  if (res.ok) { setStatus(answer); showError(null); } else showError(answer.error);
};

function download(name, text, type) {
  const a = document.createElement('a');
  a.href = URL.createObjectURL(new Blob([text], { type }));
  a.download = name;
  a.click();
  setTimeout(() => URL.revokeObjectURL(a.href), 1000);
}
const stem = () => (studio.state.scene_file || 'scene.json').replace(/\.json$/, '');
$('download-scene').onclick = () => download(studio.state.scene_file, studio.goodText + '\n', 'application/json');
$('download-svg').onclick = () => download(stem() + '.svg', studio.state.pictures.unrolled, 'image/svg+xml');
$('download-plan').onclick = () => {
  if (studio.state.pictures.plan) download(stem() + '-plan.svg', studio.state.pictures.plan, 'image/svg+xml');
};

window.addEventListener('beforeunload', (e) => {
  if (studio.unsaved) { e.preventDefault(); e.returnValue = ''; }
});

// --- start --------------------------------------------------------------------

(async () => {
  const state = await (await fetch('/api/state')).json();
  studio.doc = JSON.parse(state.scene);
  studio.goodText = JSON.stringify(studio.doc, null, 2);
  render(state);
  document.body.dataset.ready = '1';
})();
