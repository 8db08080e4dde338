// The page around the game: the settings form before play, the canvas scaled by whole factors
// to fit, full screen on the button or Alt+Enter, and the loading status.
"use strict";

const gameWidth = 640;
const gameHeight = 480;
const stage = document.getElementById("stage");
const canvas = document.getElementById("canvas");
const form = document.getElementById("settings");
const packList = document.getElementById("pack");
const soundBox = document.getElementById("sound");
const status = document.getElementById("status");

// The largest whole factor at which the game fits the stage (at least 1).
function fitCanvas() {
  const factor = Math.max(1, Math.floor(Math.min(stage.clientWidth / gameWidth,
                                                 stage.clientHeight / gameHeight)));
  canvas.style.width = gameWidth * factor + "px";
  canvas.style.height = gameHeight * factor + "px";
}

function toggleFullScreen() {
  if (document.fullscreenElement) {
    document.exitFullscreen();
  } else {
    stage.requestFullscreen().catch(() => { status.textContent = "Full screen refused"; });
  }
}

// Fills the form with the game's choices (the packs, the remembered settings) and shows it.
function showSettings() {
  const settings = JSON.parse(Module.ccall("mdx_web_settings", "string", [], []));
  packList.replaceChildren(...settings.packs.map((name) => new Option(name)));
  packList.selectedIndex = settings.pack;
  soundBox.checked = settings.sound;
  canvas.hidden = true;
  form.hidden = false;
  status.textContent = "";
  document.getElementById("play").focus();
}

form.addEventListener("submit", (event) => {
  event.preventDefault();
  form.hidden = true;
  canvas.hidden = false;
  // The click or key that pressed Play also lets the browser start the sound.
  const started = Module.ccall("mdx_web_play", "number", ["number", "number"],
                               [packList.selectedIndex, soundBox.checked ? 1 : 0]);
  if (!started) {
    status.textContent = "The game could not start (see the browser's console)";
    return;
  }
  fitCanvas();
  canvas.focus();
});

document.getElementById("fullscreen").addEventListener("click", () => {
  toggleFullScreen();
  canvas.focus();
});
window.addEventListener("keydown", (event) => {
  if (event.altKey && event.key === "Enter" && !event.repeat) toggleFullScreen();
});
window.addEventListener("resize", fitCanvas);
document.addEventListener("fullscreenchange", fitCanvas);

var Module = {
  canvas: canvas,
  setStatus: (text) => { status.textContent = text.replace(/\(\d+\/\d+\)/, ""); },
  onStorageReady: showSettings,
  onGameEnded: showSettings,
};
fitCanvas();
