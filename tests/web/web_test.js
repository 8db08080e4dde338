// Plays the web build in headless Chromium as a player would: the page loads without errors,
// the settings form's Play opens the title screen, whose picture matches the desktop's golden
// title frame, Space starts level 1, the solver's key presses win it, the sound mixes, and the
// reached level is still there after a reload. Prints one line per check and then
// "N passed, N failed"; the exit status is 1 when any check failed.
// Usage: node web_test.js SITE_DIR GOLDEN_TITLE_PNG LEVEL1_ACTIONS [OUT_DIR]
"use strict";

const fs = require("fs");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");
const { serveFolder } = require("./static_server");
const { compareWithGolden } = require("./picture_compare");

const [siteDir, goldenPath, level1Actions, outDir = os.tmpdir()] = process.argv.slice(2);
const chromiumFlags = [
  "--headless", "--no-sandbox", "--disable-gpu", "--enable-unsafe-swiftshader",
  "--autoplay-policy=no-user-gesture-required", "--disable-background-networking",
  "--disable-component-update", "--disable-sync", "--no-first-run",
];
// A person's key press: down, held for 60 ms, up.
const keyHoldMs = 60;

let passed = 0;
let failed = 0;
function check(name, ok, detail = "") {
  if (ok) passed += 1; else failed += 1;
  console.log(`${ok ? "PASS" : "FAIL"} ${name}${detail ? ": " + detail : ""}`);
  return ok;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The page with its console lines and uncaught errors collected.
async function openPage(browser, url, log) {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600, deviceScaleFactor: 1 });
  page.on("console", (message) => log.lines.push(message.text()));
  page.on("pageerror", (error) => log.errors.push(String(error)));
  await page.goto(url);
  return page;
}

// Waits until the log holds count lines matching pattern; false after limitMs.
async function waitForLine(log, pattern, limitMs = 20000, count = 1) {
  const until = Date.now() + limitMs;
  while (Date.now() < until) {
    if (log.lines.filter((line) => pattern.test(line)).length >= count) return true;
    await sleep(20);
  }
  return false;
}

async function press(page, key) {
  await page.keyboard.down(key);
  await sleep(keyHoldMs);
  await page.keyboard.up(key);
  // Long enough apart that a slow frame still sees the key up before the next press.
  await sleep(120);
}

// The form is shown once the program, its data and the browser's saved files are loaded.
async function playFromForm(page) {
  await page.waitForSelector("#settings:not([hidden])", { timeout: 60000 });
  await page.click("#play");
}

// The solver's actions as key presses: each l or r steers the falling piece one column, in
// order, while the piece falls on its own; a Down then drops it. Enough for a level of one
// piece (level 1); the robot's world steps (w) need no key.
async function playActions(page, actions) {
  const keys = { l: "ArrowLeft", r: "ArrowRight" };
  for (const action of actions) {
    if (keys[action]) await press(page, keys[action]);
  }
  await press(page, "ArrowDown");
}

async function firstVisit(browser, url, log) {
  const loadStart = Date.now();
  const page = await openPage(browser, url, log);
  await playFromForm(page);
  const formShownMs = Date.now() - loadStart;
  const playedAt = Date.now();
  check("Play opens the title screen", await waitForLine(log, /^state StateTitle level/));
  console.log(`time to the form: ${formShownMs} ms; from Play to the title: ${Date.now() - playedAt} ms`);
  await sleep(300);
  const canvas = await page.$("#canvas");
  const shots = [];
  for (let i = 0; i < 8; ++i) {
    if (i > 0) await sleep(500);
    shots.push(await canvas.screenshot({ path: path.join(outDir, `web-title-${i}.png`) }));
  }
  const golden = fs.readFileSync(goldenPath);
  const comparison = await compareWithGolden(page, shots, golden);
  check("the title matches the golden title frame", comparison.ok, comparison.summary);
  const swapped = await compareWithGolden(page, shots, golden, true);
  check("the comparison tells a frame with red and blue swapped", !swapped.ok, swapped.summary);

  await press(page, " ");
  check("Space starts level 1", await waitForLine(log, /^state StateReady level 1$/));
  await press(page, " ");
  check("the pieces of level 1 start falling", await waitForLine(log, /^state StateDropping level 1$/));
  await playActions(page, level1Actions);
  check("the solver's keys win level 1", await waitForLine(log, /^state StateReady level 2$/, 30000));
  check("the won level is kept in the browser",
        await waitForLine(log, /saved files kept in the browser/, 10000, 2));
  const mixed = await page.evaluate(() => Module.ccall("mdx_web_mixed_samples", "number", [], []));
  check("the mixer played sound", mixed > 0, `${mixed} non-silent sample values`);
  const frames = await page.evaluate(() => new Promise((resolve) => {
    const times = [];
    const step = (time) => { times.push(time); if (times.length < 121) requestAnimationFrame(step); else resolve(times); };
    requestAnimationFrame(step);
  }));
  console.log(`frame time: ${((frames[120] - frames[0]) / 120).toFixed(2)} ms over 120 frames`);
  return page;
}

async function secondVisit(page, log) {
  log.lines.length = 0;
  await page.reload();
  await playFromForm(page);
  check("after a reload the title opens again", await waitForLine(log, /^state StateTitle level/));
  await sleep(500);
  await press(page, " ");
  check("after a reload Space starts the level reached", await waitForLine(log, /^state StateReady level 2$/));
}

async function main() {
  const server = await serveFolder(siteDir);
  const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), "marvolen-web-"));
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    args: [...chromiumFlags, `--user-data-dir=${userDataDir}`],
  });
  const log = { lines: [], errors: [] };
  try {
    const page = await firstVisit(browser, server.url, log);
    await secondVisit(page, log);
  } catch (error) {
    check("the page could be played", false, String(error));
  } finally {
    check("no page errors", log.errors.length === 0, log.errors.join("; "));
    if (failed > 0) console.log("--- console ---\n" + log.lines.join("\n"));
    await browser.close();
    server.close();
    fs.rmSync(userDataDir, { recursive: true, force: true });
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exitCode = failed > 0 ? 1 : 0;
}

main();
