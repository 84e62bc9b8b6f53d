// vistrel-rig serve's JSON API at process level: the program started on a
// free loopback port, spoken to over HTTP as a script would.
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { startStudio, request, runRig, EXAMPLE } = require('./StudioProcess.js');

const example = fs.readFileSync(EXAMPLE, 'utf8');
const withAim = (text, name, angle) => {
  const doc = JSON.parse(text);
  doc.projectors.find((p) => p.name === name).aim.angle = angle;
  return JSON.stringify(doc, null, 2);
};

test('the scene read and replaced gives the report the command line gives', async () => {
  const studio = await startStudio(example);
  try {
    const read = await studio.request('GET', '/api/scene');
    assert.equal(read.text, example);
    const changed = withAim(example, 'A', -52.5);
    const put = await studio.request('PUT', '/api/scene', changed);
    assert.equal(put.status, 200);
    assert.equal(put.json.unsaved, true);
    assert.equal((await studio.request('GET', '/api/scene')).text, changed);
    // The command line on the same scene is the independent account.
    fs.writeFileSync(path.join(studio.dir, 'changed.json'), changed);
    const cli = runRig(['run', 'changed.json', '--json', '--refine'], studio.dir);
    assert.equal(cli.status, 0, cli.err);
    assert.deepEqual((await studio.request('GET', '/api/report')).json, JSON.parse(cli.out));
    assert.deepEqual(put.json.report, JSON.parse(cli.out));
    const svg = await studio.request('GET', '/api/picture/unrolled.svg');
    assert.match(svg.type, /^image\/svg\+xml/);
    assert.match(svg.text, /id="footprint-0"/);
  } finally {
    await studio.stop();
  }
});

test('a refused scene answers the command line\'s message with its position and keeps the last good one', async () => {
  const studio = await startStudio(example);
  try {
    const bad = example.replace('"radius": 4.0', '"radius": -4.0');
    fs.writeFileSync(path.join(studio.dir, 'scene.json'), bad);
    const cli = runRig(['run', 'scene.json'], studio.dir);
    assert.equal(cli.status, 1);
    const put = await studio.request('PUT', '/api/scene', bad);
    assert.equal(put.status, 422);
    // The reader points at the key of the refused value: line 2.
    assert.equal(put.json.error.line, 2);
    assert.equal(put.json.error.column, bad.split('\n')[1].indexOf('"radius"') + 1);
    assert.equal('vistrel-rig: ' + put.json.error.message + '\n', cli.err);
    assert.equal((await studio.request('GET', '/api/scene')).text, example);
    const syntax = await studio.request('PUT', '/api/scene', '{"screen": ');
    assert.equal(syntax.status, 422);
    assert.equal(syntax.json.error.line, 1);
  } finally {
    await studio.stop();
  }
});

test('requests outside the limits are refused', async () => {
  const studio = await startStudio(example);
  const p = studio.port;
  try {
    const cases = [
      ['body of 1 MB and one byte', 'PUT', '/api/scene', ' '.repeat((1 << 20) + 1), {}, 413],
      ['body of 1 MB', 'PUT', '/api/scene', example + ' '.repeat((1 << 20) - example.length), {}, 200],
      ['a foreign name', 'GET', '/api/scene', undefined, { Host: `rebound.example:${p}` }, 403],
      ['a name ending in ours', 'GET', '/api/scene', undefined, { Host: `127.0.0.1.evil:${p}` }, 403],
      ['another port', 'GET', '/api/scene', undefined, { Host: `127.0.0.1:${p + 1}` }, 403],
      ['no port', 'GET', '/api/scene', undefined, { Host: '127.0.0.1' }, 403],
      ['localhost', 'GET', '/api/scene', undefined, { Host: `localhost:${p}` }, 200],
      ['a save from a foreign name', 'POST', '/api/save', undefined, { Host: `rebound.example:${p}` }, 403],
      ['a path up', 'GET', '/../etc/passwd', undefined, {}, 404],
      ['a path up, encoded', 'GET', '/%2e%2e/%2e%2e/etc/passwd', undefined, {}, 404],
      ['a source file of the page', 'GET', '/rig/studio/page/studio.js', undefined, {}, 404],
      ['the scene file', 'GET', '/scene.json', undefined, {}, 404],
      ['an asset', 'GET', '/studio.js', undefined, {}, 200],
      ['the page', 'GET', '/', undefined, {}, 200],
    ];
    for (const [what, method, where, body, headers, status] of cases) {
      const r = await studio.request(method, where, body, headers);
      assert.equal(r.status, status, what);
    }
    assert.equal(fs.readFileSync(studio.scene, 'utf8'), example, 'nothing saved');
    assert.equal(fs.existsSync(studio.scene + '~'), false);
  } finally {
    await studio.stop();
  }
});

