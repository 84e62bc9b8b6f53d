// Starts `vistrel-rig serve` on a copy of a scene in a fresh folder, on a
// free loopback port, and talks to it over plain HTTP (any Host header).
'use strict';
const { spawn, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');

const RIG = process.env.VISTREL_RIG;
const SOURCE = process.env.VISTREL_SOURCE_DIR;
if (!RIG || !SOURCE) throw new Error('VISTREL_RIG and VISTREL_SOURCE_DIR must be set (ctest sets them)');
const EXAMPLE = path.join(SOURCE, 'examples', 'four-projectors.json');

async function startStudio(sceneText, name = 'scene.json') {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'studio-'));
  const scene = path.join(dir, name);
  fs.writeFileSync(scene, sceneText);
  const child = spawn(RIG, ['serve', name, '--port', '0'], { cwd: dir, stdio: ['ignore', 'pipe', 'pipe'] });
  let out = '', err = '';
  child.stderr.on('data', (d) => { err += d; });
  const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
  const port = await new Promise((resolve, reject) => {
    child.stdout.on('data', (d) => {
      out += d;
      const m = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(out);
      if (m) resolve(+m[1]);
    });
    exited.then(({ code }) => reject(new Error(`serve exited ${code}: ${err}`)));
  });
  return {
    dir, scene, port, url: `http://127.0.0.1:${port}/`, exited,
    output: () => out,
    request: (method, p, body, headers) => request(port, method, p, body, headers),
    async stop() {
      child.kill('SIGINT');
      const r = await exited;
      fs.rmSync(dir, { recursive: true, force: true });
      return r;
    },
  };
}

function request(port, method, p, body, headers = {}) {
  return new Promise((resolve, reject) => {
    const req = http.request({ host: '127.0.0.1', port, method, path: p,
      headers: { Host: `127.0.0.1:${port}`, ...(body !== undefined ? { 'Content-Length': Buffer.byteLength(body) } : {}),
        ...headers } }, (res) => {
      const chunks = [];
      res.on('data', (c) => chunks.push(c));
      res.on('end', () => {
        const text = Buffer.concat(chunks).toString();
        let json = null;
        try { json = JSON.parse(text); } catch (e) { /* not JSON */ }
        resolve({ status: res.statusCode, text, json, type: res.headers['content-type'] });
      });
    });
    req.on('error', reject);
    if (body !== undefined) req.write(body);
    req.end();
  });
}

// The command line on a scene file: exit status, stdout, stderr.
function runRig(args, cwd) {
  const r = spawnSync(RIG, args, { cwd, encoding: 'utf8' });
  return { status: r.status, out: r.stdout, err: r.stderr };
}

// A ring of `count` projectors side by side, each `step` degrees apart.
function ringScene(count) {
  const step = 360 / count;
  const fov = Math.min(56, Math.max(4, step * 1.4));
  const projectors = [];
  for (let i = 0; i < count; i++) {
    projectors.push({ name: `P${i + 1}`, aim: { angle: +(-180 + step * (i + 0.5)).toFixed(3), height: 1.4 },
      projection_angles: [0, 10], distance: 2.6, field_of_view: [fov, 36] });
  }
  return JSON.stringify({ screen: { radius: 4 },
    camera: { position: [0, 1.3, 0], aim: { angle: 0, height: 1.4 }, field_of_view: [90, 60] },
    projectors }, null, 2);
}

module.exports = { startStudio, request, runRig, ringScene, EXAMPLE, RIG };
