// Compares screenshots of the game's 640 x 480 canvas with a golden frame of the desktop build,
// which is kept at half size: each screenshot is halved the same way (each 2 x 2 block averaged
// per channel). The title screen moves (the landscape turns, the parallax strips and the sun
// travel), and the golden frame shows it at other clock values than any moment of a real run.
// So the pixels that change between screenshots taken a while apart are left out as moving, and
// the still rest (the frame, the logo, the menu, the sky) must match the golden frame. The
// pictures are decoded by the browser itself.
"use strict";

// A pixel counts as different when a channel differs by more than this.
const kChannelTolerance = 48;
// The share of the still pixels allowed to differ from the golden frame.
// Measured: 2.5 to 5.7 % of the still pixels differ, where the golden frame's landscape (at
// another turn) has a house or a windmill over sky that stood still in the page, and in the
// anti-aliased edges WebGL draws a little differently from SDL's software renderer. The same
// frames with red and blue swapped differ in about 31 %.
const kDifferentShareAllowed = 0.1;
// The least share of the picture that must stand still: a picture that changes everywhere
// (noise, flicker) cannot pass by leaving everything out.
const kStillShareNeeded = 0.5;

// shots: PNG screenshots of the canvas taken a while apart; golden: the PNG golden frame.
// swapRedBlue compares the shots with their red and blue channels swapped instead, to show the
// comparison can tell a wrongly coloured frame.
async function compareWithGolden(page, shots, golden, swapRedBlue = false) {
  const counts = await page.evaluate(async (shotsBase64, goldenBase64, tolerance, swap) => {
    async function pixels(base64) {
      const image = new Image();
      image.src = "data:image/png;base64," + base64;
      await image.decode();
      const canvas = document.createElement("canvas");
      canvas.width = image.width;
      canvas.height = image.height;
      const context = canvas.getContext("2d");
      context.drawImage(image, 0, 0);
      return context.getImageData(0, 0, image.width, image.height);
    }
    // The channel of the halved shot at a golden pixel.
    function halved(shot, x, y, channel) {
      let sum = 0;
      for (const [dx, dy] of [[0, 0], [1, 0], [0, 1], [1, 1]]) {
        sum += shot.data[((2 * y + dy) * shot.width + 2 * x + dx) * 4 + channel];
      }
      return Math.floor((sum + 2) / 4);
    }
    function differ(a, b) {
      return [0, 1, 2].some((channel) => Math.abs(a(channel) - b(channel)) > tolerance);
    }
    const [shot, ...others] = await Promise.all(shotsBase64.map(pixels));
    for (const picture of swap ? [shot, ...others] : []) {
      const data = picture.data;
      for (let i = 0; i < data.length; i += 4) [data[i], data[i + 2]] = [data[i + 2], data[i]];
    }
    const gold = await pixels(goldenBase64);
    if (shot.width !== 2 * gold.width || shot.height !== 2 * gold.height) {
      return { size: `${shot.width} x ${shot.height} against ${gold.width} x ${gold.height}` };
    }
    let still = 0;
    let different = 0;
    for (let y = 0; y < gold.height; ++y) {
      for (let x = 0; x < gold.width; ++x) {
        const first = (channel) => halved(shot, x, y, channel);
        if (others.some((other) => differ(first, (channel) => halved(other, x, y, channel)))) continue;
        still += 1;
        if (differ(first, (channel) => gold.data[(y * gold.width + x) * 4 + channel])) different += 1;
      }
    }
    return { still, different, total: gold.width * gold.height };
  }, shots.map((shot) => shot.toString("base64")), golden.toString("base64"), kChannelTolerance,
  swapRedBlue);
  if (counts.size) return { ok: false, summary: `sizes differ: ${counts.size}` };
  const stillShare = counts.still / counts.total;
  const share = counts.still > 0 ? counts.different / counts.still : 1;
  return {
    ok: stillShare >= kStillShareNeeded && share <= kDifferentShareAllowed,
    summary: `${(100 * stillShare).toFixed(1)} % of the picture still (${100 * kStillShareNeeded} % ` +
      `needed), ${counts.different} still pixels (${(100 * share).toFixed(2)} %) differ by more ` +
      `than ${kChannelTolerance}, ${100 * kDifferentShareAllowed} % allowed`,
  };
}

module.exports = { compareWithGolden };