test('a calibration runs once per change of its inputs', async () => {
  const studio = await startStudio(example);
  try {
    const runs = async () => (await studio.request('GET', '/api/status')).json.calibration_runs;
    assert.equal(await runs(), 1);
    const doc = JSON.parse(example);
    const steps = [
      ['another projector moved', (d) => { d.projectors[0].aim.angle = -50; }, 1],
      ['a shift changed', (d) => { d.calibrations[0].shifts[2][0] = 0.09; }, 2],
      ['the calibrated projector moved', (d) => { d.projectors[1].aim.height = 1.45; }, 3],
      ['back to the first shift', (d) => { d.calibrations[0].shifts[2][0] = 0.0871; d.projectors[1].aim.height = 1.4; }, 3],
    ];
    for (const [what, change, expected] of steps) {
      change(doc);
      assert.equal((await studio.request('PUT', '/api/scene', JSON.stringify(doc))).status, 200, what);
      assert.equal(await runs(), expected, what);
    }
  } finally {
    await studio.stop();
  }
});

test('concurrent requests each see one whole evaluation', async () => {
  const studio = await startStudio(example);
  try {
    const angles = [-60, -58, -56, -54, -52, -50, -49, -47];
    const puts = angles.map((a) => studio.request('PUT', '/api/scene', withAim(example, 'A', a)));
    const gets = angles.map(() => studio.request('GET', '/api/state'));
    const answers = await Promise.all([...puts, ...gets]);
    for (const a of answers) assert.equal(a.status, 200);
    // Every state read holds a report of the scene it came with.
    for (const a of answers.slice(angles.length)) {
      const scene = JSON.parse(a.json.scene);
      assert.equal(a.json.report.projectors[0].parameters.ProjLookatAngX,
        scene.projectors[0].aim.angle);
    }
    const revisions = answers.slice(0, angles.length).map((a) => a.json.revision).sort((x, y) => x - y);
    assert.deepEqual(revisions, angles.map((_, i) => i + 2));
  } finally {
    await studio.stop();
  }
});

test('Save writes only the scene, keeping the previous one as SCENE~; Ctrl-C stops cleanly', async () => {
  const studio = await startStudio(example, 'rig.json');
  try {
    const changed = withAim(example, 'C', 20);
    assert.equal((await studio.request('PUT', '/api/scene', changed)).status, 200);
    const save = await studio.request('POST', '/api/save');
    assert.equal(save.status, 200);
    assert.equal(save.json.unsaved, false);
    assert.equal(fs.readFileSync(studio.scene, 'utf8').trim(), changed.trim());
    assert.equal(fs.readFileSync(studio.scene + '~', 'utf8'), example);
    assert.deepEqual(fs.readdirSync(studio.dir).sort(), ['rig.json', 'rig.json~']);
  } catch (e) {
    await studio.stop();
    throw e;
  }
  const { code } = await studio.stop();
  assert.equal(code, 0);
  assert.match(studio.output(), /Studio stopped/);
});
