// The little the page itself must do for the program: hand DOM events to
// C++, put pixels on a canvas, and rasterize text.
Module['tkListen'] = function (element, type, id, capture) {
  element.addEventListener(type, function (event) { Module['tkEvent'](id, event); }, capture);
};

// Puts w x h RGBA pixels from the program's memory at (x, y) of the canvas.
Module['tkBlit'] = function (canvas, pointer, x, y, w, h) {
  var context = canvas.tkContext || (canvas.tkContext = canvas.getContext('2d'));
  var pixels = new Uint8ClampedArray(HEAPU8.buffer, pointer, w * h * 4);
  context.putImageData(new ImageData(pixels, w, h), x, y);
};

// Writes the text (its top-left corner at x, y) onto a scratch canvas of
// w x h pixels and marks, one byte a pixel at `mask`, every pixel it covers
// at least half. Returns how many pixels it marked.
Module['tkText'] = function (font, text, x, y, w, h, mask) {
  var canvas = Module.tkTextCanvas || (Module.tkTextCanvas = document.createElement('canvas'));
  if (canvas.width < w) canvas.width = w;
  if (canvas.height < h) canvas.height = h;
  var context = canvas.getContext('2d', { willReadFrequently: true });
  context.clearRect(0, 0, w, h);
  context.font = font;
  context.textBaseline = 'top';
  context.fillStyle = '#000';
  context.fillText(text, x, y);
  var data = context.getImageData(0, 0, w, h).data;
  var count = 0;
  for (var i = 0, n = w * h; i < n; ++i) {
    if (data[i * 4 + 3] >= 128) {
      HEAPU8[mask + i] = 1;
      ++count;
    }
  }
  return count;
};

// The program starts once the faces it writes with are ready, so that the
// first texts on its canvases are set in them.
Module['preRun'] = (Module['preRun'] || []).concat(function () {
  if (typeof document === 'undefined' || !document.fonts || !document.fonts.load) return;
  addRunDependency('tk-fonts');
  Promise.all(['16px "ＭＳ Ｐゴシック"', '16px "ＭＳ Ｐ明朝"', '16px "ＭＳ 明朝"', 'bold 21px "ＭＳ 明朝"'].map(function (face) {
    return document.fonts.load(face, 'あ０');
  })).catch(function () {}).then(function () { removeRunDependency('tk-fonts'); });
});
